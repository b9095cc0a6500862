// Images of the stage select screen: one panel per group drawn from (40, 80),
// the labels laid over it, the "shots" word after a score and the label for a
// stage not yet cleared.
#include <string>

#include "Canvas.h"
#include "Generators.h"
#include "Palette.h"
#include "Shapes.h"

namespace {

constexpr glm::vec2 panelOrigin(40.0f, 80.0f);
constexpr float panelWidth = 440.0f;
constexpr float panelHeight = 500.0f;
// Screen positions the scene draws at, as panel coordinates.
constexpr glm::vec2 stageNumber = glm::vec2(430.0f, 125.0f) - panelOrigin;
// The stage number is centred on the header band.
constexpr float headerHeight = stageNumber.y * 2.0f + 2.0f;
constexpr float scoreRow = 450.0f - panelOrigin.y;

const Shape& PanelShape()
{
    static const Shape shape = shapes::Rect({2, 0}, {panelWidth - 6, panelHeight - 10}, 26);
    return shape;
}

Canvas GroupPanel(const ui::Fonts& fonts, int group)
{
    const auto& colors = palette::Group(group);
    Canvas panel(static_cast<int>(panelWidth), static_cast<int>(panelHeight));
    ui::DrawPanel(panel, PanelShape(), ui::PaperPanel());
    // The header band in the group's colour, under the stage number.
    const Shape inside = shapes::Grown(PanelShape(), -3.0f);
    panel.Draw(shapes::Intersection(inside, shapes::Rect({0, 0}, {panelWidth, headerHeight}, 0)),
               paints::Vertical(Mix(colors.main, Hex(0xFFFFFF), 0.15f), colors.main, 0.0f, headerHeight));
    panel.Draw(shapes::Intersection(inside, shapes::Rect({0, headerHeight - 1.5f}, {panelWidth, headerHeight + 1.5f}, 0)),
               palette::ink);

    const char* names[3] = {"EASY", "NORMAL", "HARD"};
    const char* hints[3] = {"A gentle start", "Think a move ahead", "Armoured blocks await"};
    const TextImage name = fonts.bold.Render(names[group - 1], ui::type::button);
    ui::TextStyle nameStyle = ui::InkText();
    nameStyle.fill = colors.dark;
    ui::DrawText(panel, name, name.LeftAlignedOn({32.0f, 142.0f}), nameStyle);
    // Difficulty pips.
    for (int i = 0; i < 3; ++i) {
        const glm::vec2 at(panelWidth - 110.0f + 30.0f * static_cast<float>(i), 142.0f);
        panel.Draw(shapes::Circle(at, 10.0f), palette::ink);
        panel.Draw(shapes::Circle(at, 7.5f), i < group ? colors.main : palette::paper);
    }
    const TextImage hint = fonts.regular.Render(hints[group - 1], ui::type::label);
    ui::TextStyle hintStyle = ui::InkText();
    hintStyle.fill = palette::inkSoft;
    ui::DrawText(panel, hint, hint.LeftAlignedOn({32.0f, 190.0f}), hintStyle);

    // The score well.
    panel.Draw(shapes::Rect({24, scoreRow - 62}, {panelWidth - 24, scoreRow + 56}, 20), Mix(colors.light, palette::paper, 0.45f));
    panel.Draw(shapes::Stroke(shapes::Rect({24, scoreRow - 62}, {panelWidth - 24, scoreRow + 56}, 20), 2.0f),
               WithAlpha(colors.dark, 0.45f));
    return panel;
}

// Labels laid over every group's panel.
Canvas PanelLabels(const ui::Fonts& fonts)
{
    Canvas labels(static_cast<int>(panelWidth), static_cast<int>(panelHeight));
    const TextImage stage = fonts.bold.Render("STAGE", ui::type::title);
    ui::DrawText(labels, stage, stage.LeftAlignedOn({30.0f, headerHeight * 0.5f}), ui::SceneText(3.0f));
    const TextImage best = fonts.bold.Render("BEST", ui::type::label);
    ui::TextStyle bestStyle = ui::InkText();
    bestStyle.fill = palette::inkSoft;
    ui::DrawText(labels, best, best.LeftAlignedOn({32.0f, scoreRow - 84.0f}), bestStyle);
    const TextImage keys = fonts.regular.Render("\u25C0 \u25B6 choose     Enter  play", ui::type::label * 0.8f);
    ui::DrawText(labels, keys, keys.CentredOn({panelWidth * 0.5f, panelHeight - 38.0f}), bestStyle);
    return labels;
}

// Centred at x = w/2 + 30: with w = 460 that is the panel's middle.
Canvas NotCleared(const ui::Fonts& fonts)
{
    constexpr float w = 460.0f;
    constexpr float h = 80.0f;
    Canvas canvas(static_cast<int>(w), static_cast<int>(h));
    const Shape pill = shapes::Rect({w * 0.5f - 150.0f, 12.0f}, {w * 0.5f + 150.0f, h - 12.0f}, 28.0f);
    canvas.Draw(pill, WithAlpha(palette::paper, 0.9f));
    canvas.Draw(shapes::Stroke(pill, 2.5f), palette::inkSoft);
    const TextImage label = fonts.bold.Render("NOT CLEARED YET", ui::type::label);
    ui::TextStyle style = ui::InkText();
    style.fill = palette::inkSoft;
    ui::DrawText(canvas, label, label.CentredOn({w * 0.5f, h * 0.5f}), style);
    return canvas;
}

}  // namespace

void WriteSelectPanel(ContentWriter& out, const ui::Fonts& fonts)
{
    for (int group = 1; group <= 3; ++group) {
        out.Write(ImageFile::GroupPanel(group), GroupPanel(fonts, group));
    }
    out.Write(ImageFile::SelectLabels, PanelLabels(fonts));
    // Placed with its left edge at the given x after the digits, 1.5 times enlarged.
    out.Write(ImageFile::ShotsWord, ui::ScoreWord(fonts, "shots"));
    out.Write(ImageFile::NotCleared, NotCleared(fonts));
}
