#include "platform/Clock.h"

#include <cerrno>
#include <ctime>

namespace {
constexpr std::int64_t NanosecondsPerSecond = 1'000'000'000;
}

std::int64_t SystemClock::NowNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * NanosecondsPerSecond + now.tv_nsec;
}

void SystemClock::SleepUntil(std::int64_t nanoseconds)
{
    timespec deadline{};
    deadline.tv_sec = static_cast<time_t>(nanoseconds / NanosecondsPerSecond);
    deadline.tv_nsec = static_cast<long>(nanoseconds % NanosecondsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}
