#include "main/CommandLine.h"

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <regex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "stage/StageCode.h"
#include "stage/StageFile.h"

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
        } else if (option == "--ask") {
            line.ask = true;
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
    if (line.ask && line.fullScreen)
        return fail("--ask cannot be given with --fullscreen or --windowed");
    return line;
}

namespace {

enum class Kind { Unreadable, File, Folder, Other };

// Without waiting for a writer: opening a FIFO must not block.
Kind KindOf(const std::filesystem::path& path, std::string& error)
{
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        error = std::strerror(errno);
        return Kind::Unreadable;
    }
    struct stat info {};
    const bool known = fstat(file, &info) == 0;
    close(file);
    if (known && S_ISREG(info.st_mode))
        return Kind::File;
    return known && S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
}

// An empty or foreign file would give an empty board, cleared at once.
bool HoldsABlock(const std::filesystem::path& path)
{
    const auto records = StageFile::Read(path.string());
    return records && !records->empty();
}

// A folder's stages: its regular, readable files named like the editor's
// ("Stage" and a number, ".txt") that hold a block, in name order, which is
// their number's.
std::vector<std::string> StagesIn(const std::filesystem::path& folder)
{
    static const std::regex stageName("Stage[0-9]+\\.txt");
    std::vector<std::string> files;
    std::error_code code;
    for (std::filesystem::directory_iterator entry(folder, code), end; !code && entry != end; entry.increment(code)) {
        std::string ignored;
        if (std::regex_match(entry->path().filename().string(), stageName) &&
            KindOf(entry->path(), ignored) == Kind::File && HoldsABlock(entry->path()))
            files.push_back(entry->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::optional<std::vector<std::string>> PlayableStages(const std::string& given, std::string& error)
{
    std::error_code code;
    const std::filesystem::path absolute = std::filesystem::absolute(given, code);
    if (code) {
        error = given + ": " + code.message();
        return std::nullopt;
    }
    std::string reason;
    switch (KindOf(absolute, reason)) {
    case Kind::File:
        if (HoldsABlock(absolute))
            return std::vector<std::string>{absolute.string()};
        error = given + ": not a stage file: no block could be read from it";
        return std::nullopt;
    case Kind::Folder:
        if (std::vector<std::string> stages = StagesIn(absolute); !stages.empty())
            return stages;
        error = given + ": no stage files (StageNNN.txt) in this folder";
        return std::nullopt;
    case Kind::Unreadable:
        error = given + ": " + reason;
        return std::nullopt;
    default:
        error = given + ": not a stage file";
        return std::nullopt;
    }
}

std::optional<StagesToPlay> ReadPlayOption(const std::string& given, std::string& error)
{
    if (!StageCode::LooksLikeCode(given)) {
        std::optional<std::vector<std::string>> files = PlayableStages(given, error);
        if (!files)
            return std::nullopt;
        return StagesToPlay{std::move(*files), {}};
    }
    std::string reason;
    const std::optional<std::vector<BlockRecord>> blocks = StageCode::Decode(given, reason);
    if (!blocks || blocks->empty()) {
        error = given + ": " + (blocks ? "the stage holds no block" : reason);
        return std::nullopt;
    }
    return StagesToPlay{{}, StageFile::Format(*blocks)};
}

std::string Usage(const std::string& program, bool playable)
{
    std::string text = "usage: " + program + " [--fullscreen | --windowed | --ask] [--classic]" +
                       (playable ? " [--play FILE|FOLDER|CODE]" : "") +
                       "\n\n"
                       "  --fullscreen   start full screen without asking\n"
                       "  --windowed     start in a window without asking\n"
                       "  --ask          ask the full-screen question again, whatever the settings file says\n"
                       "  --classic      no play aids: no par, hints, undo, aiming ghost or notices\n";
    if (playable)
        text += "  --play FILE    play the stage in FILE (one made in the editor, say), or a FOLDER's\n"
                "                 stages (StageNNN.txt) one after another, or a stage CODE (ORB-...,\n"
                "                 from orb-stage code); no score is kept\n";
    text += "  --help         show this text\n"
            "  --version      show the version\n"
            "\n";
    text += playable ? "Keys in play:\n"
                       "  arrows         walk a cell, facing that way\n"
                       "  Space          hold to aim (the ghost shows where the shot lands); an arrow\n"
                       "                 while holding turns on the spot; release to fire\n"
                       "  H              hint: where to stand, which way to face, where it lands\n"
                       "  Z, Backspace   take back the last shot;  Y, Shift+Z  play it again\n"
                       "  R              start the stage again (Z takes that back)\n"
                       "  Tab            the board from straight above, and back\n"
                       "  M, Escape      menu: next stage, stage select, title, retry\n"
                       "  F1             the key line on screen, on or off\n"
                       "  - =            music down, up (kept in the settings file)\n"
                       "  [ ]            effects down, up\n"
                       "  Enter          choose, in the menus\n"
                     : "Keys in the editor:\n"
                       "  arrows         move the cursor\n"
                       "  1, 2, 3        place a white, black or armoured block\n"
                       "  X              take the block away;  C  clear the board\n"
                       "  Z;  Y, Shift+Z undo the last edit;  redo it\n"
                       "  L              load a stage: your own stages, then the shipped ones\n"
                       "                 (with --classic: Up, Down the group, Enter, then the stage)\n"
                       "  P              save as one of your own stages, named the first time, and check it\n"
                       "                 (with --classic: the next Resource/BData/StageNNN.txt)\n"
                       "  V              check the board without saving: its par, or why it cannot be cleared\n"
                       "  T              play the board; the game's menu or a clear comes back here\n"
                       "  Ctrl+C, Ctrl+V the board as a stage code to the clipboard, and back\n"
                       "  F1             the key list on screen, on or off\n";
    text += "  Alt+Enter      full screen or a window, at any time\n";
    text += playable ? "  Escape         back one level (the title quits; with --classic, quit)\n"
                     : "  Escape         quit, asking first if the board is not saved (--classic: at once)\n";
    return text;
}

std::string VersionLine(const std::string& program)
{
    return program + " " + ORB_VERSION;
}
