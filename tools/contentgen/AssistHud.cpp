// Images that help a player along: the line of keys over the board, the notes
// for a stage that can no longer be cleared, the words and badge that compare
// a score with par, the floor markers for a hint, a refused shot and what the
// charged shot will do, and the
// editor's key list and start cell.
#include <algorithm>
#include <cassert>
#include <cmath>
#include <string_view>
#include <vector>

#include <glm/gtc/constants.hpp>

#include "Canvas.h"
#include "Generators.h"
#include "Palette.h"
#include "Shapes.h"

namespace {

// Keys are drawn as small caps so they read as things to press, not words.
constexpr float keyCapHeight = 28.0f;
constexpr float keyCapDepth = 2.5f;
constexpr float keyLabelPadding = 7.0f;
constexpr float keyCapGap = 4.0f;
constexpr float keyToAction = 8.0f;
constexpr float keyLabelEm = ui::type::label * 0.7f;
// The same size as the key hint on the select panel.
constexpr float actionEm = ui::type::label * 0.8f;
// Below this, neighbouring hints start to read as one.
constexpr float narrowestHintGap = 18.0f;

// Floor markers cover one cell, seen from straight above, like the editor's tiles.
constexpr float tileSize = 64.0f;
constexpr glm::vec2 tileCentre(tileSize * 0.5f);
constexpr float markerRadius = 21.0f;
constexpr Color hintLight = Mix(palette::hint, Hex(0xFFFFFF), 0.35f);

float KeyCapWidth(const TextImage& label)
{
    return std::max(keyCapHeight, label.inkMax.x - label.inkMin.x + 2.0f * keyLabelPadding);
}

// Some keys and what they do, rendered once so that a row can be measured
// before it is drawn.
struct KeyHint {
    std::vector<TextImage> keys;
    TextImage action;

    float Width() const
    {
        float width = keyToAction + action.inkMax.x - action.inkMin.x;
        for (const TextImage& key : keys) {
            width += KeyCapWidth(key);
        }
        return width + keyCapGap * static_cast<float>(keys.size() - 1);
    }
};

KeyHint Hint(const ui::Fonts& fonts, std::vector<std::string_view> keys, std::string_view action)
{
    KeyHint hint;
    for (const std::string_view key : keys) {
        hint.keys.push_back(fonts.bold.Render(key, keyLabelEm));
    }
    hint.action = fonts.regular.Render(action, actionEm);
    return hint;
}

float HintsWidth(const std::vector<KeyHint>& hints)
{
    float width = 0.0f;
    for (const KeyHint& hint : hints) {
        width += hint.Width();
    }
    return width;
}

void DrawKeyCap(Canvas& canvas, const TextImage& label, glm::vec2 min, float width)
{
    const glm::vec2 max = min + glm::vec2(width, keyCapHeight);
    const Shape cap = shapes::Rect(min, max, 6.0f);
    // The cap's front face shows below its top, as on a real keyboard.
    canvas.Draw(shapes::Moved(cap, {0.0f, keyCapDepth}), palette::ink);
    canvas.Draw(cap, palette::ink);
    canvas.Draw(shapes::Grown(cap, -2.0f), paints::Vertical(palette::paper, palette::paperShade, min.y, max.y));
    ui::DrawText(canvas, label, label.CentredOn((min + max) * 0.5f), ui::InkText());
}

// The hints centred on `centre`, `gap` apart.
void DrawHintRow(Canvas& canvas, const std::vector<KeyHint>& hints, glm::vec2 centre, float gap)
{
    float x = centre.x - (HintsWidth(hints) + gap * static_cast<float>(hints.size() - 1)) * 0.5f;
    const float capTop = centre.y - keyCapHeight * 0.5f - keyCapDepth * 0.5f;
    for (const KeyHint& hint : hints) {
        for (const TextImage& key : hint.keys) {
            DrawKeyCap(canvas, key, {x, capTop}, KeyCapWidth(key));
            x += KeyCapWidth(key) + keyCapGap;
        }
        x += keyToAction - keyCapGap;
        ui::DrawText(canvas, hint.action, hint.action.LeftAlignedOn({x, centre.y}), ui::InkText());
        x += hint.action.inkMax.x - hint.action.inkMin.x + gap;
    }
}

// A slim dress for the one-line pills: a lighter shadow than a panel's.
ui::PanelStyle PillStyle()
{
    ui::PanelStyle style = ui::PaperPanel();
    style.outlineWidth = 2.5f;
    style.shadowOffset = glm::vec2(0.0f, 3.0f);
    style.shadowSoftness = 8.0f;
    return style;
}

// Two rows centred at (750, 140), along the top of the game screen, over the
// sky, clear of the score board on the left.
Canvas KeyLine(const ui::Fonts& fonts)
{
    constexpr float w = 1000.0f;
    constexpr float h = 96.0f;
    constexpr float inset = 6.0f;
    constexpr float margin = 20.0f;
    Canvas canvas(static_cast<int>(w), static_cast<int>(h));
    const Shape pill = shapes::Rect({inset, 4.0f}, {w - inset, 86.0f}, 24.0f);
    ui::DrawPanel(canvas, pill, PillStyle());
    const std::vector<std::vector<KeyHint>> rows = {
        {
            Hint(fonts, {"\u2190", "\u2191", "\u2193", "\u2192"}, "walk"),
            Hint(fonts, {"Space"}, "hold to aim \u00B7 arrow turns \u00B7 release fires"),
            Hint(fonts, {"H"}, "hint"),
            Hint(fonts, {"Tab"}, "plan"),
        },
        {
            Hint(fonts, {"Z"}, "undo"),
            Hint(fonts, {"Y"}, "redo"),
            Hint(fonts, {"R"}, "restart"),
            Hint(fonts, {"M"}, "menu"),
            Hint(fonts, {"\u2212", "="}, "music"),
            Hint(fonts, {"[", "]"}, "effects"),
            Hint(fonts, {"F1"}, "hide"),
        },
    };
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::vector<KeyHint>& hints = rows[row];
        const float gap = (w - 2.0f * (inset + margin) - HintsWidth(hints)) / static_cast<float>(hints.size() - 1);
        assert(gap >= narrowestHintGap && "the key hints no longer fit the line: shorten them or widen the pill");
        DrawHintRow(canvas, hints, {w * 0.5f, 25.0f + 40.0f * static_cast<float>(row)}, gap);
    }
    return canvas;
}

