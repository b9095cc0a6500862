#pragma once

#include <functional>

#include "platform/FramePacer.h"

class GameContext;

// What drives the loop from outside: the harness scripts keys before a frame
// and looks at the result after it. The game runs without one.
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    // Before frame reads its window events; false ends the loop before it runs.
    virtual bool BeforeFrame(int frame) = 0;
    // After frame has been presented; false ends the loop.
    virtual bool AfterFrame(int frame) = 0;
};

// One frame of the current scene: update, clear to white, draw and present; or,
// once the scene is leaving, its fade-out and then the change it asked for.
void RunFrame(GameContext& context);

// Runs frames until a quit is posted (Escape, the window closed) or the
// observer stops it. A quit ends the loop before another frame runs.
class FrameLoop {
public:
    // paced: one frame per 16 ms of the clock; unpaced frames run back to back.
    FrameLoop(GameContext& context, Clock& clock, FrameObserver* observer, bool paced);
    void Run();

    // Runs once, right after the first frame is shown: work the player
    // should not wait for later, done while a picture is already up.
    std::function<void()> afterFirstFrame;

private:
    GameContext& context;
    FramePacer pacer;
    FrameObserver* observer;
    bool paced;
};
