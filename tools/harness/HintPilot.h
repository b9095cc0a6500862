#pragma once

#include <cstddef>
#include <vector>

#include "KeyScript.h"

class BaseScene;

// A player who does nothing but what the hints say. At rest it asks for a
// hint (H), walks where the hint says a cell at a time, holds Space, turns
// the hint's way while charging and lets go; then it waits for the shot to
// land and for every block it turned, and asks again. Outside a game, or once
// the stage is over or its menu open, it lets every key go.
class HintPilot {
public:
    // The key changes to make before frame's update of scene.
    std::vector<KeyChange> Next(int frame, const BaseScene* scene);

private:
    enum class Phase { Asking, Walking, Turning, Firing, Landing };

    void Press(int key, std::vector<KeyChange>& changes);
    void Tap(int key, std::vector<KeyChange>& changes);
    void ReleaseAll(std::vector<KeyChange>& changes);

    Phase phase = Phase::Asking;
    std::vector<int> walk;
    std::size_t step = 0;
    int direction = 0;
    // The frame Space may be let go, once the turn toward the shot is done.
    int releaseFrame = 0;
    int scoreBefore = 0;
    // Keys held down, and the one tapped last frame that goes up now.
    std::vector<int> held;
    int tapped = 0;
};
