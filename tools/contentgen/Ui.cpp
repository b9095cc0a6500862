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

Canvas Question(const Fonts& fonts, const char* question, const std::vector<const char*>& answers, float answerWidth,
                std::size_t chosen)
{
    constexpr float w = 640.0f;
    constexpr float h = 156.0f;
    constexpr float margin = 10.0f;
    constexpr float answerHeight = 52.0f;
    constexpr float answerY = 104.0f;
    constexpr float answerGap = 50.0f;
    Canvas canvas(static_cast<int>(w), static_cast<int>(h));
    DrawPanel(canvas, shapes::Rect({margin, margin}, {w - margin, h - margin}, 26.0f), PaperPanel());
    const TextImage asked = fonts.bold.Render(question, type::button);
    DrawText(canvas, asked, asked.CentredOn({w * 0.5f, 48.0f}), InkText());
    const auto answer = [&](const char* text, float x, bool lit) {
        const glm::vec2 half(answerWidth * 0.5f, answerHeight * 0.5f);
        const Shape button = shapes::Rect(glm::vec2(x, answerY) - half, glm::vec2(x, answerY) + half, answerHeight * 0.5f);
        DrawPanel(canvas, button, ColorPanel(lit ? palette::coral : palette::paper));
        const TextImage label = fonts.bold.Render(text, type::button * 0.8f);
        TextStyle style = InkText();
        style.fill = lit ? Hex(0xFFFFFF) : palette::ink;
        DrawText(canvas, label, label.CentredOn({x, answerY}), style);
    };
    const float middle = static_cast<float>(answers.size() - 1) * 0.5f;
    for (std::size_t i = 0; i < answers.size(); ++i)
        answer(answers[i], w * 0.5f + (static_cast<float>(i) - middle) * (answerWidth + answerGap), i == chosen);
    return canvas;
}

}  // namespace ui
