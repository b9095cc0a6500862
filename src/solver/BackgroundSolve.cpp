#include "solver/BackgroundSolve.h"

#include "platform/Application.h"

BackgroundSolve::BackgroundSolve(std::vector<Piece> pieces, std::size_t stateLimit)
    : thread([this, stage = std::move(pieces), stateLimit](std::stop_token stop) {
          Solution found = StageSolver::Solve(stage, stateLimit, stop);
          const std::lock_guard lock(mutex);
          solution = std::move(found);
          ended.notify_all();
      })
{
}

std::optional<Solution> BackgroundSolve::Result()
{
    std::unique_lock lock(mutex);
    if (Application::Instance().BackgroundWorkWaited())
        ended.wait(lock, [this] { return solution.has_value(); });
    return solution;
}
