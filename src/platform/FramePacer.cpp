#include "platform/FramePacer.h"

FramePacer::FramePacer(Clock& clockToUse, std::int64_t periodNanoseconds)
    : clock(clockToUse), period(periodNanoseconds)
{
}

void FramePacer::Start()
{
    frameStart = clock.NowNanoseconds();
}

std::int64_t FramePacer::EndFrame()
{
    const std::int64_t deadline = frameStart + period;
    const std::int64_t now = clock.NowNanoseconds();
    if (now >= deadline) {
        frameStart = now;
        return 0;
    }
    clock.SleepUntil(deadline);
    frameStart = deadline;
    return deadline - now;
}
