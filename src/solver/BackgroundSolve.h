#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <vector>

#include "rules/Piece.h"
#include "solver/StageSolver.h"

// A search on a thread of its own, so that a frame never waits for it. The
// thread has what it searches to itself; the result is asked for once a frame
// until it is there. Destroying the solve (a new one taking its place, the
// scene leaving, the program ending) asks the search to stop and returns at
// once: the thread frees what the search held on its own time, never the
// frame's. A search that runs out of memory gives up as too large to search.
class BackgroundSolve {
public:
    using Search = std::function<Solution(std::stop_token)>;

    // Who waits for the answer: the frames go on without it and the search
    // takes only the time they leave, or a scripted run waits for it (see
    // Result) and it runs at full speed.
    enum class Pace { BesideFrames, Waited };

    BackgroundSolve(Search search, Pace pace);
    // A stage from its start, as StageSolver::Solve.
    BackgroundSolve(std::vector<Piece> pieces, std::size_t stateLimit, Pace pace);
    ~BackgroundSolve();
    BackgroundSolve(const BackgroundSolve&) = delete;
    BackgroundSolve& operator=(const BackgroundSolve&) = delete;

    // The solution once the search has ended; nothing while it runs, unless
    // wait is true (a scripted run, which must not depend on how fast the
    // machine is): then the first ask waits for it.
    std::optional<Solution> Result(bool wait);

private:
    // What the thread and the owner share; the last of them to go frees it.
    struct Shared {
        std::mutex mutex;
        std::condition_variable ended;
        std::optional<Solution> solution;
    };

    std::shared_ptr<Shared> shared;
    std::stop_source stop;
};
