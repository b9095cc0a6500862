#include "Instruments.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

namespace {

constexpr double Nyquist = SampleRate / 2.0;
// Partials above this are left out: they would only add hiss and aliasing.
constexpr double HighestPartial = Nyquist * 0.9;
constexpr double Silence = 1e-5;

// A sinusoid that starts at its peak amplitude and decays exponentially; a
// rotating phasor keeps it cheap and exact in pitch.
void AddDampedPartial(Mono& out, double hz, double amplitude, double decaySeconds, double phase = 0.0)
{
    if (hz >= HighestPartial || amplitude <= 0.0)
        return;
    std::complex<double> z = std::polar(amplitude, phase);
    const std::complex<double> step = std::polar(std::exp(-1.0 / (decaySeconds * SampleRate)), 2.0 * Pi * hz / SampleRate);
    const double floor = amplitude * Silence;
    for (float& sample : out) {
        sample += static_cast<float>(z.imag());
        z *= step;
        if (std::abs(z.imag()) < floor && std::abs(z.real()) < floor)
            break;
    }
}

struct PartialSpec {
    double ratio;
    double amplitude;
    double decayShare;
};

Mono TunedBar(double hz, float velocity, double seconds, double decay, const PartialSpec* partials, int count,
              double attackSeconds)
{
    Mono voice(FramesOf(seconds), 0.0f);
    for (int i = 0; i < count; ++i) {
        // Soft strokes excite the upper modes less.
        const double brightness = i == 0 ? 1.0 : std::pow(velocity, 1.0 + i * 0.5);
        AddDampedPartial(voice, hz * partials[i].ratio, partials[i].amplitude * brightness,
                         decay * partials[i].decayShare);
    }
    for (float& sample : voice)
        sample *= velocity;
    ShapeEdges(voice, attackSeconds, 0.01);
    return voice;
}

// One cycle of a soft, slightly hollow wave: odd harmonics a little stronger,
// falling away steeply, so a chord of them stays warm.
const std::array<float, 4096>& PadTable()
{
    static const std::array<float, 4096> table = [] {
        std::array<float, 4096> cycle{};
        for (std::size_t i = 0; i < cycle.size(); ++i) {
            const double phase = 2.0 * Pi * static_cast<double>(i) / cycle.size();
            double value = 0.0;
            for (int n = 1; n <= 10; ++n)
                value += std::sin(n * phase) / std::pow(n, 1.8) * (n % 2 ? 1.0 : 0.6);
            cycle[i] = static_cast<float>(value * 0.7);
        }
        return cycle;
    }();
    return table;
}

// Phase as a 32-bit fraction of a cycle: wraps by itself, and its top 12 bits index the table.
constexpr int TableBits = 12;
constexpr int FractionBits = 32 - TableBits;

float TableAt(const std::array<float, 4096>& table, std::uint32_t phase)
{
    const std::uint32_t index = phase >> FractionBits;
    const float fraction = static_cast<float>(phase & ((1u << FractionBits) - 1)) / static_cast<float>(1u << FractionBits);
    const float a = table[index];
    const float b = table[(index + 1) & (table.size() - 1)];
    return a + (b - a) * fraction;
}

}  // namespace

void ShapeEdges(Mono& voice, double attackSeconds, double releaseSeconds)
{
    const std::size_t attack = std::min(voice.size(), FramesOf(attackSeconds));
    const std::size_t release = std::min(voice.size(), FramesOf(releaseSeconds));
    for (std::size_t i = 0; i < attack; ++i)
        voice[i] *= static_cast<float>(0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / attack));
    for (std::size_t i = 0; i < release; ++i)
        voice[voice.size() - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / release));
}

void LowPass(Mono& voice, double cutoffHz)
{
    const double a = 1.0 - std::exp(-2.0 * Pi * cutoffHz / SampleRate);
    double state = 0.0;
    for (float& sample : voice) {
        state += a * (sample - state);
        sample = static_cast<float>(state);
    }
}

