#include "app/SettingsFile.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "files/AtomicFile.h"

namespace {

namespace fs = std::filesystem;

// A settings file is a few short lines; anything longer is not one.
constexpr std::uintmax_t MaxFileBytes = 64 * 1024;

const char* const DisplayNames[] = {"ask", "window", "fullscreen"};

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool Level(std::string_view text, int& level)
{
    const char* end = text.data() + text.size();
    const auto parsed = std::from_chars(text.data(), end, level);
    return parsed.ec == std::errc() && parsed.ptr == end && level >= 0 && level <= 100;
}

bool DisplayOf(std::string_view text, Display& display)
{
    for (int i = 0; i < 3; ++i) {
        if (text == DisplayNames[i]) {
            display = static_cast<Display>(i);
            return true;
        }
    }
    return false;
}

}  // namespace

namespace SettingsFile {

std::string DefaultPath()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && fs::path(config).is_absolute())
        return (fs::path(config) / "orb/settings.ini").string();
    const char* home = std::getenv("HOME");
    if (home && fs::path(home).is_absolute())
        return (fs::path(home) / ".config/orb/settings.ini").string();
    return {};
}

bool Read(const std::string& path, Settings& settings, std::string& warning)
{
    std::error_code code;
    if (!fs::exists(path, code) && !code)
        return true;
    const auto fail = [&](const std::string& why) {
        warning = path + ": " + why + "; the defaults are used";
        return false;
    };
    const std::uintmax_t size = fs::file_size(path, code);
    if (code)
        return fail(code.message());
    if (size > MaxFileBytes)
        return fail("too large to be a settings file");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail(std::strerror(errno));
    Settings read = settings;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string_view text = Trimmed(line);
        if (text.empty() || text.front() == '#')
            continue;
        const auto equals = text.find('=');
        const std::string_view key = Trimmed(text.substr(0, equals));
        const std::string_view value = equals == std::string_view::npos ? "" : Trimmed(text.substr(equals + 1));
        const bool good = (key == "music" && Level(value, read.musicLevel)) ||
                          (key == "effects" && Level(value, read.effectsLevel)) ||
                          (key == "display" && DisplayOf(value, read.display));
        if (!good)
            return fail("line " + std::to_string(number) + " is not \"music = 0..100\", \"effects = 0..100\" or "
                        "\"display = ask|window|fullscreen\"");
    }
    if (in.bad())
        return fail("cannot be read");
    settings = read;
    return true;
}

bool Write(const std::string& path, const Settings& settings)
{
    std::error_code code;
    fs::create_directories(fs::path(path).parent_path(), code);
    const std::string text = "# ORB's settings: the volumes from 0 to 100, and the display at start:\n"
                             "# ask (the question), window or fullscreen.\n"
                             "music = " + std::to_string(settings.musicLevel) + "\n"
                             "effects = " + std::to_string(settings.effectsLevel) + "\n"
                             "display = " + DisplayNames[static_cast<int>(settings.display)] + "\n";
    return AtomicFile::Replace(path, text);
}

}  // namespace SettingsFile
