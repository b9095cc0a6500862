#include "Music.h"

#include <sstream>
#include <vector>

#include "Arrangement.h"
#include "Instruments.h"

namespace {

constexpr double BeatsPerBar = 4.0;

// One bar's harmony: the bass root and the chord as the pad holds it, low to high.
struct Bar {
    const char* root;
    const char* chord;
};

std::vector<int> ChordNotes(const char* chord)
{
    std::vector<int> notes;
    std::istringstream names(chord);
    std::string name;
    while (names >> name)
        notes.push_back(NoteNumber(name));
    return notes;
}

Mono MarimbaNote(double hz, float velocity, double)
{
    return Marimba(hz, velocity);
}

Mono GlockenspielNote(double hz, float velocity, double)
{
    return Glockenspiel(hz, velocity);
}

Mono GlockenspielOctaveUp(double hz, float velocity, double)
{
    return Glockenspiel(hz * 2.0, velocity);
}

Mono ChimeNote(double hz, float velocity, double)
{
    return Chime(hz, velocity);
}

void PlayPads(Arrangement& music, const std::vector<Bar>& bars, float gain)
{
    const double seconds = BeatsPerBar * music.SecondsPerBeat();
    for (std::size_t i = 0; i < bars.size(); ++i) {
        for (int note : ChordNotes(bars[i].chord))
            music.Place(Pad(MidiToHz(note), 1.0f, seconds, 0.35, 1.0), static_cast<double>(i) * BeatsPerBar, gain);
    }
}

// Eighth notes over each bar's chord, octaveShift octaves up; -1 in the pattern rests.
void PlayArpeggio(Arrangement& music, const std::vector<Bar>& bars, const std::vector<int>& pattern, float gain,
                  int octaveShift)
{
    Rng feel(static_cast<std::uint32_t>(bars.size() * 7919 + pattern.size()));
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const std::vector<int> notes = ChordNotes(bars[i].chord);
        for (std::size_t step = 0; step < pattern.size(); ++step) {
            if (pattern[step] < 0)
                continue;
            const int note = notes[static_cast<std::size_t>(pattern[step]) % notes.size()] + 12 * octaveShift;
            const bool downbeat = step % 4 == 0;
            const float velocity = (downbeat ? 0.8f : 0.62f) + 0.06f * feel.Bipolar();
            const double beat = static_cast<double>(i) * BeatsPerBar + static_cast<double>(step) * 0.5 +
                                0.003 * feel.Bipolar() / music.SecondsPerBeat();
            const float pan = step % 2 ? 0.3f : -0.15f;
            music.Place(Marimba(MidiToHz(note), velocity), beat, gain, pan);
        }
    }
}

// The root under each bar: a line of (beat in bar, length, octave offset) hits.
struct BassHit {
    double beat;
    double beats;
    int interval;  // semitones above the bar's root
};

void PlayBass(Arrangement& music, const std::vector<Bar>& bars, const std::vector<BassHit>& hits, float gain)
{
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const int root = NoteNumber(bars[i].root);
        for (const BassHit& hit : hits) {
            music.Place(Bass(MidiToHz(root + hit.interval), 0.9f, hit.beats * music.SecondsPerBeat()),
                        static_cast<double>(i) * BeatsPerBar + hit.beat, gain, 0.0f);
        }
    }
}

// Light percussion from a step pattern of sixteenths: 's' shaker, 'S' accented
// shaker, 't' wood tick, 'k' soft kick, '.' nothing.
void PlayPercussion(Arrangement& music, double fromBar, double toBar, const std::string& steps, float gain)
{
    std::uint32_t seed = 977;
    for (double bar = fromBar; bar < toBar; bar += 1.0) {
        for (std::size_t step = 0; step < steps.size(); ++step) {
            const double beat = bar * BeatsPerBar + static_cast<double>(step) * 0.25;
            switch (steps[step]) {
            case 's':
                music.Place(Shaker(0.5f, ++seed), beat, gain, 0.35f);
                break;
            case 'S':
                music.Place(Shaker(0.85f, ++seed), beat, gain, 0.35f);
                break;
            case 't':
                music.Place(WoodTick(NoteHz("E6"), 0.7f), beat, gain * 0.6f, -0.4f);
                break;
            case 'k':
                music.Place(SoftKick(0.9f), beat, gain * 1.6f, 0.0f);
                break;
            default:
                break;
            }
        }
    }
}

}  // namespace

