#include "SoundEffects.h"

#include <cmath>

#include "Instruments.h"
#include "Reverb.h"

namespace {

constexpr double FadeInSeconds = 0.002;
constexpr double FadeOutSeconds = 0.01;

std::ptrdiff_t At(double seconds)
{
    return static_cast<std::ptrdiff_t>(FramesOf(seconds));
}

void Finish(StereoBuffer& sound, double peakDecibels, const ReverbSettings* reverb = nullptr,
            double fadeOutSeconds = FadeOutSeconds)
{
    if (reverb)
        ApplyReverb(sound, *reverb, false);
    sound.FadeEdges(FadeInSeconds, fadeOutSeconds);
    sound.NormalizeTo(peakDecibels);
}

// Multiplies the sound by a raised-cosine fall that reaches silence at endSeconds.
void SilenceBy(StereoBuffer& sound, double fromSeconds, double endSeconds)
{
    const std::size_t from = FramesOf(fromSeconds);
    const std::size_t end = FramesOf(endSeconds);
    for (Mono* channel : {&sound.left, &sound.right}) {
        for (std::size_t i = from; i < channel->size(); ++i) {
            const double gain =
                i >= end ? 0.0 : 0.5 + 0.5 * std::cos(Pi * static_cast<double>(i - from) / static_cast<double>(end - from));
            (*channel)[i] *= static_cast<float>(gain);
        }
    }
}

Mono Decaying(Mono voice, double decaySeconds)
{
    for (std::size_t i = 0; i < voice.size(); ++i)
        voice[i] *= static_cast<float>(std::exp(-static_cast<double>(i) / (decaySeconds * SampleRate)));
    return voice;
}

// A rise over riseSeconds and then an exponential fall.
Mono Swelling(Mono voice, double riseSeconds, double decaySeconds)
{
    const std::size_t rise = FramesOf(riseSeconds);
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double gain = i < rise ? 0.5 - 0.5 * std::cos(Pi * static_cast<double>(i) / rise)
                                     : std::exp(-(t - riseSeconds) / decaySeconds);
        voice[i] *= static_cast<float>(gain);
    }
    return voice;
}

const ReverbSettings SmallRoom{0.35, 0.6, 0.15, 0.8};
const ReverbSettings Hall{0.7, 0.45, 0.25, 1.0};

}  // namespace

StereoBuffer WalkStep()
{
    StereoBuffer sound(FramesOf(0.22));
    sound.Add(Marimba(NoteHz("G4"), 0.5f, 0.22), 0, 0.8f, 0.0f, false);
    sound.Add(WoodTick(900.0, 0.5f), 0, 0.25f, 0.0f, false);
    Finish(sound, -12.0, &SmallRoom, 0.04);
    return sound;
}

StereoBuffer BlockLanding()
{
    StereoBuffer sound(FramesOf(0.45));
    sound.Add(SoftKick(1.0f), 0, 0.9f, 0.0f, false);
    sound.Add(Marimba(NoteHz("C3"), 0.85f, 0.45), 0, 0.7f, -0.05f, false);
    sound.Add(Marimba(NoteHz("G3"), 0.45f, 0.45), 0, 0.3f, 0.05f, false);
    sound.Add(Decaying(NoiseSweep(0.08, 1800.0, 400.0, 1.5, 11), 0.015), 0, 0.6f, 0.0f, false);
    Finish(sound, -5.0, &SmallRoom, 0.08);
    return sound;
}

StereoBuffer FlipBatchStart()
{
    StereoBuffer sound(FramesOf(1.15));
    const char* notes[] = {"C5", "E5", "G5", "C6", "E6", "G6"};
    for (int i = 0; i < 6; ++i)
        sound.Add(Glockenspiel(NoteHz(notes[i]), 0.45f + 0.08f * i, 1.0), At(0.065 * i), 0.32f, -0.5f + 0.2f * i, false);
    sound.Add(Swelling(NoiseSweep(0.7, 400.0, 5000.0, 3.0, 23), 0.3, 0.12), 0, 0.5f, 0.0f, false);
    for (const char* note : {"C4", "E4", "G4"})
        sound.Add(Pad(NoteHz(note), 1.0f, 0.35, 0.25, 0.5), 0, 0.3f, false);
    Finish(sound, -5.0, &Hall, 0.15);
    return sound;
}

