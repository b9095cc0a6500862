#include <gtest/gtest.h>

#include <vector>

#include "platform/FramePacer.h"

namespace {

constexpr std::int64_t Millisecond = 1'000'000;

// Time moves only when a frame "works" or the pacer sleeps.
class FakeClock final : public Clock {
public:
    std::int64_t NowNanoseconds() override { return now; }
    void SleepUntil(std::int64_t deadline) override
    {
        sleeps.push_back(deadline - now);
        if (deadline > now)
            now = deadline;
    }
    void Work(std::int64_t nanoseconds) { now += nanoseconds; }

    std::int64_t now = 1'000 * Millisecond;
    std::vector<std::int64_t> sleeps;
};

TEST(FramePacer, AShortFrameSleepsForTheRestOfTheSixteenMilliseconds)
{
    FakeClock clock;
    FramePacer pacer(clock);
    pacer.Start();
    clock.Work(5 * Millisecond);
    EXPECT_EQ(pacer.EndFrame(), 11 * Millisecond);
}

TEST(FramePacer, ALongFrameDoesNotSleepAndTheNextGetsAFullPeriod)
{
    FakeClock clock;
    FramePacer pacer(clock);
    pacer.Start();
    clock.Work(20 * Millisecond);
    EXPECT_EQ(pacer.EndFrame(), 0);
    EXPECT_TRUE(clock.sleeps.empty());
    clock.Work(4 * Millisecond);
    EXPECT_EQ(pacer.EndFrame(), 12 * Millisecond) << "no catch-up after a late frame";
}

TEST(FramePacer, DeadlinesAreAbsoluteSoSmallOverSleepsDoNotAddUp)
{
    FakeClock clock;
    FramePacer pacer(clock);
    pacer.Start();
    const std::int64_t start = clock.now;
    for (int frame = 0; frame < 100; ++frame) {
        clock.Work(3 * Millisecond + 1234);
        pacer.EndFrame();
    }
    EXPECT_EQ(clock.now - start, 100 * 16 * Millisecond);
}

TEST(FramePacer, AFrameEndingExactlyOnItsDeadlineDoesNotSleep)
{
    FakeClock clock;
    FramePacer pacer(clock);
    pacer.Start();
    clock.Work(16 * Millisecond);
    EXPECT_EQ(pacer.EndFrame(), 0);
}

}  // namespace
