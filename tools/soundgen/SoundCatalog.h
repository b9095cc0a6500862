#pragma once

#include <string>
#include <vector>

#include "Signal.h"

// Every sound file the scenes load from Resource/Sound, with what makes it.
struct SoundRecipe {
    const char* fileName;
    StereoBuffer (*make)();
    // Played looping by the game, so its end must flow into its start.
    bool loops;
};

const std::vector<SoundRecipe>& SoundCatalog();

// Writes every file of the catalog into folder (which must exist). False with
// the reason in error at the first file that cannot be written.
bool WriteSoundCatalog(const std::string& folder, std::string& error);
