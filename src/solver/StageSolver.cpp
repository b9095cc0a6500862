#include "solver/StageSolver.h"

#include <algorithm>
#include <chrono>

#include "rules/BlockKind.h"
#include "rules/BoardPosition.h"
#include "solver/PlayField.h"
#include "solver/PositionTable.h"

namespace {

// The Game's test after every turning over, for the player in cell.
bool Lost(const std::vector<Piece>& pieces, int cell, Solution& solution)
{
    switch (Judge({pieces, PlayField::CellAt(cell)}).loss) {
    case LossReason::WalledIn:
        solution.reason = "the player is walled in";
        return true;
    case LossReason::NoUsefulShot:
        solution.reason = "no shot can turn anything over";
        return true;
    default:
        return false;
    }
}

// The Game's own start: the constructor's test, then its first frame's.
bool LostAtStart(const std::vector<Piece>& pieces, Solution& solution)
{
    if (BlackBoxedIn({pieces, PlayField::CellAt(0)})) {
        solution.reason = "a black block has white blocks on all four sides";
        return true;
    }
    return Lost(pieces, 0, solution);
}

bool AllWhite(const std::vector<Piece>& pieces)
{
    return std::all_of(pieces.begin(), pieces.end(), [](const Piece& piece) { return piece.kind == BlockKind::White; });
}

// Shots fly on the player's layer only: nothing above it can be turned over.
bool OutOfReach(const std::vector<Piece>& pieces, Solution& solution)
{
    for (const Piece& piece : pieces) {
        if (piece.kind == BlockKind::White)
            continue;
        if (!BlockKind::TurnsOver(piece.kind)) {
            solution.reason = "the block at " + CellText(piece.cell) + " can never turn white";
            return true;
        }
        if (piece.cell.y != 0) {
            solution.reason = "the block at " + CellText(piece.cell) + " is above the bottom layer, out of reach";
            return true;
        }
    }
    return false;
}

// Why no sequence clears the stage, once every position it can reach (and
// play on from) has been seen: the first block that none of them has turned
// white, or failing that, the plain truth.
std::string UnsolvableReason(const std::vector<Piece>& pieces, const PlayField& field, const PositionTable& nodes)
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const int kind = pieces[i].kind;
        if (!BlockKind::TurnsOver(kind))
            continue;
        bool turnedWhite = false;
        bool turnedBlack = false;
        for (std::size_t node = 0; node < nodes.Size() && !turnedWhite; ++node) {
            const int reached = field.KindIn(nodes[node].position, i);
            turnedWhite = reached == BlockKind::White;
            turnedBlack = turnedBlack || reached == BlockKind::Black;
        }
        if (turnedWhite)
            continue;
        std::string reason = "no sequence of shots turns the ";
        reason += BlockKind::Name(kind);
        reason += " block at (";
        reason += std::to_string(pieces[i].cell.x);
        reason += ", ";
        reason += std::to_string(pieces[i].cell.z);
        reason += kind == BlockKind::Black ? ")" : turnedBlack ? ") twice" : ") at all";
        return reason;
    }
    return "no sequence of shots turns every block white";
}

// The shots that lead to node, replayed from the start (the player in
// startCell) for their walks and effects.
std::vector<SolutionShot> Replay(PlayField& field, const PositionTable& nodes, std::size_t node, int startCell)
{
    std::vector<const PositionTable::Node*> path;
    for (std::size_t at = node; nodes[at].parent >= 0; at = static_cast<std::size_t>(nodes[at].parent))
        path.push_back(&nodes[at]);
    std::reverse(path.begin(), path.end());

    std::vector<SolutionShot> shots;
    PlayField::Position position = field.Start(startCell);
    int cell = startCell;
    for (const PositionTable::Node* step : path) {
        field.Load(position, cell);
        SolutionShot shot;
        shot.walk = field.Walk(cell, step->from);
        const auto outcome = field.Fire(position, step->from, step->direction);
        shot.from = PlayField::CellAt(step->from);
        shot.direction = step->direction;
        shot.landing = outcome->landing;
        shot.turned = outcome->turned;
        shots.push_back(std::move(shot));
        position = outcome->next;
        cell = step->from;
    }
    return shots;
}

}  // namespace

