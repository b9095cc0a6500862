#pragma once

#include <cstdint>

#include "math/Vector3.h"

// An untransformed vertex with a colour: the fixed-function layout of the
// shards and the editor's tiles.
struct ColorVertex {
    Vector3 position;
    std::uint32_t argb = 0xFFFFFFFF;
    float u = 0;
    float v = 0;
};
