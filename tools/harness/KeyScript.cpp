#include "KeyScript.h"

#include <algorithm>
#include <charconv>
#include <span>
#include <sstream>
#include <utility>

#include "platform/VirtualKey.h"

namespace {

const std::pair<const char*, int> ScriptKeys[] = {
    {"Up", VirtualKey::Up},         {"Down", VirtualKey::Down}, {"Left", VirtualKey::Left},
    {"Right", VirtualKey::Right},   {"Space", VirtualKey::Space}, {"Enter", VirtualKey::Return},
    {"Escape", VirtualKey::Escape}, {"M", VirtualKey::M},       {"L", VirtualKey::L},
    {"P", VirtualKey::P},           {"C", VirtualKey::C},       {"X", VirtualKey::X},
    {"1", VirtualKey::Digit1},      {"2", VirtualKey::Digit2},  {"3", VirtualKey::Digit3},
};

// The volume keys: no random player touches the player's settings.
const std::pair<const char*, int> VolumeKeys[] = {{"Minus", VirtualKey::Minus},
                                                   {"Equals", VirtualKey::Equals},
                                                   {"LeftBracket", VirtualKey::LeftBracket},
                                                   {"RightBracket", VirtualKey::RightBracket}};

// The play aids' keys.
const std::pair<const char*, int> AssistKeys[] = {
    {"H", VirtualKey::H}, {"Z", VirtualKey::Z}, {"Backspace", VirtualKey::Back}, {"F1", VirtualKey::F1},
    {"V", VirtualKey::V}, {"T", VirtualKey::T}, {"Y", VirtualKey::Y},         {"R", VirtualKey::R},
    {"Shift", VirtualKey::Shift}, {"Tab", VirtualKey::Tab}, {"Ctrl", VirtualKey::Control}};

}  // namespace

std::vector<int> PlayKeys(bool assists)
{
    std::vector<int> keys;
    for (const auto& [keyName, code] : ScriptKeys) {
        if (code != VirtualKey::Escape)
            keys.push_back(code);
    }
    if (assists) {
        for (const auto& [keyName, code] : AssistKeys)
            keys.push_back(code);
    }
    return keys;
}

int KeyByName(const std::string& name)
{
    // Any letter or digit by itself, as a name is typed.
    if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
        return name[0];
    using Names = std::span<const std::pair<const char*, int>>;
    for (const Names keys : {Names(ScriptKeys), Names(AssistKeys), Names(VolumeKeys)}) {
        for (const auto& [keyName, code] : keys) {
            if (name == keyName)
                return code;
        }
    }
    return -1;
}

bool ParseKeyScript(std::istream& in, std::vector<KeyChange>& changes, std::string& error)
{
    changes.clear();
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::string frameText, keyName, direction, extra;
        if (!(fields >> frameText))
            continue;
        const auto fail = [&](const std::string& reason) {
            error = "line " + std::to_string(lineNumber) + ": " + reason;
            return false;
        };
        if (!(fields >> keyName >> direction))
            return fail("expected FRAME KEY down|up");
        if (fields >> extra)
            return fail("unexpected '" + extra + "' after the direction");

        KeyChange change;
        const char* end = frameText.data() + frameText.size();
        const auto parsed = std::from_chars(frameText.data(), end, change.frame);
        if (parsed.ec != std::errc() || parsed.ptr != end || change.frame < 0)
            return fail("frame '" + frameText + "' is not a whole number from 0");
        change.virtualKey = KeyByName(keyName);
        if (change.virtualKey < 0)
            return fail("unknown key '" + keyName + "'");
        if (direction != "down" && direction != "up")
            return fail("direction '" + direction + "' is neither down nor up");
        change.down = direction == "down";
        changes.push_back(change);
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const KeyChange& a, const KeyChange& b) { return a.frame < b.frame; });
    return true;
}