Mono Marimba(double hz, float velocity, double seconds)
{
    // Marimba bars are tuned so the first overtones sit near 4 and 10 times the fundamental.
    static const PartialSpec partials[] = {{1.0, 1.0, 1.0}, {3.93, 0.28, 0.16}, {9.24, 0.08, 0.05}};
    const double decay = 0.22 + 0.6 * std::min(1.0, std::pow(262.0 / hz, 0.7));
    return TunedBar(hz, velocity, seconds, decay, partials, 3, 0.0015);
}

Mono Glockenspiel(double hz, float velocity, double seconds)
{
    // The modes of a free steel bar.
    static const PartialSpec partials[] = {{1.0, 1.0, 1.0}, {2.76, 0.3, 0.3}, {5.40, 0.1, 0.12}, {8.93, 0.04, 0.06}};
    const double decay = std::min(2.2, 1.4 * std::pow(1046.0 / hz, 0.4));
    return TunedBar(hz, velocity, seconds, decay, partials, 4, 0.001);
}

Mono Chime(double hz, float velocity, double seconds)
{
    Mono voice(FramesOf(seconds), 0.0f);
    double carrier = 0.0;
    double modulator = 0.0;
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double index = (0.4 + 1.6 * velocity) * std::exp(-t / 0.12) + 0.25;
        const double amplitude = std::exp(-t / 0.9) * (0.75 + 0.25 * std::exp(-t / 0.08));
        voice[i] = static_cast<float>(velocity * amplitude * std::sin(carrier + index * std::sin(modulator)));
        carrier += 2.0 * Pi * hz / SampleRate;
        modulator += 2.0 * Pi * hz * 3.0 / SampleRate;
    }
    AddDampedPartial(voice, hz * 2.0, 0.15 * velocity, 0.6);
    ShapeEdges(voice, 0.0015, 0.02);
    return voice;
}

Mono Harp(double hz, float velocity, double seconds)
{
    Mono voice(FramesOf(seconds), 0.0f);
    const double decay = 0.5 + 1.2 * std::min(1.0, std::pow(262.0 / hz, 0.6));
    // Plucked a fifth of the way along the string, which leaves every fifth harmonic out.
    constexpr double PluckPoint = 0.2;
    for (int n = 1; n <= 12; ++n) {
        const double amplitude = std::abs(std::sin(n * Pi * PluckPoint)) / std::pow(n, 1.5 - 0.4 * velocity);
        AddDampedPartial(voice, hz * n * (1.0 + 0.0004 * n), amplitude, decay / (1.0 + 0.5 * (n - 1)));
    }
    for (float& sample : voice)
        sample *= 0.7f * velocity;
    ShapeEdges(voice, 0.002, 0.02);
    return voice;
}

Mono ElectricPiano(double hz, float velocity, double seconds)
{
    constexpr double Release = 0.25;
    Mono voice(FramesOf(seconds + Release), 0.0f);
    const double held = seconds;
    double phase = 0.0;
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double index = (0.3 + 1.2 * velocity) * std::exp(-t / 0.35) + 0.15;
        double amplitude = std::exp(-t / 1.6);
        if (t > held)
            amplitude *= std::exp(-(t - held) / 0.07);
        voice[i] = static_cast<float>(velocity * amplitude * std::sin(phase + index * std::sin(phase)));
        phase += 2.0 * Pi * hz / SampleRate;
    }
    ShapeEdges(voice, 0.002, 0.02);
    return voice;
}

Mono Bass(double hz, float velocity, double seconds)
{
    constexpr double Release = 0.12;
    Mono voice(FramesOf(seconds + Release), 0.0f);
    double phase = 0.0;
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        double amplitude = 0.6 + 0.4 * std::exp(-t / 0.25);
        if (t > seconds)
            amplitude *= std::exp(-(t - seconds) / 0.03);
        voice[i] = static_cast<float>(velocity * amplitude *
                                      (std::sin(phase) + 0.22 * std::sin(2.0 * phase) + 0.06 * std::sin(3.0 * phase)));
        phase += 2.0 * Pi * hz / SampleRate;
    }
    ShapeEdges(voice, 0.006, 0.02);
    return voice;
}

