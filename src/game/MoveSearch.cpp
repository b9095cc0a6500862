#include "game/MoveSearch.h"

#include <algorithm>

#include "game/FieldGeometry.h"
#include "game/FlightState.h"
#include "game/Reverse.h"
#include "game/StageGrid.h"

namespace {

struct Step {
    int dx;
    int dz;
};

// +x, -x, +z, -z: the order of every neighbourhood search.
constexpr Step Steps[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

bool IsFree(int kind)
{
    return kind == BlockKind::Empty || kind == BlockKind::PlayerCell;
}

// True when the run from (x, y, z) on is closed by a White block; appends the
// cells of a closed run on the way back, the farthest first.
bool WalkRun(const StageGrid& grid, int x, int y, int z, Step step, std::vector<MapPosition>& cells)
{
    if (!Field::Inside(x, y, z))
        return false;
    const int kind = grid.CellAt(x, y, z);
    if (kind < BlockKind::Black)
        return kind == BlockKind::White;
    if (!WalkRun(grid, x + step.dx, y, z + step.dz, step, cells))
        return false;
    cells.push_back({x, y, z});
    return true;
}

bool ClosesRun(const StageGrid& grid, const MapPosition& cell, Step step)
{
    int x = cell.x + step.dx;
    int z = cell.z + step.dz;
    if (!Field::Inside(x, cell.y, z) || grid.CellAt(x, cell.y, z) < BlockKind::Black)
        return false;
    while (Field::Inside(x, cell.y, z) && grid.CellAt(x, cell.y, z) >= BlockKind::Black) {
        x += step.dx;
        z += step.dz;
    }
    return Field::Inside(x, cell.y, z) && grid.CellAt(x, cell.y, z) == BlockKind::White;
}

void SortAndThin(std::vector<MapPosition>& targets)
{
    std::sort(targets.begin(), targets.end(), [](const MapPosition& a, const MapPosition& b) { return a.x < b.x; });
    std::sort(targets.begin(), targets.end(), [](const MapPosition& a, const MapPosition& b) { return a.z < b.z; });
    // The thinning steps past the entry after each erase, so a run of three
    // equal columns keeps two: harmless, since only "any useful" is asked.
    for (std::size_t i = 1; i < targets.size(); ++i) {
        if (targets[i - 1].x == targets[i].x && targets[i - 1].z == targets[i].z)
            targets.erase(targets.begin() + static_cast<std::ptrdiff_t>(i - 1));
    }
}

// Appends the free neighbours of cell; returns how many neighbours are White.
int AddFreeNeighbours(const StageGrid& grid, const MapPosition& cell, std::vector<MapPosition>& targets)
{
    int whites = 0;
    for (const Step step : Steps) {
        const MapPosition next{cell.x + step.dx, cell.y, cell.z + step.dz};
        if (!Field::Inside(next.x, next.y, next.z))
            continue;
        const int kind = grid.CellAt(next);
        if (IsFree(kind))
            targets.push_back(next);
        else if (kind == BlockKind::White)
            ++whites;
    }
    return whites;
}

}  // namespace

std::vector<MapPosition> ClosedRuns(const StageGrid& grid, const MapPosition& landingCell)
{
    std::vector<MapPosition> cells;
    if (!Field::Inside(landingCell.x, landingCell.y, landingCell.z))
        return cells;
    for (const Step step : Steps)
        WalkRun(grid, landingCell.x + step.dx, landingCell.y, landingCell.z + step.dz, step, cells);
    return cells;
}

bool FindReversals(const StageGrid& grid, const BlockList& blocks, const MapPosition& landingCell, Reverse& reverse)
{
    const std::vector<MapPosition> cells = ClosedRuns(grid, landingCell);
    // A Bursting block belongs to its run but has nothing to turn over.
    for (const MapPosition& cell : cells) {
        const int index = grid.IndexAt(cell.x, cell.y, cell.z);
        if (index < 0 || index >= static_cast<int>(blocks.size()))
            continue;
        const std::shared_ptr<Block>& block = blocks[static_cast<std::size_t>(index)];
        if (block->kind == BlockKind::Black || block->kind == BlockKind::HardBlack)
            reverse.Add(block);
    }
    if (!cells.empty())
        FlightState::Instance().reversalFound = true;
    return !cells.empty();
}

bool IsUsefulTarget(const StageGrid& grid, const MapPosition& cell)
{
    if (!Field::Inside(cell.x, cell.y, cell.z))
        return false;
    const bool freeNeighbour = std::any_of(std::begin(Steps), std::end(Steps), [&](Step step) {
        const int x = cell.x + step.dx;
        const int z = cell.z + step.dz;
        return Field::Inside(x, cell.y, z) && IsFree(grid.CellAt(x, cell.y, z));
    });
    if (!freeNeighbour)
        return false;
    return std::any_of(std::begin(Steps), std::end(Steps), [&](Step step) { return ClosesRun(grid, cell, step); });
}

bool HasMove(const StageGrid& grid, const Vector3& playerPosition, const std::vector<MapPosition>& targets)
{
    return !IsWalledIn(grid, playerPosition) && AnyUsefulTarget(grid, targets);
}

bool IsWalledIn(const StageGrid& grid, const Vector3& playerPosition)
{
    const MapPosition player{Field::CellOf(playerPosition.x), Field::CellOf(playerPosition.y),
                             Field::CellOf(playerPosition.z)};
    return std::none_of(std::begin(Steps), std::end(Steps), [&](Step step) {
        const int x = player.x + step.dx;
        const int z = player.z + step.dz;
        return Field::Inside(x, player.y, z) && grid.CellAt(x, player.y, z) == BlockKind::Empty;
    });
}

bool AnyUsefulTarget(const StageGrid& grid, const std::vector<MapPosition>& targets)
{
    return std::any_of(targets.begin(), targets.end(),
                       [&](const MapPosition& target) { return IsUsefulTarget(grid, target); });
}

std::vector<MapPosition> RebuildTargets(const BlockList& blocks, const StageGrid& grid)
{
    std::vector<MapPosition> targets;
    for (const auto& block : blocks) {
        if (block->kind >= BlockKind::Black)
            AddFreeNeighbours(grid, block->mapCell, targets);
    }
    SortAndThin(targets);
    return targets;
}

std::vector<MapPosition> InitialTargets(const BlockList& blocks, const StageGrid& grid, bool& unwinnable)
{
    std::vector<MapPosition> targets;
    unwinnable = false;
    for (const auto& block : blocks) {
        if (block->kind == BlockKind::Black && AddFreeNeighbours(grid, block->mapCell, targets) == 4)
            unwinnable = true;
    }
    SortAndThin(targets);
    return targets;
}
