// Images of the game screen: the fade sheet, the toon ramp, the score board
// and its digits, the end-of-stage menu with its cursor, and the banners.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <glm/gtc/constants.hpp>

#include "Canvas.h"
#include "Generators.h"
#include "Palette.h"
#include "Shapes.h"

namespace {

constexpr int screenWidth = 1280;
constexpr int screenHeight = 720;

// Digits are all one size so numbers never jump; the select screen places its
// "shots" label by the width of 0_W.png, so both sets share it.
constexpr int digitWidth = 40;
constexpr int digitHeight = 56;
constexpr float digitEm = 58.0f;

Canvas Solid(int w, int h, Color color)
{
    Canvas canvas(w, h);
    canvas.Draw(shapes::Rect({0, 0}, {static_cast<float>(w), static_cast<float>(h)}, 0), color);
    return canvas;
}

// The model shader looks up light in u: 0 is turned away from the light, 1
// faces it. Three soft bands, the shadows a faint blue.
Canvas ToonRamp()
{
    constexpr int width = 256;
    constexpr int height = 4;
    Canvas ramp(width, height);
    const Color deep = Hex(0xA9B1CC);
    const Color shade = Hex(0xD3D8EA);
    const Color lit = Hex(0xFFFFFF);
    auto band = [](float x, float edge) { return std::clamp((x - edge) / 0.04f + 0.5f, 0.0f, 1.0f); };
    for (int x = 0; x < width; ++x) {
        const float t = (static_cast<float>(x) + 0.5f) / width;
        const Color c = Mix(Mix(deep, shade, band(t, 0.32f)), lit, band(t, 0.56f));
        for (int y = 0; y < height; ++y) {
            ramp.Set(x, y, c);
        }
    }
    return ramp;
}

Canvas Digit(const ui::Fonts& fonts, int digit, const ui::TextStyle& style)
{
    Canvas canvas(digitWidth, digitHeight);
    // DejaVu Sans has tabular figures: every digit takes the same advance.
    const TextImage glyph = fonts.bold.Render(std::to_string(digit), digitEm);
    ui::DrawText(canvas, glyph, glyph.CentredOn({digitWidth * 0.5f, digitHeight * 0.5f - 1.0f}), style);
    return canvas;
}

// A small white block seen from above at an angle: the score board's sign
// for "blocks fired".
void DrawBlockIcon(Canvas& canvas, glm::vec2 centre, float size)
{
    const float s = size * 0.5f;
    const glm::vec2 top(centre.x, centre.y - s);
    const glm::vec2 left(centre.x - s * 0.87f, centre.y - s * 0.5f);
    const glm::vec2 right(centre.x + s * 0.87f, centre.y - s * 0.5f);
    const glm::vec2 middle(centre.x, centre.y);
    const glm::vec2 bottom(centre.x, centre.y + s);
    const glm::vec2 lowLeft(left.x, centre.y + s * 0.5f);
    const glm::vec2 lowRight(right.x, centre.y + s * 0.5f);
    const Shape outline = shapes::Polygon({top, right, lowRight, bottom, lowLeft, left});
    canvas.Draw(shapes::Grown(outline, 2.5f), palette::ink);
    canvas.Draw(shapes::Polygon({top, right, middle, left}), Hex(0xFFFFFF));
    canvas.Draw(shapes::Polygon({left, middle, bottom, lowLeft}), Hex(0xDDE2F0));
    canvas.Draw(shapes::Polygon({middle, right, lowRight, bottom}), Hex(0xB8C0DA));
}

// A dark tab that comes in from the left edge of the screen, under the
// white score digits. The scene centres it at (65, 65); the digits follow
// from x = 115 on, 1.5 times enlarged, 68 pixels apart.
Canvas ScoreBoard()
{
    constexpr float w = 340.0f;
    constexpr float h = 100.0f;
    // Screen x 0 falls on image x 105.
    constexpr float screenLeft = w * 0.5f - 65.0f;
    Canvas board(static_cast<int>(w), static_cast<int>(h));
    const Shape tab = shapes::Rect({-40.0f, 12.0f}, {w - 12.0f, 88.0f}, 34.0f);
    ui::PanelStyle style = ui::ColorPanel(WithAlpha(palette::ink, 0.92f));
    style.outline = palette::paper;
    ui::DrawPanel(board, tab, style);
    DrawBlockIcon(board, {screenLeft + 33.0f, 49.0f}, 32.0f);
    const glm::vec2 c(screenLeft + 61.0f, 50.0f);
    const Shape times = shapes::Union(shapes::Polygon({c + glm::vec2(-6, -4), c + glm::vec2(-4, -6), c + glm::vec2(6, 4), c + glm::vec2(4, 6)}),
                                      shapes::Polygon({c + glm::vec2(-6, 4), c + glm::vec2(4, -6), c + glm::vec2(6, -4), c + glm::vec2(-4, 6)}));
    board.Draw(times, palette::paper);
    return board;
}

// The end-of-stage menu, centred at (640, 480); the cursor icons spin at
// x = 440 and 820 on the rows y = 363 + 80 k.
Canvas MenuPanel(const ui::Fonts& fonts)
{
    constexpr float w = 480.0f;
    constexpr float h = 400.0f;
    Canvas panel(static_cast<int>(w), static_cast<int>(h));
    ui::DrawPanel(panel, shapes::Rect({12, 10}, {w - 12, h - 16}, 28), ui::PaperPanel());
    const char* rows[4] = {"Next stage", "Stage select", "Title", "Retry"};
    // Row k's centre in the image: 363 + 80 k - (480 - h / 2).
    const float rowTop = 363.0f - (480.0f - h * 0.5f);
    // Text sits midway between the two icons (x = 630 on screen).
    const float textX = 630.0f - (640.0f - w * 0.5f);
    for (int k = 0; k < 4; ++k) {
        const float y = rowTop + 80.0f * static_cast<float>(k);
        panel.Draw(shapes::Rect({textX - 150.0f, y - 29.0f}, {textX + 150.0f, y + 29.0f}, 29.0f),
                   Mix(palette::paperShade, palette::paper, 0.3f));
        const TextImage label = fonts.bold.Render(rows[k], ui::type::button);
        ui::DrawText(panel, label, label.CentredOn({textX, y}), ui::InkText());
    }
    return panel;
}

// A four-pointed sparkle; the scene spins it beside the chosen row.
Canvas CursorIcon()
{
    constexpr float size = 48.0f;
    Canvas icon(static_cast<int>(size), static_cast<int>(size));
    const glm::vec2 c(size * 0.5f);
    std::vector<glm::vec2> star;
    for (int i = 0; i < 8; ++i) {
        const float a = glm::quarter_pi<float>() * static_cast<float>(i);
        const float r = i % 2 == 0 ? 19.0f : 6.5f;
        star.push_back(c + glm::vec2(std::sin(a), -std::cos(a)) * r);
    }
    const Shape sparkle = shapes::Polygon(star);
    icon.Draw(shapes::Grown(sparkle, 2.5f), palette::ink);
    icon.Draw(sparkle, paints::Vertical(palette::gold, palette::coral, 6.0f, 42.0f));
    icon.Draw(shapes::Circle(c, 3.2f), Hex(0xFFFFFF));
    return icon;
}

// A banner: a ribbon with bold lettering, for the clear and game-over moments.
Canvas Banner(const ui::Fonts& fonts, const char* text, const Paint& ribbon, Color textFill, Color textOutline)
{
    // The scene rests it centred at y = h + 30, tilted for the clear; kept
    // low so it stays clear of the menu panel that opens below it.
    constexpr float w = 720.0f;
    constexpr float h = 150.0f;
    Canvas banner(static_cast<int>(w), static_cast<int>(h));
    const Shape shape = shapes::Rect({20, 18}, {w - 20, h - 32}, 36);
    ui::PanelStyle style = ui::PaperPanel();
    style.fill = ribbon;
    style.outlineWidth = 4.0f;
    style.shadowOffset = glm::vec2(0.0f, 8.0f);
    style.shadowSoftness = 16.0f;
    ui::DrawPanel(banner, shape, style);
    banner.Draw(shapes::Stroke(shapes::Grown(shape, -11.0f), 2.5f), WithAlpha(Hex(0xFFFFFF), 0.55f));
    const TextImage label = fonts.bold.Render(text, 80.0f);
    ui::TextStyle textStyle = ui::SceneText(5.0f);
    textStyle.fill = textFill;
    textStyle.outline = textOutline;
    ui::DrawText(banner, label, label.CentredOn({w * 0.5f, (18.0f + h - 32.0f) * 0.5f}), textStyle);
    return banner;
}

}  // namespace

void WriteGameHud(ContentWriter& out, const ui::Fonts& fonts)
{
    out.Write(ImageFile::White, Solid(screenWidth, screenHeight, Hex(0xFFFFFF)));
    out.Write(ImageFile::ToonRamp, ToonRamp());
    out.Write(ImageFile::ScoreBoard, ScoreBoard());
    out.Write(ImageFile::GameMenu, MenuPanel(fonts));
    out.Write(ImageFile::GameMenuCursor, CursorIcon());

    ui::TextStyle dark = ui::InkText();
    for (int d = 0; d <= 9; ++d) {
        out.Write(ImageFile::Digit(d), Digit(fonts, d, ui::SceneText(3.0f)));
        out.Write(ImageFile::DarkDigit(d), Digit(fonts, d, dark));
    }

    out.Write(ImageFile::GameClear,
              Banner(fonts, "STAGE CLEAR", paints::Vertical(palette::gold, palette::coral, 18.0f, 118.0f),
                     Hex(0xFFFFFF), palette::ink));
    out.Write(ImageFile::GameOver,
              Banner(fonts, "GAME OVER", paints::Vertical(Hex(0x3A3D4C), palette::ink, 18.0f, 118.0f), palette::paper,
                     Hex(0x101218)));
}
