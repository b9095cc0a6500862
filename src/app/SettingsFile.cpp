#include "app/SettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "files/AtomicFile.h"
#include "files/FileBytes.h"
#include "files/FileLock.h"

namespace {

namespace fs = std::filesystem;

// A settings file is a few short lines; anything longer is not one.
constexpr std::size_t MaxFileBytes = 64 * 1024;
constexpr int MaxLevel = 100;
// More links than this on the way to the file go round in a circle.
constexpr int MaxLinks = 40;

const char* const Keys[] = {"music", "effects", "display"};
const char* const DisplayNames[] = {"ask", "window", "fullscreen"};
const char* const LineForm = "\"music = 0..100\", \"effects = 0..100\" or \"display = ask|window|fullscreen\"";
const char* const Header = "# ORB's settings: the volumes from 0 to 100, and the display at start:\n"
                           "# ask (the question), window or fullscreen.\n";

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool Level(std::string_view text, int& level)
{
    int read = 0;
    const char* end = text.data() + text.size();
    const auto parsed = std::from_chars(text.data(), end, read);
    if (parsed.ec != std::errc() || parsed.ptr != end || read < 0 || read > MaxLevel)
        return false;
    level = read;
    return true;
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

// Takes one line's setting; false, changing nothing, when it is none.
bool Apply(std::string_view key, std::string_view value, KeptSettings& settings)
{
    return (key == "music" && Level(value, settings.musicLevel)) ||
           (key == "effects" && Level(value, settings.effectsLevel)) ||
           (key == "display" && DisplayOf(value, settings.display));
}

std::string ValueText(const KeptSettings& settings, std::string_view key)
{
    if (key == "music")
        return std::to_string(settings.musicLevel);
    if (key == "effects")
        return std::to_string(settings.effectsLevel);
    return DisplayNames[static_cast<int>(settings.display)];
}

// The text's lines, each without its "\n" and pointing into the text.
std::vector<std::string_view> LinesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// A line's key, or nothing for a blank line or a comment.
std::optional<std::string_view> KeyOf(std::string_view line)
{
    const std::string_view text = Trimmed(line);
    if (text.empty() || text.front() == '#')
        return std::nullopt;
    return Trimmed(text.substr(0, text.find('=')));
}

std::string_view ValueOf(std::string_view line)
{
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : Trimmed(line.substr(equals + 1));
}

// The text with key's line (the last, the one that counts) saying value, or
// with the line added at the end; every other byte stays as it was.
std::string WithSetting(std::string_view text, std::string_view key, const std::string& value)
{
    const std::vector<std::string_view> lines = LinesOf(text);
    std::string line = std::string(key) + " = " + value;
    const auto found = std::find_if(lines.rbegin(), lines.rend(), [&](std::string_view l) { return KeyOf(l) == key; });
    if (found == lines.rend()) {
        std::string appended(text);
        if (!appended.empty() && appended.back() != '\n')
            appended += '\n';
        return appended + line + '\n';
    }
    if (found->ends_with('\r'))
        line += '\r';
    const std::size_t at = static_cast<std::size_t>(found->data() - text.data());
    return std::string(text.substr(0, at)) + line + std::string(text.substr(at + found->size()));
}

// Binary content (a NUL or another control character) is no settings file.
bool IsText(std::string_view text)
{
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7f;
    });
}

// The file's text; nothing, with error empty, when there is no file, and
// nothing with the reason when the file is no settings file or unreadable.
std::optional<std::string> TextOf(const std::string& path, std::string& error)
{
    std::optional<std::string> text = ReadFileText(path, MaxFileBytes, error);
    if (!text && errno == ENOENT) {
        error.clear();
    } else if (text && !IsText(*text)) {
        error = "not a text file";
        text.reset();
    }
    return text;
}

// The file a path leads to through any links: the one to replace, so that
// a link stays a link.
fs::path LinkTarget(fs::path path)
{
    std::error_code code;
    for (int hop = 0; hop < MaxLinks && fs::is_symlink(path, code); ++hop) {
        const fs::path next = fs::read_symlink(path, code);
        if (code)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
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

ReadOutcome Read(const std::string& path, Settings& settings, std::string& warning)
{
    std::string error;
    const std::optional<std::string> text = TextOf(path, error);
    if (!text) {
        if (error.empty())
            return ReadOutcome::Whole;
        warning = path + ": " + error + "; the defaults are used, and volumes changed now hold for this run only";
        return ReadOutcome::Unreadable;
    }
    const std::vector<std::string_view> lines = LinesOf(*text);
    std::size_t firstBad = 0;
    int bad = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<std::string_view> key = KeyOf(lines[i]);
        if (key && !Apply(*key, ValueOf(lines[i]), settings) && bad++ == 0)
            firstBad = i + 1;
    }
    settings.inFile = static_cast<const KeptSettings&>(settings);
    if (bad == 0)
        return ReadOutcome::Whole;
    warning = path + ": line " + std::to_string(firstBad);
    if (bad == 1)
        warning += std::string(" is not ") + LineForm + "; it is skipped";
    else
        warning += " and " + std::to_string(bad - 1) + " more are not " + LineForm + "; they are skipped";
    return ReadOutcome::LinesSkipped;
}

bool Write(const std::string& path, Settings& settings)
{
    const KeptSettings& now = settings;
    std::vector<const char*> changed;
    for (const char* key : Keys) {
        if (ValueText(now, key) != ValueText(settings.inFile, key))
            changed.push_back(key);
    }
    if (changed.empty())
        return true;
    const fs::path target = LinkTarget(path);
    std::error_code code;
    fs::create_directories(target.parent_path(), code);
    // Another copy of the game may be saving too: each reads the file as the
    // other left it.
    const std::string lockName = std::string(".").append(target.filename().string()).append(".lock");
    const FileLock lock((target.parent_path() / lockName).string());
    std::string error;
    const std::optional<std::string> text = TextOf(target.string(), error);
    if (!error.empty())
        return false;
    std::string updated = text ? *text : Header;
    for (const char* key : text ? changed : std::vector<const char*>(std::begin(Keys), std::end(Keys)))
        updated = WithSetting(updated, key, ValueText(now, key));
    if (!AtomicFile::Replace(target.string(), updated))
        return false;
    settings.inFile = now;
    return true;
}

}  // namespace SettingsFile
