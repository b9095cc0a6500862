#include "Ui.h"

#include "Palette.h"
#include "Shapes.h"

namespace ui {

TextStyle InkText()
{
    TextStyle style;
    style.fill = palette::ink;
    return style;
}

TextStyle SceneText(float outlineWidth)
{
    TextStyle style;
    style.fill = Hex(0xFFFFFF);
    style.outline = palette::ink;
    style.outlineWidth = outlineWidth;
    style.shadow = palette::shadow;
    return style;
}

void DrawText(Canvas& canvas, const TextImage& text, glm::vec2 origin, const TextStyle& style)
{
    const Shape glyphs = text.At(origin);
    if (style.shadow.a > 0.0f) {
        canvas.Draw(shapes::Moved(shapes::Grown(glyphs, style.outlineWidth), style.shadowOffset), style.shadow,
                    style.shadowSoftness);
    }
    if (style.outlineWidth > 0.0f) {
        canvas.Draw(shapes::Grown(glyphs, style.outlineWidth), style.outline);
    }
    canvas.Draw(glyphs, style.fill);
}

Canvas ScoreWord(const Fonts& fonts, std::string_view word)
{
    const TextImage text = fonts.bold.Render(word, type::label);
    Canvas canvas(static_cast<int>(text.inkMax.x - text.inkMin.x) + 8, 40);
    DrawText(canvas, text, text.LeftAlignedOn({2.0f, 22.0f}), InkText());
    return canvas;
}

PanelStyle PaperPanel()
{
    PanelStyle style;
    style.fill = [](glm::vec2) { return palette::paper; };
    style.outline = palette::ink;
    style.outlineWidth = 3.0f;
    style.shadow = palette::shadow;
    return style;
}

PanelStyle ColorPanel(Color fill)
{
    PanelStyle style = PaperPanel();
    style.fill = [fill](glm::vec2) { return fill; };
    return style;
}

void DrawPanel(Canvas& canvas, const Shape& outline, const PanelStyle& style)
{
    if (style.shadow.a > 0.0f) {
        canvas.Draw(shapes::Moved(outline, style.shadowOffset), style.shadow, style.shadowSoftness);
    }
    if (style.outlineWidth > 0.0f) {
        canvas.Draw(outline, style.outline);
        canvas.Draw(shapes::Grown(outline, -style.outlineWidth), style.fill);
    } else {
        canvas.Draw(outline, style.fill);
    }
}

}  // namespace ui
