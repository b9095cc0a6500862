#include "math/Vector3.h"

#include <glm/geometric.hpp>

Vector3 Normalize(const Vector3& v)
{
    const float length = glm::length(v);
    return length > 0.0f ? v / length : v;
}
