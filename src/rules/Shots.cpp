#include "rules/Shots.h"

#include "rules/BlockKind.h"
#include "rules/Field.h"
#include "rules/Neighbours.h"
#include "rules/StageGrid.h"

namespace {

// From the player's centre to the far side of the next cell, less a unit.
constexpr float Reach = 24.0f + 50.0f;

// True when the run from (x, y, z) on is closed by a White block; appends the
// cells of a closed run on the way back, the farthest first.
bool WalkRun(const StageGrid& grid, int x, int y, int z, Step step, std::vector<MapPosition>& cells)
{
    if (!Field::Inside(x, y, z))
        return false;
    const int kind = grid.CellAt(x, y, z);
    if (!BlockKind::TurnsOver(kind))
        return kind == BlockKind::White;
    if (!WalkRun(grid, x + step.dx, y, z + step.dz, step, cells))
        return false;
    cells.push_back({x, y, z});
    return true;
}

}  // namespace

MapPosition NextCell(const MapPosition& cell, int direction)
{
    switch (direction) {
    case Direction::PlusZ:
        return {cell.x, cell.y, cell.z + 1};
    case Direction::MinusZ:
        return {cell.x, cell.y, cell.z - 1};
    case Direction::MinusX:
        return {cell.x - 1, cell.y, cell.z};
    default:
        return {cell.x + 1, cell.y, cell.z};
    }
}

MapPosition LaunchCell(const Vector3& p, int facing)
{
    MapPosition cell = Field::CellOf(p);
    switch (facing) {
    case Direction::PlusZ:
        cell.z = Field::CellOf(p.z + Reach);
        break;
    case Direction::MinusZ:
        cell.z = Field::FloorCellOf(p.z - Reach);
        break;
    case Direction::MinusX:
        cell.x = Field::FloorCellOf(p.x - Reach);
        break;
    default:
        cell.x = Field::CellOf(p.x + Reach);
        break;
    }
    return cell;
}

bool CanLaunch(const StageGrid& grid, const MapPosition& cell)
{
    return Field::Inside(cell.x, cell.y, cell.z) && grid.CellAt(cell) == BlockKind::Empty;
}

MapPosition LandingCell(const StageGrid& grid, const MapPosition& launch, int direction)
{
    MapPosition cell = launch;
    for (MapPosition ahead = NextCell(cell, direction);
         Field::Inside(ahead.x, ahead.y, ahead.z) && grid.CellAt(ahead) == BlockKind::Empty;
         ahead = NextCell(cell, direction))
        cell = ahead;
    return cell;
}

std::vector<TurnedPiece> TurnOver(const StageGrid& grid, const MapPosition& landingCell)
{
    std::vector<TurnedPiece> turned;
    for (const MapPosition& cell : ClosedRuns(grid, landingCell))
        turned.push_back({grid.IndexAt(cell.x, cell.y, cell.z), cell, BlockKind::TurnedOver(grid.CellAt(cell))});
    return turned;
}

std::vector<MapPosition> ClosedRuns(const StageGrid& grid, const MapPosition& landingCell)
{
    std::vector<MapPosition> cells;
    if (!Field::Inside(landingCell.x, landingCell.y, landingCell.z))
        return cells;
    for (const Step step : Steps)
        WalkRun(grid, landingCell.x + step.dx, landingCell.y, landingCell.z + step.dz, step, cells);
    return cells;
}
