#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line of the game or the editor asks for. Without options
// the program starts as it always has: the full-screen question, then the
// title (or the editor).
struct CommandLine {
    enum class Action { Start, Help, Version, Error };
    Action action = Action::Start;
    // The full-screen question's answer, given in advance.
    std::optional<bool> fullScreen;
    // --ask: the question is asked even where the settings hold its answer.
    bool ask = false;
    // A stage file, or a folder of them, to play on its own instead of the
    // title (the game only).
    std::string stageFile;
    // --classic: no play aids.
    bool classic = false;
    // Action::Error: what was wrong, in one line.
    std::string error;
};

// Reads the options after the program name; --play is taken only when
// playable is true.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool playable);

// The absolute paths of the stages --play names: the file, or a folder's
// stage files in order; nothing and a one-line reason when the file is not a
// regular file that can be read (a FIFO or a device would otherwise hold the
// start up for good, and a path that cannot be made absolute would be looked
// up where the program runs instead) or the folder holds no stage file.
std::optional<std::vector<std::string>> PlayableStages(const std::string& given, std::string& error);

// What --play names: a stage code (ORB-...) becomes its board as a stage
// file's text, anything else the stages PlayableStages finds.
struct StagesToPlay {
    std::vector<std::string> files;
    std::string text;
};
std::optional<StagesToPlay> ReadPlayOption(const std::string& given, std::string& error);

// The --help text of the program.
std::string Usage(const std::string& program, bool playable);

// "orb 1.0.0"
std::string VersionLine(const std::string& program);
