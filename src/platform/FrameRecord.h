#pragma once

#include <string>
#include <vector>

#include "platform/MessageBox.h"

// What the platform saw during one frame, for the harness trace: every sound
// call and every message box (in the game's own words, whatever language the
// player read it in), in the order they happened. The game itself runs
// without one.
struct FrameRecord {
    std::vector<std::string> sounds;
    std::vector<MessageRequest> messages;

    void Clear()
    {
        sounds.clear();
        messages.clear();
    }
};
