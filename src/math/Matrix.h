#pragma once

#include <glm/mat4x4.hpp>

#include "math/Quaternion.h"
#include "math/Vector3.h"

// A 4 × 4 float matrix in the row-vector, left-handed convention the game's
// formulas are written in: a point is a row vector multiplied on the left, the
// translation is row 3, and A * B applies A first.
//
// It is stored in GLM's column-major type as its transpose. That is the same
// memory as the row-major row-vector form, so element (row, col) is g[row][col]
// and the matrix can be handed to a shader as it is.
struct Matrix {
    glm::mat4 g{1.0f};

    float& operator()(int row, int col) { return g[row][col]; }
    float operator()(int row, int col) const { return g[row][col]; }
    const float* Data() const { return &g[0][0]; }

    // Row 3: where the origin goes.
    Vector3 TranslationRow() const { return {g[3][0], g[3][1], g[3][2]}; }
    void SetTranslationRow(const Vector3& t);

    static Matrix Identity() { return {}; }
    static Matrix Translation(float x, float y, float z);
    static Matrix Translation(const Vector3& t) { return Translation(t.x, t.y, t.z); }
    static Matrix Scaling(float x, float y, float z);
    // Rotations by radians; positive angles turn y toward z, z toward x and x
    // toward y respectively, as seen in a left-handed frame.
    static Matrix RotationX(float radians);
    static Matrix RotationY(float radians);
    static Matrix RotationZ(float radians);
    // Roll about z first, then pitch about x, then yaw about y.
    static Matrix RotationYawPitchRoll(float yaw, float pitch, float roll);
    static Matrix RotationQuaternion(const Quaternion& q);
    static Matrix Inverse(const Matrix& m);
    // View matrix looking from eye toward at, left-handed.
    static Matrix LookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up);
    // Projection with a vertical field of view; depth runs 0 at the near plane to 1 at the far plane.
    static Matrix PerspectiveFovLH(float fieldOfViewY, float aspect, float nearPlane, float farPlane);

    friend bool operator==(const Matrix&, const Matrix&) = default;
};

// The matrix that applies a, then b.
Matrix operator*(const Matrix& a, const Matrix& b);

// p as a point (w = 1), divided by the resulting w.
Vector3 TransformCoord(const Vector3& p, const Matrix& m);
// v as a direction: rotation and scale only, no translation.
Vector3 TransformNormal(const Vector3& v, const Matrix& m);
