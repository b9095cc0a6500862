#pragma once

#include <string>

// The game reads Resource/... and Shader/... and writes best scores and edited
// stages under Resource/BData, all relative to where it runs. Installed, its
// content lies read-only in <prefix>/share/games/orb, so the installed game runs in
// a folder of the player's own ($XDG_DATA_HOME/orb, by default
// ~/.local/share/orb): a copy of the stage folder, and links to the rest.

// Prepares the folder the game runs in and changes into it. executablePath
// names the running program; links are followed, so "/proc/self/exe" names it
// however the program was started. Without installed content beside the
// program (the build tree) the working directory stays as it is. Shipped stage
// and result files the player does not have yet are copied in, never over the
// player's own, so scores and edited stages outlive updates; links to
// installed content that moved are replaced. False, with a one-line reason
// naming the path and the system's error, when the folder cannot be made,
// filled or entered; nothing of the player's is removed on the way.
bool EnterDataDirectory(const std::string& executablePath, std::string& error);

// Removes what saves killed before they got their name left behind (see
// AtomicFile::RemoveLeftovers) in the folders the game writes: the settings
// file's and, where the game runs, that folder itself, Resource/BData and its
// groups' folders, and the player's own stages.
void RemoveSaveLeftovers(const std::string& settingsFile);
