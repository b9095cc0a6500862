#include "main/CommandLine.h"

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
