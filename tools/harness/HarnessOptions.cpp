#include "HarnessOptions.h"

#include <charconv>
#include <iterator>
#include <string_view>

namespace {

// The scenes' names in the order of their list, between each two and
// beforeLast before the last: the usage's choices, a refusal's reason.
std::string SceneNames(std::string_view between, std::string_view beforeLast)
{
    std::string names;
    for (const SceneEntry& scene : SceneList) {
        if (!names.empty())
            names += &scene == std::end(SceneList) - 1 ? beforeLast : between;
        names += scene.name;
    }
    return names;
}

bool ParseInt(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    const auto parsed = std::from_chars(text.data(), end, value);
    return !text.empty() && parsed.ec == std::errc() && parsed.ptr == end;
}

bool ParseScene(const std::string& name, SceneId& id)
{
    for (const SceneEntry& scene : SceneList) {
        if (name == scene.name) {
            id = scene.id;
            return true;
        }
    }
    return false;
}

}  // namespace

std::string HarnessUsage()
{
    return "usage: orb-harness [--data DIR] [--frames N] [--scene " + SceneNames("|", "|") +
           "] [--group G] [--stage S]\n"
           "                   [--answer-fullscreen yes|no] [--headless] [--realtime] [--screenshot N:FILE]...\n"
           "                   [--keys FILE] [--trace FILE] [--drawlog FILE] [--random-keys SEED]\n"
           "                   [--memory-log FILE] [--play STAGEFILE] [--window-shot N:FILE]...\n"
           "                   [--resize N:WIDTHxHEIGHT]... [--assists] [--follow-hints] [--settings FILE]\n"
           "                   [--keep-unfinished]\n";
}

bool ParseHarnessOptions(const std::vector<std::string>& arguments, const std::string& defaultDataDirectory,
                         HarnessOptions& options, std::string& error)
{
    options = HarnessOptions{};
    options.dataDirectory = defaultDataDirectory;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--headless") {
            options.headless = true;
            continue;
        }
        if (option == "--realtime") {
            options.realtime = true;
            continue;
        }
        if (option == "--assists") {
            options.assists = true;
            continue;
        }
        if (option == "--keep-unfinished") {
            options.assists = true;
            options.keepUnfinished = true;
            continue;
        }
        if (option == "--follow-hints") {
            options.assists = true;
            options.followHints = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = option.rfind("--", 0) == 0 ? option + " needs a value" : "unexpected argument '" + option + "'";
            return false;
        }
        const std::string& value = arguments[++i];
        const auto bad = [&](const std::string& expected) {
            error = option + " " + value + ": " + expected;
            return false;
        };
        int number = 0;
        if (option == "--data") {
            options.dataDirectory = value;
        } else if (option == "--frames") {
            if (!ParseInt(value, number) || number < 0)
                return bad("expected a frame count from 0");
            options.frames = number;
        } else if (option == "--scene") {
            if (!ParseScene(value, options.scene))
                return bad("expected " + SceneNames(", ", " or "));
        } else if (option == "--group") {
            if (!ParseInt(value, number))
                return bad("expected a whole number");
            options.stageGroup = number;
        } else if (option == "--stage") {
            if (!ParseInt(value, number))
                return bad("expected a whole number");
            options.stageNumber = number;
        } else if (option == "--answer-fullscreen") {
            if (value != "yes" && value != "no")
                return bad("expected yes or no");
            options.answerFullScreen = value == "yes";
        } else if (option == "--screenshot" || option == "--window-shot") {
            const std::size_t colon = value.find(':');
            if (colon == std::string::npos || !ParseInt(value.substr(0, colon), number) || number < 0 ||
                colon + 1 == value.size())
                return bad("expected FRAME:FILE");
            options.screenshots.push_back({number, value.substr(colon + 1), option == "--window-shot"});
        } else if (option == "--resize") {
            const std::size_t colon = value.find(':');
            const std::size_t by = value.find('x', colon);
            ResizeRequest resize;
            if (colon == std::string::npos || by == std::string::npos ||
                !ParseInt(value.substr(0, colon), resize.frame) || resize.frame < 0 ||
                !ParseInt(value.substr(colon + 1, by - colon - 1), resize.width) || resize.width <= 0 ||
                !ParseInt(value.substr(by + 1), resize.height) || resize.height <= 0)
                return bad("expected FRAME:WIDTHxHEIGHT");
            options.resizes.push_back(resize);
        } else if (option == "--keys") {
            options.keysFile = value;
        } else if (option == "--trace") {
            options.traceFile = value;
        } else if (option == "--drawlog") {
            options.drawLogFile = value;
        } else if (option == "--random-keys") {
            if (!ParseInt(value, number) || number < 0)
                return bad("expected a seed from 0");
            options.randomKeys = static_cast<unsigned>(number);
        } else if (option == "--settings") {
            options.settingsFile = value;
        } else if (option == "--memory-log") {
            options.memoryLogFile = value;
        } else if (option == "--play") {
            options.playFile = value;
        } else {
            error = "unknown option '" + option + "'";
            return false;
        }
    }
    if (options.headless && !options.screenshots.empty()) {
        error = "--screenshot needs a picture: it cannot be combined with --headless";
        return false;
    }
    if (options.headless && !options.resizes.empty()) {
        error = "--resize needs a window: it cannot be combined with --headless";
        return false;
    }
    return true;
}
