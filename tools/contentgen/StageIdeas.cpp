// What each stage is about, in a few words, for the stage select: the game
// draws the stage's line with its top-left corner at (64, 248), over the
// group's hint line, which its paper hides. And the line under a game's menu
// that names the stage "Next stage" leads to: "Next: 1-3 · Two lines, one corner".
#include <string>

#include "Canvas.h"
#include "Generators.h"
#include "Palette.h"
#include "Shapes.h"

namespace {

constexpr float width = 400.0f;
constexpr float height = 44.0f;
// Where the group's hint starts on the screen, (72, 270), as image coordinates.
constexpr glm::vec2 textStart(8.0f, 22.0f);
// Just round enough that the corner pixels stay clear, like every overlay's;
// the panel's own paper shows there.
constexpr float cornerRadius = 4.0f;
constexpr float pillPadding = 22.0f;

constexpr int groups = 3;
constexpr int stagesPerGroup = 6;
constexpr const char* ideas[groups][stagesPerGroup] = {
    {"Turn and fire", "Walk into line", "Two lines, one corner", "White closes the next line",
     "The edge stops a shot", "The cross, arm by arm"},
    {"Armour needs two sides", "Three lines, one landing", "Far before near", "Pocket comes last",
     "Build a backstop", "Set up the double"},
    {"Rows and columns of armour", "In before the door closes", "The tempting first shot", "Doubles in a chain",
     "A stop for a stop", "One last shot"},
};

Canvas StageIdea(const ui::Fonts& fonts, const char* idea)
{
    Canvas canvas(static_cast<int>(width), static_cast<int>(height));
    canvas.Draw(shapes::Rect({0.0f, 0.0f}, {width, height}, cornerRadius), ui::PaperPanel().fill);
    const TextImage text = fonts.regular.Render(idea, ui::type::label);
    ui::TextStyle style = ui::InkText();
    style.fill = palette::inkSoft;
    ui::DrawText(canvas, text, text.LeftAlignedOn(textStart), style);
    return canvas;
}

// A paper pill, centred by the game under its menu panel.
Canvas NextStageLine(const ui::Fonts& fonts, int group, int stage, const char* idea)
{
    const std::string line =
        "Next: " + std::to_string(group) + "-" + std::to_string(stage) + " \u00B7 " + std::string(idea);
    const TextImage text = fonts.regular.Render(line.c_str(), ui::type::label);
    const float w = text.inkMax.x - text.inkMin.x + 2.0f * pillPadding;
    Canvas canvas(static_cast<int>(w), static_cast<int>(height));
    const Shape pill = shapes::Rect({2.0f, 2.0f}, {w - 2.0f, height - 2.0f}, height / 2.0f - 2.0f);
    ui::DrawPanel(canvas, pill, ui::PaperPanel());
    ui::DrawText(canvas, text, text.CentredOn({w / 2.0f, height / 2.0f}), ui::InkText());
    return canvas;
}

}  // namespace

void WriteStageIdeas(ContentWriter& out, const ui::Fonts& fonts)
{
    for (int group = 1; group <= groups; ++group) {
        for (int stage = 1; stage <= stagesPerGroup; ++stage) {
            const char* idea = ideas[group - 1][stage - 1];
            out.Write(ImageFile::StageIdea(group, stage), StageIdea(fonts, idea));
            out.Write(ImageFile::NextStageLine(group, stage), NextStageLine(fonts, group, stage, idea));
        }
    }
}
