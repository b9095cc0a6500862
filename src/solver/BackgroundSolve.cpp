#include "solver/BackgroundSolve.h"

#include <new>
#include <thread>

#include <pthread.h>
#include <sched.h>

namespace {

// The search takes only time the frames leave: the game draws on every core
// it has, and a frame must never wait for a search of the next shot.
void YieldToFrames()
{
    const sched_param none{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
}

Solution TooLarge()
{
    Solution solution;
    solution.verdict = Solution::Verdict::GaveUp;
    solution.reason = Solution::TooLargeToSearch;
    return solution;
}

}  // namespace

BackgroundSolve::BackgroundSolve(Search search, Pace pace) : shared(std::make_shared<Shared>())
{
    // The search's memory goes back on this thread, as its work returns.
    std::thread([shared = shared, stopping = stop.get_token(), work = std::move(search), pace] {
        if (pace == Pace::BesideFrames)
            YieldToFrames();
        Solution found;
        try {
            found = work(stopping);
        } catch (const std::bad_alloc&) {
            found = TooLarge();
        }
        const std::lock_guard lock(shared->mutex);
        shared->solution = std::move(found);
        shared->ended.notify_all();
    }).detach();
}

BackgroundSolve::BackgroundSolve(std::vector<Piece> pieces, std::size_t stateLimit, Pace pace)
    : BackgroundSolve(
          [stage = std::move(pieces), stateLimit](std::stop_token stopping) {
              return StageSolver::Solve(stage, stateLimit, stopping);
          },
          pace)
{
}

BackgroundSolve::~BackgroundSolve()
{
    stop.request_stop();
}

std::optional<Solution> BackgroundSolve::Result(bool wait)
{
    std::unique_lock lock(shared->mutex);
    if (wait)
        shared->ended.wait(lock, [this] { return shared->solution.has_value(); });
    return shared->solution;
}
