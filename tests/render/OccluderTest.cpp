#include <gtest/gtest.h>

#include <numbers>

#include "render/Occluder.h"

namespace {

// A 500-unit cube at the origin seen from 1,000 in front of it, and a
// 50-unit block standing on one of its faces.
const Vector3 CubeLow(-250.0f);
const Vector3 CubeHigh(250.0f);
const Vector3 BlockLow(-25.0f);
const Vector3 BlockHigh(25.0f);
const Vector3 Eye(0.0f, 0.0f, -1000.0f);

Matrix At(float x, float y, float z) { return Matrix::Translation(x, y, z); }

TEST(Occluder, HidesABlockOnTheFarFaceAndNothingOnTheNearOne)
{
    const Occluder cube(Matrix::Identity(), CubeLow, CubeHigh);
    EXPECT_TRUE(cube.Hides(Eye, At(0, 0, 275), BlockLow, BlockHigh));
    // The far face's shadow widens with distance: at the edge it still hides.
    EXPECT_TRUE(cube.Hides(Eye, At(225, 225, 275), BlockLow, BlockHigh));
    EXPECT_FALSE(cube.Hides(Eye, At(0, 0, -275), BlockLow, BlockHigh));
}

TEST(Occluder, ABlockPokingPastTheSilhouetteOrBesideTheCubeIsSeen)
{
    const Occluder cube(Matrix::Identity(), CubeLow, CubeHigh);
    // On a side face turned away from the eye: in the middle it is hidden,
    // by the near edge it sticks out beside the cube.
    EXPECT_TRUE(cube.Hides(Eye, At(275, 0, 0), BlockLow, BlockHigh));
    EXPECT_FALSE(cube.Hides(Eye, At(275, 0, -225), BlockLow, BlockHigh));
    // Behind the cube but far enough out to clear its shadow.
    EXPECT_FALSE(cube.Hides(Eye, At(420, 0, 275), BlockLow, BlockHigh));
    // Lying on the near face: touching is not hiding.
    EXPECT_FALSE(cube.Hides(Eye, At(0, 0, -250), Vector3(-25.0f, -25.0f, -0.0f), Vector3(25.0f, 25.0f, 0.0f)));
}

TEST(Occluder, FollowsItsWorldMatrixAndHidesNothingFromInside)
{
    const Occluder moved(Matrix::RotationY(std::numbers::pi_v<float> / 4) * At(0, 0, 1000), CubeLow, CubeHigh);
    EXPECT_FALSE(moved.Hides(Eye, At(0, 0, 275), BlockLow, BlockHigh));
    EXPECT_TRUE(moved.Hides(Eye, At(0, 0, 1400), BlockLow, BlockHigh));

    const Occluder around(Matrix::Identity(), Vector3(-2000.0f), Vector3(2000.0f));
    EXPECT_FALSE(around.Hides(Eye, At(0, 0, 275), BlockLow, BlockHigh));
}

}  // namespace