StereoBuffer TitleMusic()
{
    const std::vector<Bar> bars = {
        {"C3", "G3 B3 C4 E4"}, {"A2", "G3 A3 C4 E4"}, {"F2", "A3 C4 E4 F4"}, {"G2", "G3 B3 D4 E4"},
        {"C3", "G3 B3 C4 E4"}, {"A2", "G3 A3 C4 E4"}, {"D3", "A3 C4 D4 F4"}, {"G2", "G3 C4 D4 F4"},
        {"F2", "A3 C4 E4 F4"}, {"E2", "G3 B3 D4 E4"}, {"A2", "G3 A3 C4 E4"}, {"G2", "G3 B3 C4 E4"},
        {"F2", "A3 C4 E4 F4"}, {"E2", "G3 B3 D4 E4"}, {"D3", "A3 C4 D4 F4"}, {"G2", "G3 B3 D4 F4"},
    };
    Arrangement music(84.0, static_cast<double>(bars.size()) * BeatsPerBar, true);
    PlayPads(music, bars, 0.16f);
    PlayArpeggio(music, bars, {0, 2, 1, 3, 2, 1, 3, 2}, 0.22f, 0);
    PlayBass(music, bars, {{0.0, 2.5, 0}, {2.5, 1.5, 7}}, 0.26f);
    PlayPercussion(music, 8, 16, "..s...s...s...S.", 0.05f);
    const std::string melody =
        "E5:1.5 D5:.5 C5:1 G4:1  A4:1.5 C5:.5 E5:2  F5:1 E5:.5 C5:.5 A4:2  G4:1 A4:.5 B4:.5 D5:2 "
        "E5:1.5 G5:.5 E5:1 C5:1  D5:1 C5:1 A4:2  F4:1 A4:1 C5:1 D5:1  D5:3 r:1 "
        "A5:1.5 G5:.5 E5:1 C5:1  B4:1.5 D5:.5 G5:2  E5:1 D5:.5 C5:.5 A4:1 C5:1  G4:2 E5:2 "
        "F5:1.5 E5:.5 C5:1 A4:1  G4:1 B4:1 E5:2  F5:1 E5:1 D5:1 C5:1  D5:1.5 B4:.5 G4:1 r:1";
    music.PlayLine(melody, 0.0, GlockenspielNote, 0.2f, 0.15f, true);
    music.PlayLine(melody, 0.0, MarimbaNote, 0.08f, -0.2f);

    Arrangement::Mixdown mix;
    mix.reverb = {0.75, 0.5, 0.32, 1.0};
    mix.peakDecibels = -9.0;
    return music.Mix(mix);
}

StereoBuffer SelectMusic()
{
    const std::vector<Bar> bars = {
        {"F2", "A3 C4 E4 F4"}, {"G2", "G3 B3 D4 E4"}, {"E2", "G3 B3 D4 E4"}, {"A2", "G3 A3 C4 E4"},
        {"D3", "A3 C4 D4 F4"}, {"G2", "G3 C4 D4 F4"}, {"C3", "G3 B3 C4 E4"}, {"A2", "G3 A3 C4 E4"},
        {"F2", "A3 C4 E4 F4"}, {"G2", "G3 B3 D4 E4"}, {"E2", "G3 B3 D4 E4"}, {"A2", "G3 A3 C4 E4"},
        {"D3", "A3 C4 D4 F4"}, {"E2", "G3 B3 D4 E4"}, {"F2", "A3 C4 E4 F4"}, {"G2", "G3 B3 D4 F4"},
    };
    Arrangement music(100.0, static_cast<double>(bars.size()) * BeatsPerBar, true);
    PlayPads(music, bars, 0.09f);
    PlayArpeggio(music, bars, {0, -1, 2, 1, -1, 3, 2, 1}, 0.24f, 0);
    PlayBass(music, bars, {{0.0, 1.0, 0}, {1.5, 0.5, 0}, {2.0, 1.0, 7}, {3.0, 0.5, 12}, {3.5, 0.5, 7}}, 0.24f);
    PlayPercussion(music, 0, 16, "k.s.t.s.k.s.t.sS", 0.07f);
    // Electric-piano stabs on the off-beats.
    for (std::size_t i = 0; i < bars.size(); ++i) {
        for (double offBeat : {1.5, 3.0}) {
            for (int note : ChordNotes(bars[i].chord))
                music.Place(ElectricPiano(MidiToHz(note + 12), 0.55f, 0.3 * music.SecondsPerBeat()),
                            static_cast<double>(i) * BeatsPerBar + offBeat, 0.06f, 0.25f);
        }
    }
    const std::string melody =
        "A4:.5 C5:.5 F5:1 E5:.5 C5:.5 r:1  B4:.5 D5:.5 G5:1 E5:1 D5:1  E5:1.5 D5:.5 B4:1 G4:1 "
        "A4:.5 B4:.5 C5:1 E5:1 r:1  F5:1 E5:.5 D5:.5 C5:1 A4:1  C5:1 D5:1 F5:1 D5:1  E5:2 G5:1 E5:1  C5:3 r:1 "
        "A5:1 G5:.5 F5:.5 E5:1 C5:1  D5:1 E5:.5 D5:.5 B4:1 G4:1  G4:.5 B4:.5 E5:1 G5:1 E5:1 "
        "A5:1.5 G5:.5 E5:2  F5:1 A5:1 G5:.5 F5:.5 E5:.5 D5:.5  E5:1 G5:1 B4:2  C5:1 A4:1 F5:1 E5:1  D5:2 r:2";
    music.PlayLine(melody, 0.0, ChimeNote, 0.16f, -0.1f, true);

    Arrangement::Mixdown mix;
    mix.echoBeats = 0.75;
    mix.echoWet = 0.25;
    mix.reverb = {0.6, 0.55, 0.22, 1.0};
    mix.peakDecibels = -9.0;
    return music.Mix(mix);
}