StereoBuffer FlipDone()
{
    StereoBuffer sound(FramesOf(0.9));
    sound.Add(Glockenspiel(NoteHz("C6"), 0.7f, 0.9), 0, 0.7f, 0.0f, false);
    sound.Add(Chime(NoteHz("C7"), 0.5f, 0.9), 0, 0.15f, 0.1f, false);
    Finish(sound, -3.0, &SmallRoom, 0.2);
    return sound;
}

StereoBuffer MenuCursor()
{
    StereoBuffer sound(FramesOf(0.12));
    sound.Add(Marimba(NoteHz("E6"), 0.6f, 0.12), 0, 0.8f, 0.0f, false);
    sound.Add(WoodTick(NoteHz("E6") * 2.0, 0.3f), 0, 0.15f, 0.0f, false);
    Finish(sound, -10.0, nullptr, 0.05);
    return sound;
}

StereoBuffer TitleCursor()
{
    StereoBuffer sound(FramesOf(0.16));
    sound.Add(Marimba(NoteHz("A5"), 0.6f, 0.16), 0, 0.8f, 0.0f, false);
    sound.Add(Glockenspiel(NoteHz("A6"), 0.4f, 0.16), 0, 0.2f, 0.0f, false);
    Finish(sound, -10.0, nullptr, 0.07);
    return sound;
}

StereoBuffer Decide()
{
    StereoBuffer sound(FramesOf(0.8));
    sound.Add(Chime(NoteHz("G5"), 0.7f, 0.8), 0, 0.5f, -0.15f, false);
    sound.Add(Chime(NoteHz("C6"), 0.8f, 0.8), At(0.075), 0.55f, 0.15f, false);
    sound.Add(Marimba(NoteHz("C5"), 0.7f, 0.8), At(0.075), 0.35f, 0.0f, false);
    Finish(sound, -5.0, &SmallRoom, 0.25);
    return sound;
}

StereoBuffer ChargeLoop()
{
    constexpr double Seconds = 0.8;
    const std::size_t frames = FramesOf(Seconds);
    StereoBuffer sound(frames);
    // A tone that climbs an octave in each pass, under a swell that is silent at the seam.
    Mono tone(frames, 0.0f);
    double phase = 0.0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double progress = static_cast<double>(i) / frames;
        const double swell = std::pow(std::sin(Pi * progress), 2.0);
        tone[i] = static_cast<float>(swell * (std::sin(phase) + 0.3 * std::sin(2.0 * phase) + 0.1 * std::sin(3.0 * phase)));
        phase += 2.0 * Pi * NoteHz("G4") * std::pow(2.0, progress) / SampleRate;
    }
    sound.Add(tone, 0, 0.45f, 0.0f, false);
    StereoBuffer hum(frames);
    for (const char* note : {"C4", "G4"})
        hum.Add(Pad(NoteHz(note), 1.0f, Seconds * 0.5, Seconds * 0.45, Seconds * 0.5), 0, 0.4f, false);
    sound.Add(hum, 0, 1.0f, false);
    const char* sparkles[] = {"C6", "E6", "G6", "C7"};
    for (int i = 0; i < 4; ++i) {
        Mono sparkle = Glockenspiel(NoteHz(sparkles[i]), 0.4f + 0.1f * i, 0.17);
        ShapeEdges(sparkle, 0.001, 0.08);
        sound.Add(sparkle, At(0.05 + 0.17 * i), 0.18f, i % 2 ? 0.4f : -0.4f, false);
    }
    SilenceBy(sound, Seconds - 0.06, Seconds);
    sound.NormalizeTo(-8.0);
    return sound;
}

StereoBuffer Shot()
{
    StereoBuffer sound(FramesOf(0.45));
    Mono sweep(FramesOf(0.3), 0.0f);
    double phase = 0.0;
    for (std::size_t i = 0; i < sweep.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        sweep[i] = static_cast<float>(std::exp(-t / 0.07) * std::sin(phase));
        phase += 2.0 * Pi * (220.0 + 1200.0 * std::exp(-t / 0.05)) / SampleRate;
    }
    ShapeEdges(sweep, 0.002, 0.02);
    sound.Add(sweep, 0, 0.6f, 0.0f, false);
    sound.Add(Swelling(NoiseSweep(0.3, 3500.0, 500.0, 2.0, 37), 0.01, 0.07), 0, 0.7f, 0.0f, false);
    sound.Add(SoftKick(0.8f), 0, 0.35f, 0.0f, false);
    Finish(sound, -5.0, &SmallRoom, 0.1);
    return sound;
}