// Centred at (640, 100), above the board, when no shot left can clear the stage.
Canvas DeadEnd(const ui::Fonts& fonts)
{
    constexpr float w = 660.0f;
    constexpr float h = 130.0f;
    constexpr float bandBottom = 18.0f;
    Canvas canvas(static_cast<int>(w), static_cast<int>(h));
    const Shape panel = shapes::Rect({10.0f, 4.0f}, {w - 10.0f, h - 14.0f}, 22.0f);
    ui::DrawPanel(canvas, panel, ui::PaperPanel());
    // A warm band along the top sets it apart from the calm panels.
    canvas.Draw(shapes::Intersection(shapes::Grown(panel, -3.0f), shapes::Rect({0, 0}, {w, bandBottom}, 0)),
                paints::Vertical(Mix(palette::coral, palette::gold, 0.35f), palette::coral, 4.0f, bandBottom));
    const TextImage title = fonts.bold.Render("No way to clear from here", ui::type::button * 0.85f);
    ui::DrawText(canvas, title, title.CentredOn({w * 0.5f, 50.0f}), ui::InkText());
    DrawHintRow(canvas, {Hint(fonts, {"Z"}, "undo the last shot"), Hint(fonts, {"M"}, "menu, then Retry")},
                {w * 0.5f, 90.0f}, 44.0f);
    return canvas;
}

// Centred at (640, 290), under the GAME OVER banner, saying why the game ended.
Canvas Reason(const ui::Fonts& fonts, std::string_view text)
{
    constexpr float w = 520.0f;
    constexpr float h = 64.0f;
    Canvas canvas(static_cast<int>(w), static_cast<int>(h));
    ui::DrawPanel(canvas, shapes::Rect({8.0f, 6.0f}, {w - 8.0f, 52.0f}, 23.0f), PillStyle());
    const TextImage label = fonts.regular.Render(text, ui::type::label);
    ui::DrawText(canvas, label, label.CentredOn({w * 0.5f, 29.0f}), ui::InkText());
    return canvas;
}

