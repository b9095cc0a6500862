#include "solver/DeadEnds.h"

#include <set>
#include <utility>

#include "rules/BlockKind.h"
#include "solver/PlayField.h"

namespace {

constexpr int Directions = 4;

// The board after a shot: the stage's pieces in their new kinds, then the shots that stayed.
std::vector<Piece> PiecesAfter(const std::vector<Piece>& pieces, const PlayField::Position& next)
{
    std::vector<Piece> after = pieces;
    for (std::size_t i = 0; i < after.size(); ++i)
        after[i].kind = next.kinds[i];
    for (int cell = 0; cell < PlayField::Cells; ++cell) {
        if (next.shots[static_cast<std::size_t>(cell)])
            after.push_back({PlayField::CellAt(cell), BlockKind::White, false});
    }
    return after;
}

}  // namespace

std::vector<SolutionShot> DeadEndFirstShots(const std::vector<Piece>& pieces, std::size_t stateLimit)
{
    std::vector<SolutionShot> traps;
    PlayField field(pieces);
    const PlayField::Position start = field.Start();
    // Shots that land in one cell from one region leave the same position.
    std::set<std::pair<int, int>> seen;
    for (const int cell : field.Region(start.player)) {
        for (int direction = 0; direction < Directions; ++direction) {
            const auto outcome = field.Fire(start, cell, direction);
            if (!outcome || outcome->turned == 0 || outcome->lost || outcome->cleared ||
                !seen.emplace(PlayField::IndexOf(outcome->landing), outcome->next.player).second)
                continue;
            const Solution after =
                StageSolver::SolveFrom(PiecesAfter(pieces, outcome->next), PlayField::CellAt(cell), stateLimit);
            if (after.verdict != Solution::Verdict::Unsolvable)
                continue;
            traps.push_back({field.Walk(0, cell), PlayField::CellAt(cell), direction, outcome->landing, outcome->turned});
        }
    }
    return traps;
}
