#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/SceneId.h"

struct ScreenshotRequest {
    int frame = 0;
    std::string file;
    // What the window shows, at its own size, rather than the 1280 × 720 picture.
    bool window = false;
};

struct ResizeRequest {
    int frame = 0;
    int width = 0;
    int height = 0;
};

// The harness command line.
struct HarnessOptions {
    std::string dataDirectory;
    std::optional<int> frames;
    SceneId scene = SceneId::Title;
    std::optional<int> stageGroup;
    std::optional<int> stageNumber;
    bool answerFullScreen = false;
    bool headless = false;
    bool realtime = false;
    std::vector<ScreenshotRequest> screenshots;
    // Before the frame, the window takes the size.
    std::vector<ResizeRequest> resizes;
    std::string keysFile;
    std::string traceFile;
    std::string drawLogFile;
    // A random player with this seed, on top of the key script.
    std::optional<unsigned> randomKeys;
    // Every MemoryLogPeriod frames, the frame and the resident memory in KiB.
    std::string memoryLogFile;
    // A stage file, or a folder of them, played on its own in the Game scene, as the game's --play does.
    std::string playFile;
    // The play aids, off unless asked for: a run without them is the game as
    // first designed, trace and draw log alike.
    bool assists = false;
    // A stage left in the middle is kept in the data folder and offered again (implies --assists).
    bool keepUnfinished = false;
    // In a game, nothing but hints is played: ask for one, walk where it
    // says, face its way and fire; again until the stage ends.
    bool followHints = false;
    // A settings file read as the game reads the player's, and written when
    // a volume key changes a level; none: the defaults, kept nowhere.
    std::string settingsFile;
};

constexpr int MemoryLogPeriod = 1000;

// Reads the options after the program name. Unknown options, missing or
// malformed values: false with a one-line reason in error.
bool ParseHarnessOptions(const std::vector<std::string>& arguments, const std::string& defaultDataDirectory,
                         HarnessOptions& options, std::string& error);

std::string HarnessUsage();
