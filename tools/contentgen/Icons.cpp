// Both icons show a piece of the Easy board from above with white and black
// blocks on it, the game in one picture; the editor's adds the board's grid
// and a pencil. Everything is laid out on the unit square and scaled, and no
// line gets thinner than a pixel, so the 16-pixel icon keeps the same parts.
#include "Icons.h"

#include <algorithm>
#include <vector>

#include <glm/geometric.hpp>

#include "Palette.h"
#include "Shapes.h"

namespace {

// In units of the icon's side.
constexpr float boardMargin = 0.06f;
constexpr float boardRadius = 0.2f;
constexpr float outlineWidth = 0.025f;
constexpr float blockRadius = 0.07f;
// The share of a block's height taken by its front face, below the top.
constexpr float blockFront = 0.25f;
constexpr glm::vec2 shadowOffset{0.02f, 0.035f};
constexpr float shadowSoftness = 0.05f;
constexpr glm::vec2 boardMin{boardMargin};
constexpr glm::vec2 boardMax{1.0f - boardMargin};
// The editor's board, split into a few large cells: the real ten would blur.
constexpr int editorCells = 3;
constexpr float cellSide = (boardMax.x - boardMin.x) / editorCells;
constexpr float cellInset = 0.03f;
constexpr float topFaceRadius = blockRadius * 0.8f;

constexpr Color outline = palette::ink;
constexpr Color whiteTop = palette::pearl;
constexpr Color whiteFront = Mix(palette::pearl, Hex(0xBCC3D8), 0.6f);
constexpr Color blackTop = Mix(palette::blockInk, Hex(0x6A7087), 0.35f);
constexpr Color blackFront = palette::blockInk;

// Draws on the unit square of a canvas of the given side.
class IconCanvas {
public:
    explicit IconCanvas(int size) : canvas(size, size), side(static_cast<float>(size)) {}

    glm::vec2 At(glm::vec2 unit) const { return unit * side; }
    // A line width in pixels: never under one pixel.
    float Line(float units) const { return std::max(1.0f, units * side); }
    Shape Rect(glm::vec2 min, glm::vec2 max, float radius) const
    {
        return shapes::Rect(At(min), At(max), radius * side);
    }
    Shape Polygon(const std::vector<glm::vec2>& unitPoints) const
    {
        std::vector<glm::vec2> points;
        for (const glm::vec2 p : unitPoints) {
            points.push_back(At(p));
        }
        return shapes::Polygon(std::move(points));
    }
    // A shape with its outline in ink around it.
    void DrawOutlined(const Shape& shape, const Paint& fill)
    {
        canvas.Draw(shape, outline);
        canvas.Draw(shapes::Grown(shape, -Line(outlineWidth)), fill);
    }
    void DrawShadow(const Shape& shape)
    {
        canvas.Draw(shapes::Moved(shape, At(shadowOffset)), palette::shadow, std::max(1.0f, shadowSoftness * side));
    }

