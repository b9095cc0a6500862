#pragma once

#include <optional>
#include <string>

#include "app/SceneId.h"
#include "platform/Clock.h"

class FrameObserver;

// The game from start-up to shut-down, shared by the game binary and the
// harness: window and full-screen question, device, first scene, frame loop,
// and the release of everything in an order that keeps the GL context alive
// until nothing needs it.
class GameProgram {
public:
    struct Options {
        // No window and no GL context; the device only records.
        bool headless = false;
        SceneId firstScene = SceneId::Title;
        // The full-screen question's answer, given in advance.
        std::optional<bool> fullScreen;
        // A stage file to play on its own, in the Game scene, instead of the first scene.
        std::string stageFile;
    };

    GameProgram() = default;
    ~GameProgram();
    GameProgram(const GameProgram&) = delete;
    GameProgram& operator=(const GameProgram&) = delete;

    // False with the reason in error when the window or the device cannot be made.
    bool Start(const Options& options, std::string& error);
    // Builds the first scene and runs frames until the quit.
    void Run(FrameObserver* observer, bool paced);

private:
    void Shutdown();

    Options options;
    SystemClock clock;
    bool started = false;
};