StereoBuffer Refused()
{
    constexpr double Seconds = 0.16;
    StereoBuffer sound(FramesOf(Seconds));
    Mono knock(FramesOf(Seconds), 0.0f);
    double phase = 0.0;
    for (std::size_t i = 0; i < knock.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        knock[i] = static_cast<float>(std::exp(-t / 0.04) * (std::sin(phase) + 0.3 * std::sin(2.0 * phase)));
        phase += 2.0 * Pi * (110.0 + 150.0 * std::exp(-t / 0.025)) / SampleRate;
    }
    // Rounded off so the knock stays a thud rather than a buzz.
    LowPass(knock, 700.0);
    sound.Add(knock, 0, 0.9f, 0.0f, false);
    sound.Add(Decaying(NoiseSweep(0.05, 600.0, 250.0, 1.5, 67), 0.01), 0, 0.2f, 0.0f, false);
    Finish(sound, -9.0, nullptr, 0.05);
    return sound;
}

StereoBuffer GameOverSting()
{
    StereoBuffer sound(FramesOf(3.4));
    const char* fall[] = {"G5", "E5", "C5"};
    for (int i = 0; i < 3; ++i) {
        sound.Add(Marimba(NoteHz(fall[i]), 0.75f, 1.2), At(0.24 * i), 0.45f, -0.2f + 0.2f * i, false);
        sound.Add(Chime(NoteHz(fall[i]), 0.5f, 1.2), At(0.24 * i), 0.18f, 0.2f, false);
    }
    const double landing = 0.76;
    for (const char* note : {"A3", "C4", "E4"})
        sound.Add(Pad(NoteHz(note), 1.0f, 1.4, 0.2, 1.2), At(landing), 0.4f, false);
    sound.Add(Marimba(NoteHz("A4"), 0.8f, 2.0), At(landing), 0.5f, 0.0f, false);
    sound.Add(Glockenspiel(NoteHz("E5"), 0.5f, 2.4), At(landing), 0.15f, 0.3f, false);
    sound.Add(Bass(NoteHz("A2"), 0.8f, 1.5), At(landing), 0.35f, 0.0f, false);
    Finish(sound, -4.0, &Hall, 0.5);
    return sound;
}

StereoBuffer ClearFanfare()
{
    StereoBuffer sound(FramesOf(2.4));
    const char* rise[] = {"G4", "C5", "E5", "G5"};
    for (int i = 0; i < 4; ++i)
        sound.Add(Marimba(NoteHz(rise[i]), 0.75f, 1.0), At(0.11 * i), 0.5f, -0.3f + 0.2f * i, false);
    for (const char* note : {"C6", "E6", "G6"})
        sound.Add(Glockenspiel(NoteHz(note), 0.7f, 1.9), At(0.5), 0.25f, 0.1f, false);
    for (const char* note : {"C4", "E4", "G4"})
        sound.Add(Pad(NoteHz(note), 1.0f, 0.9, 0.05, 1.0), At(0.5), 0.35f, false);
    Finish(sound, -4.0, &Hall, 0.4);
    return sound;
}

StereoBuffer ClearSwing()
{
    // Restarted every 160 ms, so it is quiet again by then.
    constexpr double Seconds = 0.155;
    StereoBuffer sound(FramesOf(Seconds));
    sound.Add(Swelling(NoiseSweep(Seconds, 700.0, 6000.0, 2.5, 41), 0.04, 0.05), 0, 0.8f, 0.0f, false);
    const char* gliss[] = {"C5", "E5", "G5", "C6"};
    for (int i = 0; i < 4; ++i)
        sound.Add(Harp(NoteHz(gliss[i]), 0.6f, Seconds), At(0.022 * i), 0.3f, -0.45f + 0.3f * i, false);
    SilenceBy(sound, 0.09, Seconds);
    sound.FadeEdges(FadeInSeconds, 0.0);
    sound.NormalizeTo(-6.0);
    return sound;
}

