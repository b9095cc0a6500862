#pragma once

#include <cstdint>

#include "platform/Clock.h"

// Holds the frame loop to one frame per period on absolute deadlines. A frame
// that finishes early sleeps until its deadline; one that runs long does not
// sleep, and the next frame gets a full period from now: no catch-up bursts.
class FramePacer {
public:
    static constexpr std::int64_t FramePeriodNanoseconds = 16'000'000;

    explicit FramePacer(Clock& clock, std::int64_t periodNanoseconds = FramePeriodNanoseconds);

    // Marks the start of the first frame.
    void Start();
    // Called when a frame's work is done; sleeps as long as the period asks.
    // Returns the nanoseconds slept.
    std::int64_t EndFrame();

private:
    Clock& clock;
    std::int64_t period;
    std::int64_t frameStart = 0;
};