std::string CellText(const MapPosition& cell)
{
    std::string text = "(";
    text += std::to_string(cell.x);
    text += ", ";
    text += std::to_string(cell.y);
    text += ", ";
    text += std::to_string(cell.z);
    text += ")";
    return text;
}

namespace {

Solution Finished(Solution solution, Solution::Verdict verdict, std::chrono::steady_clock::time_point started)
{
    solution.verdict = verdict;
    solution.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return solution;
}

}  // namespace

Solution StageSolver::Solve(const std::vector<Piece>& pieces, std::size_t stateLimit, std::stop_token stop,
                            std::size_t memoryBudget)
{
    const auto started = std::chrono::steady_clock::now();
    Solution solution;
    if (LostAtStart(pieces, solution))
        return Finished(std::move(solution), Solution::Verdict::LostAtStart, started);
    return Search(pieces, 0, {stateLimit, memoryBudget}, stop, std::move(solution), started);
}

Solution StageSolver::SolveFrom(const std::vector<Piece>& pieces, const MapPosition& player, std::size_t stateLimit,
                                std::stop_token stop, std::size_t memoryBudget)
{
    const auto started = std::chrono::steady_clock::now();
    Solution solution;
    const int cell = PlayField::IndexOf(player);
    if (Lost(pieces, cell, solution))
        return Finished(std::move(solution), Solution::Verdict::Unsolvable, started);
    return Search(pieces, cell, {stateLimit, memoryBudget}, stop, std::move(solution), started);
}

Solution StageSolver::Search(const std::vector<Piece>& pieces, int playerCell, Limits limits, std::stop_token stop,
                             Solution solution, std::chrono::steady_clock::time_point started)
{
    const auto finish = [&](Solution::Verdict verdict) { return Finished(std::move(solution), verdict, started); };
    if (OutOfReach(pieces, solution))
        return finish(Solution::Verdict::Unsolvable);

    PlayField field(pieces);
    PositionTable nodes(limits.bytes);
    const auto gaveUp = [&](std::string reason) {
        solution.statesVisited = nodes.Size();
        solution.reason = std::move(reason);
        return finish(Solution::Verdict::GaveUp);
    };
    if (nodes.Add({field.Pack(field.Start(playerCell))}) == PositionTable::Added::Full)
        return gaveUp(Solution::TooLargeToSearch);
    if (AllWhite(pieces)) {
        solution.statesVisited = 1;
        return finish(Solution::Verdict::Solved);
    }

    // Nodes are appended in the order they are found, so they are visited
    // breadth first: the first clear found is a shortest one.
    for (std::size_t next = 0; next < nodes.Size(); ++next) {
        if (stop.stop_requested())
            return gaveUp(StoppedReason);
        const PlayField::Position position = field.Unpack(nodes[next].position);
        field.Load(position, position.player);
        for (const PlayField::Successor& successor : field.Successors(position)) {
            const PositionTable::Node node{field.Pack(successor.next), static_cast<std::int32_t>(next),
                                           static_cast<std::uint8_t>(successor.from),
                                           static_cast<std::uint8_t>(successor.direction)};
            const PositionTable::Added added = nodes.Add(node);
            if (added == PositionTable::Added::Seen)
                continue;
            if (added == PositionTable::Added::Full)
                return gaveUp(Solution::TooLargeToSearch);
            if (successor.cleared) {
                solution.statesVisited = nodes.Size();
                solution.shots = Replay(field, nodes, nodes.Size() - 1, playerCell);
                return finish(Solution::Verdict::Solved);
            }
            if (nodes.Size() >= limits.positions)
                return gaveUp("no answer within " + std::to_string(limits.positions) + " positions");
        }
    }
    solution.statesVisited = nodes.Size();
    solution.reason = UnsolvableReason(pieces, field, nodes);
    return finish(Solution::Verdict::Unsolvable);
}
