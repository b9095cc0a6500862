#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The sample-level building blocks every generated sound is made of.

constexpr int SampleRate = 44100;
constexpr double Pi = 3.14159265358979323846;

using Mono = std::vector<float>;

// Two channels of float samples; full scale is ±1.
struct StereoBuffer {
    Mono left;
    Mono right;

    StereoBuffer() = default;
    explicit StereoBuffer(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t Frames() const { return left.size(); }
    // Adds a mono voice from frame start with the pan from -1 (left) to 1
    // (right), equal power. Looping buffers wrap the voice's tail round to the
    // start so the end flows into the beginning; others cut it at the end.
    void Add(const Mono& voice, std::ptrdiff_t start, float gain, float pan, bool wrap);
    void Add(const StereoBuffer& other, std::ptrdiff_t start, float gain, bool wrap);
    void Scale(float gain);
    float Peak() const;
    // Scales so the loudest sample sits at the given level in decibels below full scale.
    void NormalizeTo(double peakDecibels);
    // Raised-cosine fades at both ends so a one-shot neither starts nor stops with a click.
    void FadeEdges(double inSeconds, double outSeconds);
};

// Deterministic noise: every sound seeds its own generator, so the same source
// always writes the same bytes.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t Next();
    // Uniform in [-1, 1).
    float Bipolar();
    // Uniform in [0, 1).
    float Unit();

private:
    std::uint32_t state;
};

std::size_t FramesOf(double seconds);
double MidiToHz(double midiNote);
// "C4" is middle C (60); sharps as "F#4", flats as "Bb3".
int NoteNumber(const std::string& name);
double NoteHz(const std::string& name);
