#pragma once

#include <string>

// The language the game's message boxes speak. Their words are written in
// Japanese; English is the one translation.
enum class Language { Japanese, English };

// The player's language from the environment, as gettext reads it: the first
// of LC_ALL, LC_MESSAGES and LANG that is set and not empty. Only a locale
// that names Japanese ("ja", "ja_JP.UTF-8" ...) keeps the Japanese texts;
// every other, "C", "C.UTF-8", "POSIX" and no setting at all included, gives
// English, which a player who set nothing is likelier to read.
Language LanguageFromEnvironment();
Language LanguageOfLocale(const std::string& locale);
