#include "rules/BoardPosition.h"

#include <algorithm>

#include "rules/BlockKind.h"
#include "rules/StageGrid.h"
#include "rules/Targets.h"

namespace {

StageGrid GridOf(const BoardPosition& position)
{
    StageGrid grid;
    grid.Rebuild(position.pieces, position.player);
    return grid;
}

}  // namespace

Standing Judge(const BoardPosition& position)
{
    Standing standing;
    standing.cleared = std::all_of(position.pieces.begin(), position.pieces.end(),
                                   [](const Piece& piece) { return piece.kind == BlockKind::White; });
    if (standing.cleared)
        return standing;
    const StageGrid grid = GridOf(position);
    if (IsWalledIn(grid, position.player))
        standing.loss = LossReason::WalledIn;
    else if (!AnyUsefulTarget(grid, RebuildTargets(position.pieces, grid)))
        standing.loss = LossReason::NoUsefulShot;
    return standing;
}

bool BlackBoxedIn(const BoardPosition& position)
{
    bool boxedIn = false;
    InitialTargets(position.pieces, GridOf(position), boxedIn);
    return boxedIn;
}

ShotOutcome Shoot(const BoardPosition& position)
{
    ShotOutcome outcome;
    outcome.next = position;
    const StageGrid grid = GridOf(position);
    outcome.launch = LaunchCell(Field::Centre(position.player), position.facing);
    if (!CanLaunch(grid, outcome.launch)) {
        outcome.standing = Judge(position);
        return outcome;
    }
    outcome.fired = true;
    outcome.landing = LandingCell(grid, outcome.launch, position.facing);
    outcome.turned = TurnOver(grid, outcome.landing);
    ++outcome.next.shots;
    if (!outcome.turned.empty()) {
        for (const TurnedPiece& turned : outcome.turned)
            outcome.next.pieces[static_cast<std::size_t>(turned.index)].kind = turned.becomes;
        outcome.next.pieces.push_back({outcome.landing, BlockKind::White, false});
    }
    outcome.standing = Judge(outcome.next);
    return outcome;
}
