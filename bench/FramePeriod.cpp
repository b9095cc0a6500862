// Runs the real frame loop, paced, for 1,000 frames of the title and prints
// the mean and median period between frame starts and how far the periods
// stray from 16 ms. Run it from the runtime
// directory; without a display it renders off-screen.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "Figures.h"
#include "main/FrameLoop.h"
#include "main/GameProgram.h"
#include "platform/Application.h"

namespace {

class Timestamps final : public FrameObserver {
public:
    explicit Timestamps(int frameCount) : frames(frameCount) {}
    // A frame starts when the pacer lets it: the cadence the player sees,
    // whatever each frame's own work took.
    bool BeforeFrame(int frame) override
    {
        times.push_back(std::chrono::steady_clock::now());
        return frame < frames;
    }
    bool AfterFrame(int) override { return true; }
    int frames;
    std::vector<std::chrono::steady_clock::time_point> times;
};


}  // namespace

int main()
{
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    GameProgram program;
    program.Context().application.SetMessageResponder(DefaultAnswer);
    std::string error;
    if (!program.Start({}, error)) {
        std::fprintf(stderr, "frame_period: %s\n", error.c_str());
        return 1;
    }
    Timestamps observer(1010);
    program.Run(&observer, true);

    std::vector<double> periods, deviations;
    // The first frames build the title's first pictures: start-up, timed elsewhere.
    constexpr std::size_t WarmUp = 10;
    for (std::size_t i = WarmUp + 1; i < observer.times.size(); ++i) {
        const double ms = std::chrono::duration<double, std::milli>(observer.times[i] - observer.times[i - 1]).count();
        periods.push_back(ms);
        deviations.push_back(std::abs(ms - 16.0));
    }
    std::printf("frames: %zu\n", periods.size());
    std::printf("mean period: %.3f ms\n", std::accumulate(periods.begin(), periods.end(), 0.0) / periods.size());
    std::printf("median period: %.3f ms\n", Percentile(periods, 0.5));
    std::printf("p99 deviation from 16 ms: %.3f ms\n", Percentile(deviations, 0.99));
    std::printf("max deviation: %.3f ms\n", Percentile(deviations, 1.0));
    return 0;
}
