#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "rules/Piece.h"
#include "solver/StageSolver.h"

// A search on a thread of its own, so that a frame never waits for it. The
// thread has what it searches to itself; the result is asked for once a frame
// until it is there. Destroying the solve (a new one taking its place, the
// scene leaving) stops the search and waits for the thread, which stops
// within microseconds.
class BackgroundSolve {
public:
    using Search = std::function<Solution(std::stop_token)>;

    explicit BackgroundSolve(Search search);
    // A stage from its start, as StageSolver::Solve.
    BackgroundSolve(std::vector<Piece> pieces, std::size_t stateLimit);

    // The solution once the search has ended; nothing while it runs, unless
    // wait is true (a scripted run, which must not depend on how fast the
    // machine is): then the first ask waits for it.
    std::optional<Solution> Result(bool wait);

private:
    std::mutex mutex;
    std::condition_variable ended;
    std::optional<Solution> solution;
    // Last, so that it stops and joins before the rest goes.
    std::jthread thread;
};
