#include "main/CommandLine.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool playable)
{
    CommandLine line;
    const auto fail = [&line](const std::string& error) {
        line.action = CommandLine::Action::Error;
        line.error = error;
        return line;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (option == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (option == "--fullscreen" || option == "--windowed") {
            const bool full = option == "--fullscreen";
            if (line.fullScreen && *line.fullScreen != full)
                return fail("--fullscreen and --windowed cannot both be given");
            line.fullScreen = full;
        } else if (option == "--play" && playable) {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                return fail("--play needs a stage file");
            line.stageFile = arguments[++i];
        } else {
            return fail("unknown option '" + option + "'");
        }
    }
    return line;
}

std::optional<std::string> PlayableStageFile(const std::string& given, std::string& error)
{
    std::error_code code;
    const std::filesystem::path absolute = std::filesystem::absolute(given, code);
    if (code) {
        error = given + ": " + code.message();
        return std::nullopt;
    }
    // Without waiting for a writer: opening a FIFO must not block.
    const int file = open(absolute.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        error = given + ": " + std::strerror(errno);
        return std::nullopt;
    }
    struct stat info {};
    const bool regular = fstat(file, &info) == 0 && S_ISREG(info.st_mode);
    close(file);
    if (!regular) {
        error = given + ": not a stage file";
        return std::nullopt;
    }
    return absolute.string();
}

std::string Usage(const std::string& program, bool playable)
{
    std::string text = "usage: " + program + " [--fullscreen | --windowed]" + (playable ? " [--play FILE]" : "") +
                       "\n\n"
                       "  --fullscreen   start full screen without asking\n"
                       "  --windowed     start in a window without asking\n";
    if (playable)
        text += "  --play FILE    play the stage in FILE (one made in the editor, say); no score is kept\n";
    text += "  --help         show this text\n"
            "  --version      show the version\n"
            "\n"
            "Alt+Enter switches between full screen and a window at any time; Escape quits.\n";
    return text;
}

std::string VersionLine(const std::string& program)
{
    return program + " " + ORB_VERSION;
}
