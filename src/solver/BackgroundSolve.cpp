#include "solver/BackgroundSolve.h"

#include "platform/Application.h"

namespace {

// The blocks as the solver reads them, owned by the thread alone.
BlockList Copied(const BlockList& blocks)
{
    BlockList copies;
    copies.reserve(blocks.size());
    for (const auto& block : blocks) {
        auto copy = std::make_shared<Block>(block->mapCell, block->kind);
        copy->launched = block->launched;
        copy->state = block->state;
        copies.push_back(std::move(copy));
    }
    return copies;
}

}  // namespace

BackgroundSolve::BackgroundSolve(const BlockList& blocks, std::size_t stateLimit)
    : thread([this, stage = Copied(blocks), stateLimit](std::stop_token stop) {
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