// On the clear screen: the score was helped along by hints.
Canvas WithHints(const ui::Fonts& fonts)
{
    constexpr float w = 240.0f;
    constexpr float h = 52.0f;
    Canvas canvas(static_cast<int>(w), static_cast<int>(h));
    ui::PanelStyle style = PillStyle();
    style.outline = palette::inkSoft;
    ui::DrawPanel(canvas, shapes::Rect({6.0f, 5.0f}, {w - 6.0f, 43.0f}, 19.0f), style);
    const TextImage label = fonts.regular.Render("with hints", ui::type::label);
    ui::TextStyle soft = ui::InkText();
    soft.fill = palette::inkSoft;
    ui::DrawText(canvas, label, label.CentredOn({w * 0.5f, 24.0f}), soft);
    return canvas;
}

// A gold rosette with a check, beside a best score that equals par.
Canvas ParMet()
{
    constexpr float size = 56.0f;
    constexpr int petals = 12;
    const glm::vec2 c(size * 0.5f);
    Canvas badge(static_cast<int>(size), static_cast<int>(size));
    Shape rosette = shapes::Circle(c, 19.0f);
    for (int i = 0; i < petals; ++i) {
        const float a = glm::two_pi<float>() * static_cast<float>(i) / petals;
        rosette = shapes::Union(rosette, shapes::Circle(c + glm::vec2(std::sin(a), -std::cos(a)) * 19.0f, 5.5f));
    }
    badge.Draw(shapes::Grown(rosette, 2.0f), palette::ink);
    badge.Draw(rosette, paints::Vertical(palette::gold, Mix(palette::gold, palette::goldDark, 0.6f), 4.0f, 52.0f));
    badge.Draw(shapes::Circle(c, 13.5f), Mix(palette::gold, palette::paper, 0.45f));
    badge.Draw(shapes::Stroke(shapes::Circle(c, 13.5f), 1.5f), palette::goldDark);
    const glm::vec2 bend = c + glm::vec2(-2.5f, 5.5f);
    badge.Draw(shapes::Union(shapes::Capsule(c + glm::vec2(-8.0f, 0.0f), bend, 2.6f),
                             shapes::Capsule(bend, c + glm::vec2(8.0f, -6.5f), 2.6f)),
               palette::ink);
    return badge;
}

// A ring with a dot in it: stand here.
Canvas HintCell()
{
    Canvas tile(static_cast<int>(tileSize), static_cast<int>(tileSize));
    const Shape ring = shapes::Circle(tileCentre, markerRadius);
    tile.Draw(ring, WithAlpha(palette::hint, 0.22f));
    tile.Draw(shapes::Stroke(ring, 10.0f), palette::hintDark);
    tile.Draw(shapes::Stroke(ring, 5.5f), paints::Vertical(hintLight, palette::hint, 10.0f, 54.0f));
    tile.Draw(shapes::Circle(tileCentre, 7.0f), palette::hintDark);
    tile.Draw(shapes::Circle(tileCentre, 4.5f), hintLight);
    return tile;
}

// Points to the top edge; the game turns it about the centre to the facing.
Canvas Arrow(Color light, Color face, Color edge)
{
    Canvas tile(static_cast<int>(tileSize), static_cast<int>(tileSize));
    const Shape arrow = shapes::Polygon({{32, 5}, {54, 30}, {41, 30}, {41, 59}, {23, 59}, {23, 30}, {10, 30}});
    tile.Draw(shapes::Grown(arrow, 2.5f), edge);
    tile.Draw(arrow, paints::Vertical(light, face, 5.0f, 59.0f));
    return tile;
}

