#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "Signal.h"
#include "assets/AssetFiles.h"

// Every sound file the scenes load (SoundFile), with what makes it.
struct SoundRecipe {
    const char* file;
    StereoBuffer (*make)();
    // Played looping by the game, so its end must flow into its start.
    bool loops;
};

const std::vector<SoundRecipe>& SoundCatalog();

// Writes every file of the catalog under the runtime directory, making its
// folder. False with the reason in error at the first file that cannot be
// written.
bool WriteSoundCatalog(const std::filesystem::path& runtime, std::string& error);
