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
        } else if (option == "--classic") {
            line.classic = true;
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
    std::string text = "usage: " + program + " [--fullscreen | --windowed] [--classic]" +
                       (playable ? " [--play FILE]" : "") +
                       "\n\n"
                       "  --fullscreen   start full screen without asking\n"
                       "  --windowed     start in a window without asking\n"
                       "  --classic      no play aids: no par, hints, undo, aiming ghost or notices\n";
    if (playable)
        text += "  --play FILE    play the stage in FILE (one made in the editor, say); no score is kept\n";
    text += "  --help         show this text\n"
            "  --version      show the version\n"
            "\n";
    text += playable ? "Keys in play:\n"
                       "  arrows         walk a cell, facing that way\n"
                       "  Space          hold to aim (the ghost shows where the shot lands); an arrow\n"
                       "                 while holding turns on the spot; release to fire\n"
                       "  H              hint: where to stand, which way to face, where it lands\n"
                       "  Z, Backspace   take back the last shot\n"
                       "  M              menu: next stage, stage select, title, retry\n"
                       "  F1             the key line on screen, on or off\n"
                       "  Enter          choose, in the menus\n"
                     : "Keys in the editor:\n"
                       "  arrows         move the cursor\n"
                       "  1, 2, 3        place a white, black or armoured block\n"
                       "  X              take the block away;  C  clear the board\n"
                       "  P              save the stage (and check it)\n"
                       "  L              load a stage: Up and Down choose, Enter takes\n";
    text += "  Alt+Enter      full screen or a window, at any time\n"
            "  Escape         quit\n";
    return text;
}

std::string VersionLine(const std::string& program)
{
    return program + " " + ORB_VERSION;
}
