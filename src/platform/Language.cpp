#include "platform/Language.h"

#include <cstdlib>

Language LanguageFromEnvironment()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return LanguageOfLocale(value);
    }
    return Language::English;
}

Language LanguageOfLocale(const std::string& locale)
{
    const std::string name = locale.substr(0, locale.find_first_of("_.@"));
    return name == "ja" ? Language::Japanese : Language::English;
}
