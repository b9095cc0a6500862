#include "solver/BackgroundSolve.h"

BackgroundSolve::BackgroundSolve(std::vector<Piece> pieces, std::size_t stateLimit)
    : thread([this, stage = std::move(pieces), stateLimit](std::stop_token stop) {
          Solution found = StageSolver::Solve(stage, stateLimit, stop);
          const std::lock_guard lock(mutex);
          solution = std::move(found);
          ended.notify_all();
      })
{
}

std::optional<Solution> BackgroundSolve::Result(bool wait)
{
    std::unique_lock lock(mutex);
    if (wait)
        ended.wait(lock, [this] { return solution.has_value(); });
    return solution;
}
