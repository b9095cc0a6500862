#pragma once

#include <cstdint>

#include "Signal.h"

// The voices of the game's sound: tuned percussion (marimba, glockenspiel,
// chime), a harp, an electric piano, a soft pad and bass, light percussion and
// swept noise. Each renders one note from frame 0; velocity runs from 0 to 1
// and also brightens the tone.

Mono Marimba(double hz, float velocity, double seconds = 1.6);
Mono Glockenspiel(double hz, float velocity, double seconds = 2.5);
// A soft FM bell, rounder than the glockenspiel.
Mono Chime(double hz, float velocity, double seconds = 1.8);
Mono Harp(double hz, float velocity, double seconds = 2.0);
// Held for seconds, then released.
Mono ElectricPiano(double hz, float velocity, double seconds);
Mono Bass(double hz, float velocity, double seconds);
// Three detuned voices spread across the stereo field, slow to rise and fall.
StereoBuffer Pad(double hz, float velocity, double seconds, double attackSeconds = 0.5,
                 double releaseSeconds = 1.2);

Mono Shaker(float velocity, std::uint32_t seed);
Mono WoodTick(double hz, float velocity);
Mono SoftKick(float velocity);
// White noise through a band-pass whose centre glides from fromHz to toHz.
Mono NoiseSweep(double seconds, double fromHz, double toHz, double resonance, std::uint32_t seed);

// Shapes a voice: a raised-cosine rise over attack and a fall to silence over
// the last release seconds.
void ShapeEdges(Mono& voice, double attackSeconds, double releaseSeconds);
// One-pole low-pass, for softening.
void LowPass(Mono& voice, double cutoffHz);
