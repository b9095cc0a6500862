#include "Signal.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

void AddChannel(Mono& target, const Mono& voice, std::ptrdiff_t start, float gain, bool wrap)
{
    const auto frames = static_cast<std::ptrdiff_t>(target.size());
    if (frames == 0)
        return;
    std::ptrdiff_t at = wrap ? ((start % frames) + frames) % frames : start;
    for (std::size_t i = 0; i < voice.size(); ++i, ++at) {
        if (at >= frames) {
            if (!wrap)
                return;
            at = 0;
        }
        if (at >= 0)
            target[static_cast<std::size_t>(at)] += gain * voice[i];
    }
}

}  // namespace

void StereoBuffer::Add(const Mono& voice, std::ptrdiff_t start, float gain, float pan, bool wrap)
{
    const double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * Pi / 4.0;
    AddChannel(left, voice, start, gain * static_cast<float>(std::cos(angle)), wrap);
    AddChannel(right, voice, start, gain * static_cast<float>(std::sin(angle)), wrap);
}

void StereoBuffer::Add(const StereoBuffer& other, std::ptrdiff_t start, float gain, bool wrap)
{
    AddChannel(left, other.left, start, gain, wrap);
    AddChannel(right, other.right, start, gain, wrap);
}

void StereoBuffer::Scale(float gain)
{
    for (Mono* channel : {&left, &right}) {
        for (float& sample : *channel)
            sample *= gain;
    }
}

float StereoBuffer::Peak() const
{
    float peak = 0.0f;
    for (const Mono* channel : {&left, &right}) {
        for (float sample : *channel)
            peak = std::max(peak, std::abs(sample));
    }
    return peak;
}

void StereoBuffer::NormalizeTo(double peakDecibels)
{
    const float peak = Peak();
    if (peak > 0.0f)
        Scale(static_cast<float>(std::pow(10.0, peakDecibels / 20.0) / peak));
}

void StereoBuffer::FadeEdges(double inSeconds, double outSeconds)
{
    const std::size_t frames = Frames();
    const std::size_t fadeIn = std::min(frames, FramesOf(inSeconds));
    const std::size_t fadeOut = std::min(frames, FramesOf(outSeconds));
    for (Mono* channel : {&left, &right}) {
        for (std::size_t i = 0; i < fadeIn; ++i)
            (*channel)[i] *= static_cast<float>(0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / fadeIn));
        for (std::size_t i = 0; i < fadeOut; ++i)
            (*channel)[frames - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / fadeOut));
    }
}

std::uint32_t Rng::Next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

float Rng::Bipolar()
{
    return Unit() * 2.0f - 1.0f;
}

float Rng::Unit()
{
    return static_cast<float>(Next() >> 8) / static_cast<float>(1u << 24);
}

std::size_t FramesOf(double seconds)
{
    return static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * SampleRate));
}

double MidiToHz(double midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

int NoteNumber(const std::string& name)
{
    static const int semitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    assert(name.size() >= 2 && name[0] >= 'A' && name[0] <= 'G');
    int note = semitones[name[0] - 'A'];
    std::size_t at = 1;
    if (name[at] == '#') {
        ++note;
        ++at;
    } else if (name[at] == 'b') {
        --note;
        ++at;
    }
    const int octave = std::stoi(name.substr(at));
    return (octave + 1) * 12 + note;
}

double NoteHz(const std::string& name)
{
    return MidiToHz(NoteNumber(name));
}
