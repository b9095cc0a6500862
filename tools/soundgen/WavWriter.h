#pragma once

#include <string>

#include "Signal.h"

// Writes 44.1 kHz 16-bit stereo PCM; samples beyond full scale are clamped.
// False with the reason in error when the file cannot be written.
bool WriteWav(const std::string& path, const StereoBuffer& sound, std::string& error);
