#include "main/PlayerSettings.h"

#include <cstdio>

Settings PlayerSettings(const char* program, const std::string& file)
{
    Settings settings;
    settings.file = file;
    std::string warning;
    if (!settings.file.empty() && !SettingsFile::Read(settings.file, settings, warning))
        std::fprintf(stderr, "%s: %s\n", program, warning.c_str());
    return settings;
}

std::optional<bool> DisplayAnswer(Display display)
{
    switch (display) {
    case Display::Window:
        return false;
    case Display::FullScreen:
        return true;
    default:
        return std::nullopt;
    }
}
