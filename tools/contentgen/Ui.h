#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "Canvas.h"
#include "FontFace.h"

// The few ways text and panels are dressed, shared by every menu and HUD
// image so the screens read as one set.
namespace ui {

// The fonts the images use, loaded once.
struct Fonts {
    FontFace bold;
    FontFace regular;
    FontFace monoBold;
};

// One type scale for every screen, in pixels as the player sees them.
namespace type {
constexpr float hero = 96.0f;
constexpr float title = 56.0f;
constexpr float button = 36.0f;
constexpr float label = 24.0f;
}  // namespace type

struct TextStyle {
    Color fill;
    Color outline{0.0f};
    float outlineWidth = 0.0f;
    Color shadow{0.0f};
    glm::vec2 shadowOffset{0.0f, 3.0f};
    float shadowSoftness = 6.0f;
};

// Near-black text for light panels.
TextStyle InkText();
// White text with a dark outline, for anything drawn over the scene.
TextStyle SceneText(float outlineWidth = 4.0f);

void DrawText(Canvas& canvas, const TextImage& text, glm::vec2 origin, const TextStyle& style);

// A bold ink word that sits beside a row of score digits, 40 pixels tall:
// its ink starts at x = 2 and ends 6 pixels short of the right edge, and every
// such word shares one baseline, so the game can swap them in place.
Canvas ScoreWord(const Fonts& fonts, std::string_view word);

struct PanelStyle {
    Paint fill;
    Color outline = Color(0.0f);
    float outlineWidth = 0.0f;
    Color shadow = Color(0.0f);
    glm::vec2 shadowOffset{0.0f, 4.0f};
    float shadowSoftness = 10.0f;
};

// A white panel with a thin dark outline and a soft drop shadow.
PanelStyle PaperPanel();
// The same dress in one flat colour.
PanelStyle ColorPanel(Color fill);

void DrawPanel(Canvas& canvas, const Shape& outline, const PanelStyle& style);

// A question on a paper panel, 640 x 156, with its answers side by side, the
// chosen one in coral; the game shows one image per choice.
Canvas Question(const Fonts& fonts, const char* question, const std::vector<const char*>& answers, float answerWidth,
                std::size_t chosen);

}  // namespace ui
