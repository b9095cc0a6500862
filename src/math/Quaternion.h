#pragma once

#include <glm/gtc/quaternion.hpp>

struct Matrix;

// A rotation. Built from and turned back into Matrix rotations.
using Quaternion = glm::quat;

// The rotation held in the upper 3 × 3 part of m (translation is ignored).
Quaternion QuaternionFromMatrix(const Matrix& m);
// Spherical interpolation along the shorter arc: t = 0 gives a, t = 1 gives b.
Quaternion Slerp(const Quaternion& a, const Quaternion& b, float t);
