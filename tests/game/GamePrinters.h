#pragma once

#include <ostream>

#include "game/Block.h"
#include "math/Vector3.h"

// Readable failure messages for the game's value types.
namespace glm {
inline void PrintTo(const vec3& v, std::ostream* out)
{
    *out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
}  // namespace glm

inline void PrintTo(const MapPosition& cell, std::ostream* out)
{
    *out << "cell (" << cell.x << ", " << cell.y << ", " << cell.z << ")";
}
