#include "Arrangement.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {
constexpr double TimingSpreadSeconds = 0.004;
constexpr float VelocitySpread = 0.08f;
constexpr std::uint32_t FeelSeed = 20240611;
constexpr double QuietStartSearchSeconds = 0.01;
}  // namespace

std::vector<NoteEvent> ParseLine(const std::string& line, double startBeat)
{
    std::vector<NoteEvent> events;
    std::istringstream words(line);
    std::string word;
    double beat = startBeat;
    while (words >> word) {
        const std::size_t colon = word.find(':');
        assert(colon != std::string::npos);
        const double beats = std::stod(word.substr(colon + 1));
        const std::string name = word.substr(0, colon);
        if (name != "r")
            events.push_back({beat, beats, NoteNumber(name)});
        beat += beats;
    }
    return events;
}

Arrangement::Arrangement(double beatsPerMinute, double beats, bool looping, double seconds)
    : secondsPerBeat(60.0 / beatsPerMinute),
      loop(looping),
      dry(FramesOf(looping ? beats * 60.0 / beatsPerMinute : seconds)),
      echoSend(dry.Frames()),
      feel(FeelSeed)
{
}

void Arrangement::Place(const Mono& voice, double beat, float gain, float pan, bool echo)
{
    const auto start = static_cast<std::ptrdiff_t>(std::lround(beat * secondsPerBeat * SampleRate));
    dry.Add(voice, start, gain, pan, loop);
    if (echo)
        echoSend.Add(voice, start, gain, pan, loop);
}

void Arrangement::Place(const StereoBuffer& voice, double beat, float gain)
{
    const auto start = static_cast<std::ptrdiff_t>(std::lround(beat * secondsPerBeat * SampleRate));
    dry.Add(voice, start, gain, loop);
}

void Arrangement::PlayLine(const std::string& line, double startBeat, const Instrument& instrument, float gain,
                           float pan, bool echo)
{
    for (const NoteEvent& event : ParseLine(line, startBeat)) {
        const double nudge = feel.Bipolar() * TimingSpreadSeconds / secondsPerBeat;
        const float velocity = 0.85f + VelocitySpread * feel.Bipolar();
        // A one-shot's first note may not start before the sound does.
        const double beat = loop ? event.beat + nudge : std::max(0.0, event.beat + nudge);
        Place(instrument(MidiToHz(event.note), velocity, event.beats * secondsPerBeat), beat, gain, pan, echo);
    }
}

StereoBuffer Arrangement::Mix(const Mixdown& settings)
{
    StereoBuffer out = dry;
    StereoBuffer echoes = echoSend;
    ApplyPingPongEcho(echoes, settings.echoBeats * secondsPerBeat, settings.echoFeedback, settings.echoWet, loop);
    echoes.Add(echoSend, 0, -1.0f, false);  // keep only the repeats; the dry part is already in out
    out.Add(echoes, 0, 1.0f, false);
    ApplyReverb(out, settings.reverb, loop);
    if (loop)
        StartQuietly(out);
    out.NormalizeTo(settings.peakDecibels);
    return out;
}

void StartQuietly(StereoBuffer& loop)
{
    const std::size_t search = std::min(loop.Frames(), FramesOf(QuietStartSearchSeconds));
    std::size_t quietest = 0;
    for (std::size_t i = 1; i < search; ++i) {
        if (std::abs(loop.left[i]) + std::abs(loop.right[i]) <
            std::abs(loop.left[quietest]) + std::abs(loop.right[quietest]))
            quietest = i;
    }
    for (Mono* channel : {&loop.left, &loop.right})
        std::rotate(channel->begin(), channel->begin() + static_cast<std::ptrdiff_t>(quietest), channel->end());
}
