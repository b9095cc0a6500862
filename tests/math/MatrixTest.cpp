#include <gtest/gtest.h>

#include <numbers>

#include "math/Matrix.h"

namespace {

constexpr float Tolerance = 1e-5f;
constexpr float HalfPi = std::numbers::pi_v<float> / 2;

void ExpectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, Tolerance) << "x";
    EXPECT_NEAR(actual.y, expected.y, Tolerance) << "y";
    EXPECT_NEAR(actual.z, expected.z, Tolerance) << "z";
}

void ExpectNear(const Matrix& actual, const Matrix& expected)
{
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col)
            EXPECT_NEAR(actual(row, col), expected(row, col), Tolerance) << "element " << row << "," << col;
    }
}

TEST(Matrix, TranslationSitsInRowThreeOfTheRowMajorLayout)
{
    const Matrix m = Matrix::Translation(1, 2, 3);
    EXPECT_EQ(m(3, 0), 1);
    EXPECT_EQ(m(3, 2), 3);
    EXPECT_EQ(m.Data()[12], 1) << "row-major memory: element (3, 0) is the 13th float";
    EXPECT_EQ(m.Data()[14], 3);
}

TEST(Matrix, ProductAppliesTheLeftMatrixFirst)
{
    const Matrix moveThenTurn = Matrix::Translation(1, 0, 0) * Matrix::RotationZ(HalfPi);
    ExpectNear(TransformCoord({0, 0, 0}, moveThenTurn), {0, 1, 0});
    const Matrix turnThenMove = Matrix::RotationZ(HalfPi) * Matrix::Translation(1, 0, 0);
    ExpectNear(TransformCoord({0, 0, 0}, turnThenMove), {1, 0, 0});
}

TEST(Matrix, SingleAxisRotationsTurnByTheLeftHandedRule)
{
    ExpectNear(TransformCoord({0, 1, 0}, Matrix::RotationX(HalfPi)), {0, 0, 1});
    ExpectNear(TransformCoord({0, 0, 1}, Matrix::RotationY(HalfPi)), {1, 0, 0});
    ExpectNear(TransformCoord({1, 0, 0}, Matrix::RotationZ(HalfPi)), {0, 1, 0});
}

TEST(Matrix, YawPitchRollRollsFirstThenPitchesThenYaws)
{
    // Pitch before yaw: +z pitches down to -y, which the yaw leaves alone.
    ExpectNear(TransformCoord({0, 0, 1}, Matrix::RotationYawPitchRoll(HalfPi, HalfPi, 0)), {0, -1, 0});
    // Roll before yaw: +x rolls up to +y, which the yaw leaves alone.
    ExpectNear(TransformCoord({1, 0, 0}, Matrix::RotationYawPitchRoll(HalfPi, 0, HalfPi)), {0, 1, 0});
    ExpectNear(Matrix::RotationYawPitchRoll(0.3f, 0.5f, 0.7f),
               Matrix::RotationZ(0.7f) * Matrix::RotationX(0.5f) * Matrix::RotationY(0.3f));
}

TEST(Matrix, InverseUndoesTheMatrix)
{
    ExpectNear(Matrix::Inverse(Matrix::Translation(1, 2, 3)), Matrix::Translation(-1, -2, -3));
    const Matrix m = Matrix::Scaling(2, 3, 4) * Matrix::RotationYawPitchRoll(0.3f, 0.2f, 0.1f) *
                     Matrix::Translation(5, -6, 7);
    ExpectNear(m * Matrix::Inverse(m), Matrix::Identity());
}

TEST(Matrix, LookAtPutsTheEyeAtTheOriginLookingAlongPlusZ)
{
    const Matrix view = Matrix::LookAtLH({0, 0, -10}, {0, 0, 0}, {0, 1, 0});
    ExpectNear(TransformCoord({0, 0, -10}, view), {0, 0, 0});
    ExpectNear(TransformCoord({0, 0, 0}, view), {0, 0, 10});
    // Left-handed: +x stays to the right and +y up.
    ExpectNear(TransformCoord({1, 2, 0}, view), {1, 2, 10});

    const Matrix fromSide = Matrix::LookAtLH({10, 0, 0}, {0, 0, 0}, {0, 1, 0});
    ExpectNear(TransformCoord({0, 0, 0}, fromSide), {0, 0, 10});
    ExpectNear(TransformCoord({0, 0, 1}, fromSide), {1, 0, 10});
}

TEST(Matrix, PerspectiveMapsDepthFromZeroAtNearToOneAtFar)
{
    // fovY 90°, aspect 2: y scale 1, x scale 0.5, z scale 11 / 10.
    const Matrix p = Matrix::PerspectiveFovLH(HalfPi, 2.0f, 1.0f, 11.0f);
    EXPECT_NEAR(p(0, 0), 0.5f, Tolerance);
    EXPECT_NEAR(p(1, 1), 1.0f, Tolerance);
    EXPECT_NEAR(p(2, 2), 1.1f, Tolerance);
    EXPECT_NEAR(p(2, 3), 1.0f, Tolerance);
    EXPECT_NEAR(p(3, 2), -1.1f, Tolerance);
    EXPECT_NEAR(p(3, 3), 0.0f, Tolerance);
    EXPECT_NEAR(TransformCoord({0, 0, 1}, p).z, 0.0f, Tolerance);
    EXPECT_NEAR(TransformCoord({0, 0, 11}, p).z, 1.0f, Tolerance);
    ExpectNear(TransformCoord({2, 1, 2}, p), {0.5f, 0.5f, 0.55f});
}

TEST(Matrix, TransformNormalIgnoresTranslation)
{
    const Matrix m = Matrix::RotationZ(HalfPi) * Matrix::Translation(5, 5, 5);
    ExpectNear(TransformNormal({1, 0, 0}, m), {0, 1, 0});
    ExpectNear(Normalize({0, 2, 0}), {0, 1, 0});
    ExpectNear(Normalize({0, 0, 0}), {0, 0, 0});
}

TEST(Quaternion, SlerpHalfwayIsHalfTheRotation)
{
    const Quaternion from = QuaternionFromMatrix(Matrix::Identity());
    const Quaternion to = QuaternionFromMatrix(Matrix::RotationY(HalfPi));
    ExpectNear(Matrix::RotationQuaternion(Slerp(from, to, 0.5f)), Matrix::RotationY(HalfPi / 2));
    ExpectNear(Matrix::RotationQuaternion(Slerp(from, to, 1.0f)), Matrix::RotationY(HalfPi));
}

TEST(Quaternion, MatrixRoundTripIgnoresTranslation)
{
    const Matrix rotation = Matrix::RotationYawPitchRoll(0.4f, -0.3f, 1.2f);
    const Matrix placed = rotation * Matrix::Translation(3, 4, 5);
    ExpectNear(Matrix::RotationQuaternion(QuaternionFromMatrix(placed)), rotation);
}

}  // namespace