// A crossed ring: a shot cannot go here.
Canvas RefusedCell()
{
    constexpr float arm = 10.0f;
    Canvas tile(static_cast<int>(tileSize), static_cast<int>(tileSize));
    const Shape ring = shapes::Stroke(shapes::Circle(tileCentre, markerRadius), 5.5f);
    const Shape cross = shapes::Union(shapes::Capsule(tileCentre - glm::vec2(arm), tileCentre + glm::vec2(arm), 3.0f),
                                      shapes::Capsule(tileCentre + glm::vec2(-arm, arm), tileCentre + glm::vec2(arm, -arm), 3.0f));
    const Shape sign = shapes::Union(ring, cross);
    tile.Draw(shapes::Circle(tileCentre, markerRadius), WithAlpha(palette::coral, 0.2f));
    tile.Draw(shapes::Grown(sign, 2.25f), palette::coralDark);
    tile.Draw(sign, paints::Vertical(Mix(palette::coral, Hex(0xFFFFFF), 0.2f), palette::coral, 10.0f, 54.0f));
    return tile;
}

// Lies on top of a block the charged shot will turn over, in the colour the
// block turns to, ringed in the other so it reads on either.
Canvas TurnsTo(Color face, Color edge)
{
    Canvas tile(static_cast<int>(tileSize), static_cast<int>(tileSize));
    const Shape ring = shapes::Stroke(shapes::Circle(tileCentre, markerRadius), 7.0f);
    const Shape dot = shapes::Circle(tileCentre, 7.5f);
    const Shape sign = shapes::Union(ring, dot);
    tile.Draw(shapes::Grown(sign, 3.0f), edge);
    tile.Draw(sign, face);
    return tile;
}

// A broken ring struck through: the shot lands here and turns nothing.
Canvas ShotDissolves()
{
    constexpr int dashes = 8;
    constexpr float slash = 17.0f;
    Canvas tile(static_cast<int>(tileSize), static_cast<int>(tileSize));
    Shape sign = shapes::Capsule(tileCentre + glm::vec2(-slash, slash), tileCentre + glm::vec2(slash, -slash), 3.0f);
    for (int i = 0; i < dashes; ++i) {
        const float a = glm::two_pi<float>() * (static_cast<float>(i) + 0.2f) / dashes;
        const float b = a + glm::two_pi<float>() * 0.55f / dashes;
        const auto at = [](float angle) { return tileCentre + glm::vec2(std::cos(angle), std::sin(angle)) * markerRadius; };
        sign = shapes::Union(sign, shapes::Capsule(at(a), at(b), 2.75f));
    }
    tile.Draw(shapes::Grown(sign, 2.25f), palette::goldDark);
    tile.Draw(sign, paints::Vertical(Mix(palette::gold, Hex(0xFFFFFF), 0.3f), palette::gold, 10.0f, 54.0f));
    return tile;
}

// The editor's keys, one to a row, beside its board: drawn centred at (1085, 338).
Canvas EditorKeys(const ui::Fonts& fonts)
{
    constexpr float w = 330.0f;
    constexpr float rowHeight = 35.0f;
    constexpr float top = 78.0f;
    constexpr float left = 26.0f;
    const std::vector<KeyHint> rows = {
        Hint(fonts, {"\u2190", "\u2191", "\u2193", "\u2192"}, "move"),
        Hint(fonts, {"1"}, "white block"),
        Hint(fonts, {"2"}, "black block"),
        Hint(fonts, {"3"}, "armoured block"),
        Hint(fonts, {"X"}, "take away"),
        Hint(fonts, {"C"}, "clear the board"),
        Hint(fonts, {"Z"}, "undo"),
        Hint(fonts, {"Y"}, "redo"),
        Hint(fonts, {"L"}, "my stages, shipped ones"),
        Hint(fonts, {"P"}, "save as mine (named)"),
        Hint(fonts, {"V"}, "check, no saving"),
        Hint(fonts, {"T"}, "play it"),
        Hint(fonts, {"Ctrl", "C"}, "copy as a code"),
        Hint(fonts, {"Ctrl", "V"}, "paste a code"),
        Hint(fonts, {"F1"}, "hide these keys"),
        Hint(fonts, {"Esc"}, "leave (asks if not saved)"),
    };
    const float h = top + rowHeight * static_cast<float>(rows.size()) + 14.0f;
    Canvas canvas(static_cast<int>(w), static_cast<int>(h));
    const Shape panel = shapes::Rect({6.0f, 4.0f}, {w - 6.0f, h - 10.0f}, 20.0f);
    ui::DrawPanel(canvas, panel, ui::PaperPanel());
    const TextImage title = fonts.bold.Render("Keys", ui::type::label);
    ui::DrawText(canvas, title, title.LeftAlignedOn({left, 40.0f}), ui::InkText());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const float centre = top + rowHeight * (static_cast<float>(i) + 0.5f);
        DrawHintRow(canvas, {rows[i]}, {left + rows[i].Width() * 0.5f, centre}, 0.0f);
    }
    return canvas;
}

