#pragma once

#include <optional>
#include <random>
#include <vector>

#include "KeyScript.h"

// A random player for soak runs: presses and releases every script key but
// Escape (the play aids' keys too when they are on), at most one change a
// frame, so every scene, menu and fade is reached; the same seed plays the
// same game.
class RandomKeys {
public:
    RandomKeys(unsigned seed, bool assists);

    // The change to make before frame, if any.
    std::optional<KeyChange> Next(int frame);

private:
    std::mt19937 random;
    std::vector<int> keys;
    std::vector<bool> down;
};
