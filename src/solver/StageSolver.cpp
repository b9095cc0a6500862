#include "solver/StageSolver.h"

#include <algorithm>
#include <chrono>
#include <unordered_map>

#include "rules/BlockKind.h"
#include "rules/StageGrid.h"
#include "rules/Targets.h"
#include "solver/PlayField.h"

namespace {

bool AllWhite(const std::vector<Piece>& pieces)
{
    return std::all_of(pieces.begin(), pieces.end(), [](const Piece& piece) { return piece.kind == BlockKind::White; });
}

// The Game's test after every turning over, for the player in cell.
bool Lost(const std::vector<Piece>& pieces, int cell, Solution& solution)
{
    if (AllWhite(pieces))
        return false;
    StageGrid grid;
    grid.Rebuild(pieces, PlayField::CellAt(cell));
    if (IsWalledIn(grid, PlayField::CellAt(cell))) {
        solution.reason = "the player is walled in";
        return true;
    }
    if (!AnyUsefulTarget(grid, RebuildTargets(pieces, grid))) {
        solution.reason = "no shot can turn anything over";
        return true;
    }
    return false;
}

// The Game's own start: the constructor's test, then its first frame's.
bool LostAtStart(const std::vector<Piece>& pieces, Solution& solution)
{
    StageGrid grid;
    grid.Rebuild(pieces, PlayField::CellAt(0));
    bool unwinnable = false;
    InitialTargets(pieces, grid, unwinnable);
    if (unwinnable) {
        solution.reason = "a black block has white blocks on all four sides";
        return true;
    }
    return Lost(pieces, 0, solution);
}

// Shots fly on the player's layer only: nothing above it can be turned over.
bool OutOfReach(const std::vector<Piece>& pieces, Solution& solution)
{
    for (const Piece& piece : pieces) {
        if (piece.kind == BlockKind::White)
            continue;
        if (piece.kind != BlockKind::Black && piece.kind != BlockKind::HardBlack) {
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

struct Node {
    PlayField::Position position;
    int parent = -1;
    int from = 0;
    int direction = 0;
};

// Why no sequence clears the stage, once every position it can reach (and
// play on from) has been seen: the first block that none of them has turned
// white, or failing that, the plain truth.
std::string UnsolvableReason(const std::vector<Piece>& pieces, const std::vector<Node>& nodes)
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const int kind = pieces[i].kind;
        if (kind != BlockKind::Black && kind != BlockKind::HardBlack)
            continue;
        int least = kind;
        for (const Node& node : nodes)
            least = std::min(least, static_cast<int>(node.position.kinds[i]));
        if (least == BlockKind::White)
            continue;
        std::string reason = "no sequence of shots turns the ";
        reason += kind == BlockKind::Black ? "black" : "armoured";
        reason += " block at (";
        reason += std::to_string(pieces[i].cell.x);
        reason += ", ";
        reason += std::to_string(pieces[i].cell.z);
        reason += kind == BlockKind::Black ? ")" : least == BlockKind::Black ? ") twice" : ") at all";
        return reason;
    }
    return "no sequence of shots turns every block white";
}

// The shots that lead to node, replayed from the start (the player in
// startCell) for their walks and effects.
std::vector<SolutionShot> Replay(PlayField& field, const std::vector<Node>& nodes, int node, int startCell)
{
    std::vector<const Node*> path;
    for (int at = node; nodes[static_cast<std::size_t>(at)].parent >= 0; at = nodes[static_cast<std::size_t>(at)].parent)
        path.push_back(&nodes[static_cast<std::size_t>(at)]);
    std::reverse(path.begin(), path.end());

    std::vector<SolutionShot> shots;
    PlayField::Position position = field.Start(startCell);
    int cell = startCell;
    for (const Node* step : path) {
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

Solution StageSolver::Solve(const std::vector<Piece>& pieces, std::size_t stateLimit, std::stop_token stop)
{
    const auto started = std::chrono::steady_clock::now();
    Solution solution;
    if (LostAtStart(pieces, solution))
        return Finished(std::move(solution), Solution::Verdict::LostAtStart, started);
    return Search(pieces, 0, stateLimit, stop, std::move(solution), started);
}

Solution StageSolver::SolveFrom(const std::vector<Piece>& pieces, const MapPosition& player, std::size_t stateLimit,
                                std::stop_token stop)
{
    const auto started = std::chrono::steady_clock::now();
    Solution solution;
    const int cell = PlayField::IndexOf(player);
    if (Lost(pieces, cell, solution))
        return Finished(std::move(solution), Solution::Verdict::Unsolvable, started);
    return Search(pieces, cell, stateLimit, stop, std::move(solution), started);
}

Solution StageSolver::Search(const std::vector<Piece>& pieces, int playerCell, std::size_t stateLimit,
                             std::stop_token stop, Solution solution, std::chrono::steady_clock::time_point started)
{
    const auto finish = [&](Solution::Verdict verdict) { return Finished(std::move(solution), verdict, started); };
    if (OutOfReach(pieces, solution))
        return finish(Solution::Verdict::Unsolvable);

    PlayField field(pieces);
    std::vector<Node> nodes;
    nodes.push_back({field.Start(playerCell)});
    std::unordered_map<std::string, int> seen{{nodes[0].position.Key(), 0}};
    if (AllWhite(pieces)) {
        solution.statesVisited = 1;
        return finish(Solution::Verdict::Solved);
    }

    // Nodes are appended in the order they are found, so they are visited
    // breadth first: the first clear found is a shortest one.
    for (std::size_t next = 0; next < nodes.size(); ++next) {
        if (stop.stop_requested()) {
            solution.statesVisited = nodes.size();
            solution.reason = "stopped";
            return finish(Solution::Verdict::GaveUp);
        }
        const PlayField::Position position = nodes[next].position;
        field.Load(position, position.player);
        for (PlayField::Successor& successor : field.Successors(position)) {
            std::string key = successor.next.Key();
            if (seen.count(key))
                continue;
            seen.emplace(std::move(key), static_cast<int>(nodes.size()));
            nodes.push_back({std::move(successor.next), static_cast<int>(next), successor.from, successor.direction});
            if (successor.cleared) {
                solution.statesVisited = nodes.size();
                solution.shots = Replay(field, nodes, static_cast<int>(nodes.size()) - 1, playerCell);
                return finish(Solution::Verdict::Solved);
            }
            if (nodes.size() >= stateLimit) {
                solution.statesVisited = nodes.size();
                solution.reason = "no answer within " + std::to_string(stateLimit) + " positions";
                return finish(Solution::Verdict::GaveUp);
            }
        }
    }
    solution.statesVisited = nodes.size();
    solution.reason = UnsolvableReason(pieces, nodes);
    return finish(Solution::Verdict::Unsolvable);
}
