#pragma once

#include <string>

#include "app/Settings.h"

// The player's settings file, plain "key = value" lines:
//
//     music = 80          0 to 100
//     effects = 100       0 to 100
//     display = window    ask (the question at every start), window or fullscreen
//
// Blank lines and lines starting with # are skipped; a key left out keeps
// its default.
namespace SettingsFile {

// "$XDG_CONFIG_HOME/orb/settings.ini", by default "~/.config/orb/settings.ini";
// empty when neither names an absolute folder.
std::string DefaultPath();

// Reads the file at path into settings. A missing file is no fault: the
// defaults stand. A file that cannot be read, or holds a line that is not one
// of the settings with a value it can take, leaves every setting at its
// default, and false with the reason (naming the file and line) in warning.
bool Read(const std::string& path, Settings& settings, std::string& warning);

// Replaces the file whole (see AtomicFile), making its folder; false when it
// cannot be written.
bool Write(const std::string& path, const Settings& settings);

}  // namespace SettingsFile
