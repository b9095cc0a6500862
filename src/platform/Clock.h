#pragma once

#include <cstdint>

// Monotonic time for frame pacing. An interface so that pacing decisions can be
// tested with a clock that only moves when told to.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t NowNanoseconds() = 0;
    // Returns at the given absolute time, or at once if it has passed.
    virtual void SleepUntil(std::int64_t nanoseconds) = 0;
};

// CLOCK_MONOTONIC with absolute-deadline sleeps, which hold a steady period
// where relative millisecond sleeps drift by a few milliseconds.
class SystemClock final : public Clock {
public:
    std::int64_t NowNanoseconds() override;
    void SleepUntil(std::int64_t nanoseconds) override;
};
