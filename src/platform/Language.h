#pragma once

#include <string>

// The language the game's message boxes speak. Their words are written in
// Japanese; English is the one translation.
enum class Language { Japanese, English };

// The player's language from the environment, as gettext reads it: the first
// of LC_ALL, LC_MESSAGES and LANG that is set and not empty. A Japanese locale
// keeps the Japanese texts; "C", "POSIX" and no setting at all choose no
// language, so they keep them too; any other locale gives English.
Language LanguageFromEnvironment();
Language LanguageOfLocale(const std::string& locale);