StereoBuffer Pad(double hz, float velocity, double seconds, double attackSeconds, double releaseSeconds)
{
    const std::size_t frames = FramesOf(seconds + releaseSeconds);
    const std::size_t held = FramesOf(seconds);
    StereoBuffer pad(frames);
    const auto& table = PadTable();
    constexpr double Detune[] = {-7.0, 0.0, 7.0};
    constexpr float Pans[] = {-0.7f, 0.0f, 0.7f};
    for (int v = 0; v < 3; ++v) {
        Mono voice(frames, 0.0f);
        const auto increment =
            static_cast<std::uint32_t>(std::lround(hz * std::pow(2.0, Detune[v] / 1200.0) / SampleRate * 4294967296.0));
        std::uint32_t phase = static_cast<std::uint32_t>(v) * 0x3B000000u;
        // A slow swell per voice keeps long chords alive.
        std::complex<double> swell = std::polar(1.0, static_cast<double>(v));
        const std::complex<double> swellStep = std::polar(1.0, 2.0 * Pi * (0.21 + 0.07 * v) / SampleRate);
        for (std::size_t i = 0; i < frames; ++i) {
            voice[i] = static_cast<float>(TableAt(table, phase) * (1.0 + 0.12 * swell.imag()));
            swell *= swellStep;
            phase += increment;
        }
        LowPass(voice, 1800.0);
        pad.Add(voice, 0, velocity / 3.0f, Pans[v], false);
    }
    const std::size_t attack = std::min(held, FramesOf(attackSeconds));
    for (Mono* channel : {&pad.left, &pad.right}) {
        for (std::size_t i = 0; i < frames; ++i) {
            double envelope = 1.0;
            if (i < attack)
                envelope = 0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / attack);
            else if (i >= held)
                envelope = 0.5 + 0.5 * std::cos(Pi * static_cast<double>(i - held) / (frames - held));
            (*channel)[i] *= static_cast<float>(envelope);
        }
    }
    return pad;
}

Mono Shaker(float velocity, std::uint32_t seed)
{
    Rng rng(seed);
    Mono voice(FramesOf(0.12), 0.0f);
    double low = 0.0;
    const double a = 1.0 - std::exp(-2.0 * Pi * 4000.0 / SampleRate);
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double noise = rng.Bipolar();
        low += a * (noise - low);
        voice[i] = static_cast<float>((noise - low) * velocity * std::exp(-t / 0.028));
    }
    LowPass(voice, 9000.0);
    ShapeEdges(voice, 0.004, 0.02);
    return voice;
}

Mono WoodTick(double hz, float velocity)
{
    Mono voice(FramesOf(0.12), 0.0f);
    AddDampedPartial(voice, hz, 1.0, 0.025);
    AddDampedPartial(voice, hz * 2.57, 0.35, 0.01);
    for (float& sample : voice)
        sample *= velocity;
    ShapeEdges(voice, 0.0008, 0.01);
    return voice;
}

Mono SoftKick(float velocity)
{
    Mono voice(FramesOf(0.4), 0.0f);
    double phase = 0.0;
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        voice[i] = static_cast<float>(velocity * std::exp(-t / 0.13) * std::sin(phase));
        phase += 2.0 * Pi * (48.0 + 70.0 * std::exp(-t / 0.035)) / SampleRate;
    }
    ShapeEdges(voice, 0.002, 0.03);
    return voice;
}

Mono NoiseSweep(double seconds, double fromHz, double toHz, double resonance, std::uint32_t seed)
{
    Rng rng(seed);
    Mono voice(FramesOf(seconds), 0.0f);
    double low = 0.0;
    double band = 0.0;
    const double damping = 1.0 / resonance;
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const double progress = static_cast<double>(i) / voice.size();
        const double centre = fromHz * std::pow(toHz / fromHz, progress);
        // Chamberlin state-variable filter; stable while the centre stays well below a sixth of the rate.
        const double f = 2.0 * std::sin(Pi * std::min(centre, SampleRate / 7.0) / SampleRate);
        const double high = rng.Bipolar() - low - damping * band;
        band += f * high;
        low += f * band;
        voice[i] = static_cast<float>(band * damping);
    }
    return voice;
}
