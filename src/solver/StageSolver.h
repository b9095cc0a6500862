#pragma once

#include <chrono>
#include <cstddef>
#include <stop_token>
#include <string>
#include <vector>

#include "rules/MapPosition.h"
#include "rules/Piece.h"

// "(x, y, z)", as the solver's reasons and tools name a cell.
std::string CellText(const MapPosition& cell);

// One shot of a solution: where the player walks, where it fires from and
// which way, and what the shot does.
struct SolutionShot {
    // The walk from where the player stood, as Direction codes.
    std::vector<int> walk;
    MapPosition from;
    int direction = 0;
    MapPosition landing;
    int turned = 0;
};

// What the search found out about a stage.
struct Solution {
    // The reason of a search that gave up because its positions would not fit its memory.
    static constexpr const char* TooLargeToSearch = "too large to search";

    enum class Verdict { Solved, Unsolvable, LostAtStart, GaveUp };

    Verdict verdict = Verdict::Unsolvable;
    // Why it is not solvable, in a few words.
    std::string reason;
    // The shots of one shortest solution.
    std::vector<SolutionShot> shots;
    // Distinct positions seen (board, turned kinds, the player's region).
    std::size_t statesVisited = 0;
    double seconds = 0;

    bool TooLarge() const { return verdict == Verdict::GaveUp && reason == TooLargeToSearch; }
};

// The fewest shots that turn every block of a stage white, found breadth first
// over every position the stage can reach, with the Game's own rules: the
// player walks anywhere it can reach and fires any way its launch cell is
// free; a shot that turns nothing over dissolves and still counts; after every
// turning over the stage may be lost. Positions are told apart exactly, so the
// answer is proven: no shorter solution exists. The search gives up after
// stateLimit positions, or when the positions it keeps would take more than
// memoryBudget bytes (given up, Solution::TooLargeToSearch): a position takes about 40
// bytes, however many blocks the stage has.
class StageSolver {
public:
    static constexpr std::size_t DefaultStateLimit = 5'000'000;
    // What a search beside the game's frames may hold: enough for every
    // shipped stage seventy times over, and small beside the game itself.
    static constexpr std::size_t DefaultMemoryBudget = std::size_t{16} << 20;
    static constexpr const char* StoppedReason = "stopped";

    // stop ends the search early (given up, "stopped"); it is asked between
    // positions, so a stop is heard within microseconds.
    static Solution Solve(const std::vector<Piece>& pieces, std::size_t stateLimit = DefaultStateLimit,
                          std::stop_token stop = {}, std::size_t memoryBudget = DefaultMemoryBudget);
    // The fewest shots from a position met in play: the blocks as they stand,
    // shots that stayed among them, and the player in its cell of the bottom
    // layer. The stage's own start tests are not asked again; a position
    // the game has already lost is Unsolvable.
    static Solution SolveFrom(const std::vector<Piece>& pieces, const MapPosition& player,
                              std::size_t stateLimit = DefaultStateLimit, std::stop_token stop = {},
                              std::size_t memoryBudget = DefaultMemoryBudget);

private:
    struct Limits {
        std::size_t positions;
        std::size_t bytes;
    };
    static Solution Search(const std::vector<Piece>& pieces, int playerCell, Limits limits, std::stop_token stop,
                           Solution solution, std::chrono::steady_clock::time_point started);
};
