#pragma once

#include <cmath>

#include "math/Vector3.h"
#include "rules/MapPosition.h"

// The play field is 10 × 10 × 10 cells of 50 world units; cell k has its
// centre at 50·k + 25 on every axis.
namespace Field {
constexpr int Cells = 10;
constexpr float CellSize = 50.0f;
constexpr float HalfCell = 25.0f;

inline bool Inside(int x, int y, int z)
{
    return x >= 0 && x < Cells && y >= 0 && y < Cells && z >= 0 && z < Cells;
}

inline float Centre(int cell)
{
    return CellSize * static_cast<float>(cell) + HalfCell;
}

// The cell of a coordinate as the grid counts it: int(v) / 50, toward zero.
inline int CellOf(float v)
{
    return static_cast<int>(v) / 50;
}

// The cell of a coordinate rounded down, for tests that may look below 0.
inline int FloorCellOf(float v)
{
    return static_cast<int>(std::floor(v / CellSize));
}

// The cell a position lies in, as the grid counts it.
inline MapPosition CellOf(const Vector3& position)
{
    return {CellOf(position.x), CellOf(position.y), CellOf(position.z)};
}

inline Vector3 Centre(const MapPosition& cell)
{
    return {Centre(cell.x), Centre(cell.y), Centre(cell.z)};
}
}  // namespace Field

// Directions on the field, as the player faces and a shot flies.
namespace Direction {
constexpr int PlusZ = 0;
constexpr int MinusZ = 1;
constexpr int MinusX = 2;
constexpr int PlusX = 3;
}  // namespace Direction
