#pragma once

#include <string>

#include "app/Settings.h"

// The player's settings file, plain "key = value" lines:
//
//     music = 80          0 to 100
//     effects = 100       0 to 100
//     display = window    ask (the question at start), window or fullscreen
//
// Blank lines and lines starting with # are skipped; a key left out keeps
// its default. The file is the player's: the game changes only the lines of
// the settings it saves, and keeps comments, other lines, their order, a
// link to the file and the file's permissions.
namespace SettingsFile {

// "$XDG_CONFIG_HOME/orb/settings.ini", by default "~/.config/orb/settings.ini";
// empty when neither names an absolute folder.
std::string DefaultPath();

enum class ReadOutcome {
    Whole,         // every line was a setting, or there is no file: the defaults stand
    LinesSkipped,  // the good lines were taken; warning names the first bad one
    Unreadable,    // not a readable text file: the defaults stand, and the game must not write it
};

// Reads the file at path into settings and settings.inFile, with the reason
// (naming the file) in warning when the outcome is not Whole.
ReadOutcome Read(const std::string& path, Settings& settings, std::string& warning);

// Saves the settings that differ from settings.inFile in the file at path as
// it is at that moment, under a lock that other copies of the game take too,
// changing only their lines (a missing one is added at the end; a missing
// file is made, with its folder, holding every setting). A link is written
// through to its target. False, changing nothing, when the file cannot be
// read as a settings file or written.
bool Write(const std::string& path, Settings& settings);

}  // namespace SettingsFile