StereoBuffer GameMusic()
{
    const std::vector<Bar> bars = {
        {"A2", "G3 B3 C4 E4"}, {"F2", "A3 C4 E4 F4"}, {"C3", "G3 B3 C4 E4"}, {"G2", "G3 B3 D4 E4"},
        {"A2", "G3 B3 C4 E4"}, {"F2", "A3 C4 E4 F4"}, {"D3", "A3 C4 D4 F4"}, {"E2", "G3 B3 D4 E4"},
        {"F2", "A3 C4 E4 F4"}, {"G2", "G3 B3 D4 E4"}, {"E2", "G3 B3 D4 E4"}, {"A2", "G3 B3 C4 E4"},
        {"D3", "A3 C4 D4 F4"}, {"E2", "G3 B3 D4 E4"}, {"F2", "A3 C4 E4 F4"}, {"G2", "G3 B3 D4 E4"},
        {"A2", "G3 B3 C4 E4"}, {"E2", "G3 B3 D4 E4"}, {"F2", "A3 C4 E4 F4"}, {"C3", "G3 B3 C4 E4"},
        {"D3", "A3 C4 D4 F4"}, {"A2", "G3 B3 C4 E4"}, {"F2", "A3 C4 E4 F4"}, {"E2", "G3 B3 D4 E4"},
    };
    Arrangement music(92.0, static_cast<double>(bars.size()) * BeatsPerBar, true);
    PlayPads(music, bars, 0.13f);
    PlayArpeggio(music, bars, {0, 2, 3, -1, 1, 3, 2, -1}, 0.2f, 1);
    PlayBass(music, bars, {{0.0, 3.0, 0}, {3.5, 0.5, 7}}, 0.24f);
    PlayPercussion(music, 8, 24, "..s...s...s.t.s.", 0.045f);
    PlayPercussion(music, 8, 24, "k...............", 0.05f);
    const std::string melody =
        "C5:1.5 E5:.5 A5:2  G5:1 E5:1 D5:2  E5:1.5 D5:.5 B4:1 G4:1  A4:2 B4:1 C5:1 "
        "D5:1.5 F5:.5 A5:1 F5:1  G5:2 E5:1 D5:1  C5:1 E5:1 A4:1 C5:1  B4:2 r:2 "
        "E5:1 A5:1 G5:1 E5:1  D5:1.5 E5:.5 B4:2  C5:1 F5:1 E5:1 C5:1  G5:3 r:1 "
        "F5:1 E5:1 D5:1 A4:1  C5:1.5 B4:.5 A4:2  A4:1 C5:1 F5:1 E5:1  E5:2 D5:1 B4:1";
    // The arpeggio fills the melody's own octave, so the bells ring an octave above it.
    music.PlayLine(melody, 8.0 * BeatsPerBar, GlockenspielOctaveUp, 0.15f, 0.2f, true);
    music.PlayLine(melody, 8.0 * BeatsPerBar, ChimeNote, 0.06f, -0.2f);

    Arrangement::Mixdown mix;
    mix.reverb = {0.7, 0.5, 0.28, 1.0};
    mix.peakDecibels = -9.0;
    return music.Mix(mix);
}
