#pragma once

#include <string>

#include "app/KeyLatch.h"

class Application;
class GraphicsDevice;
class SoundPlayer;
struct Settings;

// - and = turn the music down and up, [ and ] every other sound, a step at
// a time. The new level shows for a moment ("music 70") and goes to the
// player's settings file, saying so when it could not be saved.
class VolumeKeys {
public:
    // Once a frame.
    void Read(Application& application, Settings& settings, SoundPlayer& sound);
    // The level to show; empty when none.
    const std::string& Shown() const { return shown; }

private:
    KeyLatch latch;
    std::string shown;
    int frames = 0;
};

// The level shown in the picture's top right corner, inside a sprite batch.
// outlined: ringed in the paper colour, so it reads on any sky (a play aid).
void DrawVolumeLevel(GraphicsDevice& device, const std::string& level, bool outlined);