StereoBuffer ClearStrum()
{
    StereoBuffer sound(FramesOf(1.6));
    const char* strum[] = {"C4", "E4", "G4", "C5", "E5", "G5", "C6"};
    for (int i = 0; i < 7; ++i)
        sound.Add(Harp(NoteHz(strum[i]), 0.8f, 1.6), At(0.018 * i), 0.3f, -0.6f + 0.2f * i, false);
    sound.Add(Glockenspiel(NoteHz("C6"), 0.7f, 1.5), At(0.12), 0.25f, 0.2f, false);
    sound.Add(Glockenspiel(NoteHz("G6"), 0.5f, 1.4), At(0.2), 0.12f, -0.2f, false);
    Finish(sound, -4.0, &Hall, 0.35);
    return sound;
}

StereoBuffer ClearJingle()
{
    StereoBuffer sound(FramesOf(3.2));
    const char* line[] = {"C5", "E5", "G5", "C6", "G5", "A5", "B5"};
    const double times[] = {0.0, 0.12, 0.24, 0.36, 0.6, 0.72, 0.84};
    for (int i = 0; i < 7; ++i) {
        sound.Add(Marimba(NoteHz(line[i]), 0.8f, 1.0), At(times[i]), 0.45f, -0.2f, false);
        sound.Add(Glockenspiel(NoteHz(line[i]), 0.5f, 1.0), At(times[i]), 0.16f, 0.25f, false);
    }
    // The final chord lands just before the burning begins.
    const double chord = 1.04;
    for (const char* note : {"C6", "E6", "G6"})
        sound.Add(Glockenspiel(NoteHz(note), 0.75f, 2.1), At(chord), 0.22f, 0.1f, false);
    for (const char* note : {"C4", "E4", "G4", "C5"}) {
        sound.Add(Harp(NoteHz(note), 0.8f, 2.1), At(chord), 0.22f, -0.1f, false);
        sound.Add(Pad(NoteHz(note), 1.0f, 1.0, 0.03, 1.1), At(chord), 0.25f, false);
    }
    sound.Add(Bass(NoteHz("C3"), 0.9f, 1.2), At(chord), 0.4f, 0.0f, false);
    Finish(sound, -3.0, &Hall, 0.6);
    return sound;
}

StereoBuffer BlockBurst()
{
    // Restarted every 160 ms while blocks burn one after another.
    constexpr double Seconds = 0.15;
    StereoBuffer sound(FramesOf(Seconds));
    sound.Add(Decaying(NoiseSweep(Seconds, 2500.0, 1200.0, 2.0, 53), 0.02), 0, 0.7f, 0.0f, false);
    Mono puff(FramesOf(0.06), 0.0f);
    double phase = 0.0;
    for (std::size_t i = 0; i < puff.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        puff[i] = static_cast<float>(std::exp(-t / 0.015) * std::sin(phase));
        phase += 2.0 * Pi * (150.0 + 250.0 * std::exp(-t / 0.01)) / SampleRate;
    }
    ShapeEdges(puff, 0.001, 0.01);
    sound.Add(puff, 0, 0.6f, 0.0f, false);
    const char* sparkles[] = {"E6", "G6", "C7"};
    for (int i = 0; i < 3; ++i)
        sound.Add(Decaying(Glockenspiel(NoteHz(sparkles[i]), 0.6f, Seconds), 0.05), At(0.02 + 0.025 * i), 0.3f,
                  -0.4f + 0.4f * i, false);
    SilenceBy(sound, 0.1, Seconds);
    sound.FadeEdges(FadeInSeconds, 0.0);
    sound.NormalizeTo(-6.0);
    return sound;
}

StereoBuffer CubeTurn()
{
    // The turn lasts 30 frames and is cut when it ends; the whoosh is over by then.
    constexpr double Seconds = 0.45;
    StereoBuffer sound(FramesOf(Seconds));
    Mono whoosh = NoiseSweep(Seconds, 300.0, 2600.0, 2.0, 61);
    for (std::size_t i = 0; i < whoosh.size(); ++i)
        whoosh[i] *= static_cast<float>(std::pow(std::sin(Pi * static_cast<double>(i) / whoosh.size()), 2.0));
    sound.Add(whoosh, 0, 0.9f, -0.2f, false);
    Mono tock = Marimba(NoteHz("G4"), 0.5f, Seconds);
    sound.Add(tock, 0, 0.3f, 0.2f, false);
    SilenceBy(sound, 0.3, Seconds);
    sound.FadeEdges(FadeInSeconds, 0.0);
    sound.NormalizeTo(-4.0);
    return sound;
}
