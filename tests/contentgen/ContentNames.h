#pragma once

#include <string>
#include <vector>

// Every content file name the game can ask for, built the way the scenes
// build them at run time, relative to the runtime directory.
std::vector<std::string> ModelNames();
std::vector<std::string> ImageNames();

// The runtime directory the build assembled.
std::string ContentDir();
