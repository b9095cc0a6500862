#include "solver/BackgroundSolve.h"

BackgroundSolve::BackgroundSolve(Search search)
    : thread([this, work = std::move(search)](std::stop_token stop) {
          Solution found = work(stop);
          const std::lock_guard lock(mutex);
          solution = std::move(found);
          ended.notify_all();
      })
{
}

BackgroundSolve::BackgroundSolve(std::vector<Piece> pieces, std::size_t stateLimit)
    : BackgroundSolve([stage = std::move(pieces), stateLimit](std::stop_token stop) {
          return StageSolver::Solve(stage, stateLimit, stop);
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
