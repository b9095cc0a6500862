#pragma once

#include <optional>
#include <string>

#include "rules/LossReason.h"

struct RenderContext;

// What the play aids add to the HUD; nothing of it is drawn without them.
struct AssistHudState {
    bool shown = false;
    // The key line along the bottom.
    bool keyLine = false;
    // "No way to clear from here".
    bool deadEnd = false;
    // The position has more ways on than the search may keep in memory.
    bool tooLarge = false;
    // Under the game-over banner.
    LossReason loss = LossReason::None;
    // Under the clear banner; beside the score once the menu is open.
    std::optional<int> par;
    bool hintsUsed = false;
    // The stage "Next stage" leads to, named under the menu while it is
    // chosen; none for stages played on their own.
    struct Stage {
        int group = 0;
        int number = 0;
    };
    std::optional<Stage> next;
    // The question over a stage left in the middle, while it is asked:
    // whether "Start again" is chosen.
    std::optional<bool> resumeStartAgain;
};

// What the Game's HUD shows, read from the scene every frame.
struct GameHudState {
    // Alpha of the white overlay, 0..255.
    int fade = 0;
    bool menuOpen = false;
    int menuCursor = 0;
    // Degrees the menu's cursor icons have turned.
    float menuIconAngle = 0.0f;
    int score = 0;
    bool cleared = false;
    int clearFrame = 0;
    bool gameOver = false;
    int gameOverFrame = 0;
    AssistHudState assists;
    // A volume just changed ("music 70"); empty: none.
    std::string level;
};

// The HUD over the finished picture, as one sprite batch: the fade overlay,
// the menu panel with its two spinning cursor icons, the score board and its
// digits, the clear and game-over banners easing in, and what the play aids
// have to say. Laid out for the back buffer's size.
void DrawGameHud(const RenderContext& render, const GameHudState& hud);
