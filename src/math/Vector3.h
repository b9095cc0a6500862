#pragma once

#include <glm/vec3.hpp>

// Three floats: a point, a direction or a size. Component-wise arithmetic.
using Vector3 = glm::vec3;

// The unit vector along v; the zero vector stays zero.
Vector3 Normalize(const Vector3& v);
