#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/SceneId.h"
#include "app/Settings.h"
#include "main/GameContext.h"
#include "platform/Clock.h"

class FrameObserver;

// The game from start-up to shut-down, shared by the game binary and the
// harness: the player's language, the window and full-screen question, the
// device, the scene table, the first scene and the frame loop. Everything it
// starts lives in its context and is released by the context's destructor.
class GameProgram {
public:
    struct Options {
        // No window and no GL context; the device only records.
        bool headless = false;
        SceneId firstScene = SceneId::Title;
        // The full-screen question's answer, given in advance. Without it the
        // question is asked, and with the play aids its answer is kept in the
        // settings file, so that the next start does not ask.
        std::optional<bool> fullScreen;
        // Stage files to play on their own, in order, in the Game scene,
        // instead of the first scene.
        std::vector<std::string> stageFiles;
        // A stage given as a code, as a stage file's text, played on its own.
        std::string stageText;
        // The player's settings: the aids, the volumes, where they are kept.
        Settings settings;
        // Begins the lines the program writes on stderr.
        const char* program = "orb";
    };

    GameProgram() = default;
    GameProgram(const GameProgram&) = delete;
    GameProgram& operator=(const GameProgram&) = delete;

    // False with the reason in error when the window or the device cannot be made.
    bool Start(const Options& options, std::string& error);
    // Builds the first scene and runs frames until the quit.
    void Run(FrameObserver* observer, bool paced);

    GameContext& Context() { return context; }

private:
    Options options;
    SystemClock clock;
    GameContext context;
};