// The editor's mark on the player's start cell, in the player's own coral.
Canvas StartCell()
{
    Canvas tile(static_cast<int>(tileSize), static_cast<int>(tileSize));
    const Shape disc = shapes::Circle(tileCentre, markerRadius);
    tile.Draw(shapes::Grown(disc, 2.5f), palette::coralDark);
    tile.Draw(disc, paints::Vertical(Mix(palette::coral, Hex(0xFFFFFF), 0.3f), palette::coral, 10.0f, 54.0f));
    tile.Draw(shapes::Circle(tileCentre + glm::vec2(-7.0f, -4.0f), 4.0f), palette::paper);
    tile.Draw(shapes::Circle(tileCentre + glm::vec2(7.0f, -4.0f), 4.0f), palette::paper);
    return tile;
}

}  // namespace

void WriteAssistHud(ContentWriter& out, const ui::Fonts& fonts)
{
    out.Write(ImageFile::KeyLine, KeyLine(fonts));
    out.Write(ImageFile::DeadEnd, DeadEnd(fonts));
    out.Write(ImageFile::TooLarge, Reason(fonts, "Too large to search: no hint here"));
    out.Write(ImageFile::WalledIn, Reason(fonts, "Walled in: no cell to fire from"));
    out.Write(ImageFile::NoUsefulShot, Reason(fonts, "No useful shot left"));
    // Placed before the digits; "shot" takes the place of "shots" after a 1.
    out.Write(ImageFile::ParWord, ui::ScoreWord(fonts, "par"));
    out.Write(ImageFile::OneShotWord, ui::ScoreWord(fonts, "shot"));
    out.Write(ImageFile::ParMet, ParMet());
    out.Write(ImageFile::WithHints, WithHints(fonts));
    out.Write(ImageFile::HintCell, HintCell());
    out.Write(ImageFile::HintArrow, Arrow(hintLight, palette::hint, palette::hintDark));
    // On the player's head in the plan, where its face cannot be seen.
    out.Write(ImageFile::PlayerFacing, Arrow(palette::paper, Mix(palette::coral, Hex(0xFFFFFF), 0.3f), palette::coralDark));
    out.Write(ImageFile::RefusedCell, RefusedCell());
    out.Write(ImageFile::TurnsWhite, TurnsTo(palette::paper, palette::blockInk));
    out.Write(ImageFile::TurnsBlack, TurnsTo(palette::blockInk, palette::paper));
    out.Write(ImageFile::ShotDissolves, ShotDissolves());
    // A stage left in the middle, offered again on the next visit.
    const char* resume = "Go on where you left off?";
    out.Write(ImageFile::ResumeContinue, ui::Question(fonts, resume, {"CONTINUE", "START AGAIN"}, 230.0f, 0));
    out.Write(ImageFile::ResumeStartAgain, ui::Question(fonts, resume, {"CONTINUE", "START AGAIN"}, 230.0f, 1));
    // A board an editor left behind, offered back.
    for (int chosen = 0; chosen < 2; ++chosen) {
        out.Write(ImageFile::EditorRecovery(chosen), ui::Question(fonts, "Your board from last time?",
                                                                  {"BRING IT BACK", "START EMPTY"}, 270.0f,
                                                                  static_cast<std::size_t>(chosen)));
    }
    // Leaving the editor with changes not saved.
    for (std::size_t chosen = 0; chosen < 3; ++chosen) {
        out.Write(ImageFile::EditorLeaving(chosen),
                  ui::Question(fonts, "Save before you leave?", {"SAVE", "DISCARD", "STAY"}, 165.0f, chosen));
    }
    out.Write(ImageFile::EditorKeys, EditorKeys(fonts));
    out.Write(ImageFile::StartCell, StartCell());
}
