#pragma once

#include <ostream>

#include "math/Vector3.h"
#include "rules/RulePrinters.h"

// Readable failure messages for the game's value types.
namespace glm {
inline void PrintTo(const vec3& v, std::ostream* out)
{
    *out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
}  // namespace glm

