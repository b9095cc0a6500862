#pragma once

#include <optional>
#include <string>

#include "app/Settings.h"
#include "app/SettingsFile.h"

// The player's settings from a settings file (by default the player's own,
// SettingsFile::DefaultPath), kept there again when they change. Lines that
// are no settings are skipped; a file that cannot be read as a settings file
// gives the defaults and is never written in this run, lest the player's own
// file be lost. Either says so in one line on stderr that begins with program.
Settings PlayerSettings(const char* program, const std::string& file = SettingsFile::DefaultPath());

// The full-screen question's answer the display setting gives in advance;
// nothing when the question is to be asked.
std::optional<bool> DisplayAnswer(Display display);

// Keeps the full-screen question's answer as the display setting, in the
// settings file when there is one; one line on stderr, beginning with
// program, when it cannot be written there.
void KeepDisplayAnswer(const char* program, Settings& settings, bool fullScreen);
