#include "rules/Targets.h"

#include <algorithm>
#include <iterator>

#include "rules/BlockKind.h"
#include "rules/Field.h"
#include "rules/Neighbours.h"
#include "rules/StageGrid.h"

namespace {

bool IsFree(int kind)
{
    return kind == BlockKind::Empty || kind == BlockKind::PlayerCell;
}

bool ClosesRun(const StageGrid& grid, const MapPosition& cell, Step step)
{
    int x = cell.x + step.dx;
    int z = cell.z + step.dz;
    if (!Field::Inside(x, cell.y, z) || !BlockKind::TurnsOver(grid.CellAt(x, cell.y, z)))
        return false;
    while (Field::Inside(x, cell.y, z) && BlockKind::TurnsOver(grid.CellAt(x, cell.y, z))) {
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

bool HasMove(const StageGrid& grid, const MapPosition& player, const std::vector<MapPosition>& targets)
{
    return !IsWalledIn(grid, player) && AnyUsefulTarget(grid, targets);
}

bool IsWalledIn(const StageGrid& grid, const MapPosition& player)
{
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

std::vector<MapPosition> RebuildTargets(std::span<const Piece> pieces, const StageGrid& grid)
{
    std::vector<MapPosition> targets;
    for (const Piece& piece : pieces) {
        if (BlockKind::TurnsOver(piece.kind))
            AddFreeNeighbours(grid, piece.cell, targets);
    }
    SortAndThin(targets);
    return targets;
}

std::vector<MapPosition> InitialTargets(std::span<const Piece> pieces, const StageGrid& grid, bool& unwinnable)
{
    std::vector<MapPosition> targets;
    unwinnable = false;
    for (const Piece& piece : pieces) {
        if (piece.kind == BlockKind::Black && AddFreeNeighbours(grid, piece.cell, targets) == 4)
            unwinnable = true;
    }
    SortAndThin(targets);
    return targets;
}
