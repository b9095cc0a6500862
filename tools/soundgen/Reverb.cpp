#include "Reverb.h"

#include <array>
#include <cstddef>
#include <vector>

namespace {

// Delay lengths tuned for 44.1 kHz; the right channel's are a little longer for width.
constexpr std::array<std::size_t, 8> CombLengths = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<std::size_t, 4> AllPassLengths = {556, 441, 341, 225};
constexpr std::size_t StereoSpread = 23;
constexpr double InputGain = 0.015;
constexpr double AllPassFeedback = 0.5;
// A loop's tail decays well within two passes, so the third pass hears a steady state.
constexpr int LoopPasses = 3;

class Comb {
public:
    explicit Comb(std::size_t length) : line(length, 0.0) {}
    double Process(double input, double feedback, double damping)
    {
        const double output = line[at];
        filtered = output * (1.0 - damping) + filtered * damping;
        line[at] = input + filtered * feedback;
        at = (at + 1) % line.size();
        return output;
    }

private:
    std::vector<double> line;
    std::size_t at = 0;
    double filtered = 0.0;
};

class AllPass {
public:
    explicit AllPass(std::size_t length) : line(length, 0.0) {}
    double Process(double input)
    {
        const double delayed = line[at];
        line[at] = input + delayed * AllPassFeedback;
        at = (at + 1) % line.size();
        return delayed - input;
    }

private:
    std::vector<double> line;
    std::size_t at = 0;
};

struct Channel {
    explicit Channel(std::size_t spread)
    {
        for (std::size_t length : CombLengths)
            combs.emplace_back(length + spread);
        for (std::size_t length : AllPassLengths)
            allPasses.emplace_back(length + spread);
    }
    double Process(double input, double feedback, double damping)
    {
        double output = 0.0;
        for (Comb& comb : combs)
            output += comb.Process(input, feedback, damping);
        for (AllPass& allPass : allPasses)
            output = allPass.Process(output);
        return output;
    }
    std::vector<Comb> combs;
    std::vector<AllPass> allPasses;
};

}  // namespace

void ApplyReverb(StereoBuffer& buffer, const ReverbSettings& settings, bool loop)
{
    const std::size_t frames = buffer.Frames();
    Channel left(0);
    Channel right(StereoSpread);
    const double feedback = 0.7 + 0.28 * settings.roomSize;
    const double damping = 0.4 * settings.damping;
    const double direct = settings.wet * (0.5 + 0.5 * settings.width);
    const double cross = settings.wet * (0.5 - 0.5 * settings.width);

    StereoBuffer wet(frames);
    const int passes = loop ? LoopPasses : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t i = 0; i < frames; ++i) {
            const double input = (buffer.left[i] + buffer.right[i]) * InputGain;
            const double l = left.Process(input, feedback, damping);
            const double r = right.Process(input, feedback, damping);
            wet.left[i] = static_cast<float>(l * direct + r * cross);
            wet.right[i] = static_cast<float>(r * direct + l * cross);
        }
    }
    buffer.Add(wet, 0, 1.0f, false);
}

void ApplyPingPongEcho(StereoBuffer& buffer, double delaySeconds, double feedback, double wet, bool loop)
{
    const std::size_t frames = buffer.Frames();
    const std::size_t delay = FramesOf(delaySeconds);
    std::vector<double> toLeft(delay, 0.0);
    std::vector<double> toRight(delay, 0.0);
    std::size_t at = 0;
    StereoBuffer echoes(frames);
    const int passes = loop ? LoopPasses : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t i = 0; i < frames; ++i) {
            const double fromLeft = toLeft[at];
            const double fromRight = toRight[at];
            // The first repeat comes from the left, and each one after from the other side.
            toLeft[at] = (buffer.left[i] + buffer.right[i]) * 0.5 + fromRight * feedback;
            toRight[at] = fromLeft * feedback;
            at = (at + 1) % delay;
            echoes.left[i] = static_cast<float>(fromLeft * wet);
            echoes.right[i] = static_cast<float>(fromRight * wet);
        }
    }
    buffer.Add(echoes, 0, 1.0f, false);
}