    Canvas canvas;
    float side;
};

Shape DrawBoard(IconCanvas& icon)
{
    const Shape board = icon.Rect(boardMin, boardMax, boardRadius);
    icon.DrawShadow(board);
    const glm::vec2 top = icon.At(boardMin);
    const glm::vec2 bottom = icon.At(boardMax);
    icon.DrawOutlined(board, paints::Vertical(Mix(palette::easy.main, palette::easy.light, 0.45f), palette::easy.main,
                                              top.y, bottom.y));
    return board;
}

// A block seen from above and a little in front: its top face over the
// darker front face, the way the game's camera shows the board.
void DrawBlock(IconCanvas& icon, glm::vec2 min, glm::vec2 max, Color top, Color front)
{
    const Shape body = icon.Rect(min, max, blockRadius);
    icon.DrawShadow(body);
    icon.DrawOutlined(body, [front](glm::vec2) { return front; });
    const float inset = icon.Line(outlineWidth) / icon.side;
    const glm::vec2 topMax(max.x - inset, max.y - (max.y - min.y) * blockFront);
    icon.canvas.Draw(icon.Rect(min + inset, topMax, topFaceRadius), top);
}

void DrawGrid(IconCanvas& icon, const Shape& board)
{
    const float half = icon.Line(outlineWidth) / icon.side * 0.5f;
    const Shape inside = shapes::Grown(board, -icon.Line(outlineWidth));
    const Color line = WithAlpha(palette::easy.dark, 0.55f);
    for (int i = 1; i < editorCells; ++i) {
        const float at = boardMin.x + cellSide * static_cast<float>(i);
        icon.canvas.Draw(shapes::Intersection(icon.Rect({at - half, 0.0f}, {at + half, 1.0f}, 0.0f), inside), line);
        icon.canvas.Draw(shapes::Intersection(icon.Rect({0.0f, at - half}, {1.0f, at + half}, 0.0f), inside), line);
    }
}

glm::vec2 CellMin(int column, int row)
{
    return boardMin + glm::vec2(static_cast<float>(column), static_cast<float>(row)) * cellSide + cellInset;
}

glm::vec2 CellMax(int column, int row) { return CellMin(column + 1, row + 1) - 2.0f * cellInset; }

// A coral pencil lying from the board's corner to its tip in the centre cell.
void DrawPencil(IconCanvas& icon)
{
    const glm::vec2 tip(0.46f, 0.46f);
    const glm::vec2 end(0.93f, 0.93f);
    const float halfWidth = 0.085f;
    const glm::vec2 along = end - tip;
    const glm::vec2 across = glm::normalize(glm::vec2(-along.y, along.x)) * halfWidth;
    const auto at = [&](float t, float side) { return tip + along * t + across * side; };

    constexpr float lead = 0.1f;
    constexpr float wood = 0.3f;
    constexpr float cap = 0.86f;
    const Shape cone = icon.Polygon({at(0, 0), at(wood, 1), at(wood, -1)});
    const Shape body = icon.Polygon({at(wood, 1), at(1, 1), at(1, -1), at(wood, -1)});
    const Shape pencil = shapes::Union(cone, body);
    icon.DrawShadow(pencil);
    icon.canvas.Draw(shapes::Grown(pencil, icon.Line(outlineWidth)), outline);
    icon.canvas.Draw(cone, Mix(palette::paper, palette::gold, 0.45f));
    icon.canvas.Draw(icon.Polygon({at(0, 0), at(lead, lead / wood), at(lead, -lead / wood)}), outline);
    icon.canvas.Draw(body, palette::coral);
    icon.canvas.Draw(icon.Polygon({at(wood, 0), at(cap, 0), at(cap, -1), at(wood, -1)}), palette::coralDark);
    icon.canvas.Draw(icon.Polygon({at(cap, 1), at(1, 1), at(1, -1), at(cap, -1)}), palette::paperShade);
}

}  // namespace

Canvas GameIcon(int size)
{
    IconCanvas icon(size);
    DrawBoard(icon);
    // The black block behind, the white one in front of it, as a shot lands.
    DrawBlock(icon, {0.47f, 0.17f}, {0.86f, 0.58f}, blackTop, blackFront);
    DrawBlock(icon, {0.14f, 0.42f}, {0.53f, 0.83f}, whiteTop, whiteFront);
    return icon.canvas;
}

Canvas EditorIcon(int size)
{
    IconCanvas icon(size);
    DrawGrid(icon, DrawBoard(icon));
    DrawBlock(icon, CellMin(0, 0), CellMax(0, 0), whiteTop, whiteFront);
    DrawBlock(icon, CellMin(1, 0), CellMax(1, 0), blackTop, blackFront);
    DrawBlock(icon, CellMin(0, 1), CellMax(0, 1), blackTop, blackFront);
    DrawPencil(icon);
    return icon.canvas;
}
