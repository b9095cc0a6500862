#include "main/PlayerSettings.h"

#include <cstdio>

Settings PlayerSettings(const char* program, const std::string& file)
{
    Settings settings;
    if (file.empty())
        return settings;
    std::string warning;
    if (SettingsFile::Read(file, settings, warning) != SettingsFile::ReadOutcome::Unreadable)
        settings.file = file;
    if (!warning.empty())
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

void KeepDisplayAnswer(const char* program, Settings& settings, bool fullScreen)
{
    settings.display = fullScreen ? Display::FullScreen : Display::Window;
    if (!settings.file.empty() && !SettingsFile::Write(settings.file, settings))
        std::fprintf(stderr, "%s: the display answer could not be kept in %s; the question comes back next time\n",
                     program, settings.file.c_str());
}
