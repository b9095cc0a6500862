#pragma once

struct RenderContext;

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
};

// The HUD over the finished picture, as one sprite batch: the fade overlay,
// the menu panel with its two spinning cursor icons, the score board and its
// digits, and the clear and game-over banners easing in. Laid out for the
// back buffer's size.
void DrawGameHud(const RenderContext& render, const GameHudState& hud);
