#pragma once

#include <string>
#include <vector>

// Every content file name the game can ask for, from assets/AssetFiles.h, the
// numbered ones for every group, stage and digit, relative to the runtime
// directory.
std::vector<std::string> ModelNames();
std::vector<std::string> ImageNames();

// The runtime directory the build assembled.
std::string ContentDir();
