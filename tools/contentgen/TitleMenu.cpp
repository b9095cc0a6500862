// Images of the title screen's menu: the press-enter prompt in two looks that
// the scene cross-fades, the two menu items, the reset notice, the group
// labels and the bobbing arrows (shared with the select screen).
#include <string>
#include <vector>

#include "Canvas.h"
#include "Generators.h"
#include "Palette.h"
#include "Shapes.h"

namespace {

// Menu items are centred at (640, 600) between arrows bobbing at y 515..540
// and 665..690, so a pill stays within 64 pixels of height.
constexpr float pillWidth = 380.0f;
constexpr float pillHeight = 64.0f;
constexpr float margin = 10.0f;

Canvas Pill(const ui::Fonts& fonts, const char* text, float width, Color fill, Color textColor)
{
    const float w = width + 2.0f * margin;
    const float h = pillHeight + 2.0f * margin + 6.0f;
    Canvas canvas(static_cast<int>(w), static_cast<int>(h));
    ui::DrawPanel(canvas, shapes::Rect({margin, margin}, {w - margin, margin + pillHeight}, pillHeight * 0.5f),
                  ui::ColorPanel(fill));
    const TextImage label = fonts.bold.Render(text, ui::type::button);
    ui::TextStyle style = ui::InkText();
    style.fill = textColor;
    ui::DrawText(canvas, label, label.CentredOn({w * 0.5f, margin + pillHeight * 0.5f}), style);
    return canvas;
}

// A rounded triangle pointing along `dir` (one of the four axes).
Canvas Arrow(glm::vec2 dir)
{
    const bool across = dir.x != 0.0f;
    const float w = across ? 44.0f : 56.0f;
    const float h = across ? 56.0f : 44.0f;
    Canvas arrow(static_cast<int>(w), static_cast<int>(h));
    const glm::vec2 c(w * 0.5f, h * 0.5f);
    const glm::vec2 side(-dir.y, dir.x);
    const Shape triangle = shapes::Grown(
        shapes::Polygon({c + dir * 11.0f, c - dir * 9.0f + side * 15.0f, c - dir * 9.0f - side * 15.0f}), 3.0f);
    arrow.Draw(shapes::Moved(triangle, {0.0f, 3.0f}), palette::shadow, 5.0f);
    arrow.Draw(shapes::Grown(triangle, 3.0f), palette::ink);
    arrow.Draw(triangle, paints::Vertical(Mix(palette::coral, palette::gold, 0.35f), palette::coral, 8.0f, h - 8.0f));
    return arrow;
}

// The question a score reset asks first, centred where the menu item was,
// with its two answers and the chosen one lit.
}  // namespace

void WriteTitleMenu(ContentWriter& out, const ui::Fonts& fonts)
{
    // The scene cross-fades these two; only the lettering changes colour, so
    // the prompt stays readable through the whole blink.
    out.Write(ImageFile::PressEnter, Pill(fonts, "PRESS ENTER", pillWidth, palette::paper, palette::ink));
    out.Write(ImageFile::PressEnterInverted,
              Pill(fonts, "PRESS ENTER", pillWidth, palette::paper, palette::coral));
    out.Write(ImageFile::GameStart, Pill(fonts, "GAME START", pillWidth, palette::paper, palette::ink));
    out.Write(ImageFile::ScoreReset, Pill(fonts, "SCORE RESET", pillWidth, palette::paper, palette::ink));
    out.Write(ImageFile::ScoreResetDone,
              Pill(fonts, "SCORES RESET \u2713", pillWidth + 40.0f, palette::coral, Hex(0xFFFFFF)));
    out.Write(ImageFile::ResetAskedNo, ui::Question(fonts, "Reset every best score?", {"NO", "YES"}, 150.0f, 0));
    out.Write(ImageFile::ResetAskedYes, ui::Question(fonts, "Reset every best score?", {"NO", "YES"}, 150.0f, 1));

    // Group labels sit between arrows at x = 640 ± 225 (± 25).
    const char* groups[3] = {"EASY", "NORMAL", "HARD"};
    const char* files[3] = {ImageFile::Easy, ImageFile::Normal, ImageFile::Hard};
    for (int g = 1; g <= 3; ++g) {
        out.Write(files[g - 1],
                  Pill(fonts, groups[g - 1], 300.0f, palette::Group(g).main, Hex(0xFFFFFF)));
    }

    out.Write(ImageFile::ArrowUp, Arrow({0.0f, -1.0f}));
    out.Write(ImageFile::ArrowDown, Arrow({0.0f, 1.0f}));
    out.Write(ImageFile::ArrowLeft, Arrow({-1.0f, 0.0f}));
    out.Write(ImageFile::ArrowRight, Arrow({1.0f, 0.0f}));
}
