#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Reverb.h"
#include "Signal.h"

// One note of a written line: when it starts and how long it lasts, in beats.
struct NoteEvent {
    double beat = 0.0;
    double beats = 0.0;
    int note = 0;  // MIDI number
};

// Reads a line written as "E5:1.5 D5:.5 r:2": note and length in beats, "r" a
// rest. The first note starts at startBeat.
std::vector<NoteEvent> ParseLine(const std::string& line, double startBeat);

// Turns a loop so it begins at its quietest frame within the first few
// milliseconds: the loop stays seamless, and its first play starts without a click.
void StartQuietly(StereoBuffer& loop);

using Instrument = std::function<Mono(double hz, float velocity, double seconds)>;

// A piece of music laid out in beats on a buffer of its exact length. Music
// loops (every tail wraps round to the start, so the end flows into the
// beginning); jingles and effects do not.
class Arrangement {
public:
    // seconds: the length of a one-shot; a loop is exactly beats long.
    Arrangement(double beatsPerMinute, double beats, bool loop, double seconds = 0.0);

    double SecondsPerBeat() const { return secondsPerBeat; }
    // A dry voice, or one sent to the echo as well (melodies).
    void Place(const Mono& voice, double beat, float gain, float pan, bool echo = false);
    void Place(const StereoBuffer& voice, double beat, float gain);
    // Plays a written line on an instrument, each note a little off the grid
    // and in strength the way a player would.
    void PlayLine(const std::string& line, double startBeat, const Instrument& instrument, float gain, float pan,
                  bool echo = false);

    struct Mixdown {
        double echoBeats = 0.75;
        double echoFeedback = 0.35;
        double echoWet = 0.3;
        ReverbSettings reverb;
        double peakDecibels = -6.0;
    };
    StereoBuffer Mix(const Mixdown& settings);

private:
    double secondsPerBeat;
    bool loop;
    StereoBuffer dry;
    StereoBuffer echoSend;
    Rng feel;
};
