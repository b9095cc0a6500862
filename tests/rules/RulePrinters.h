#pragma once

#include <ostream>

#include "rules/MapPosition.h"

// Readable failure messages for a cell.
inline void PrintTo(const MapPosition& cell, std::ostream* out)
{
    *out << "cell (" << cell.x << ", " << cell.y << ", " << cell.z << ")";
}
