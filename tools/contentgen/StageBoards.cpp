// The stage boards: a 500-unit cube per group whose every face shows the
// 10 × 10 cells, as the select scene stands a stage on each face and the
// game walks on the top one. The board is drawn unlit, so the texture
// carries its own light and shade.
#include <string>

#include "Canvas.h"
#include "Generators.h"
#include "Materials.h"
#include "Palette.h"
#include "Primitives.h"
#include "Shapes.h"

namespace {

constexpr float boardHalf = 250.0f;
constexpr int cells = 10;
constexpr int cellPixels = 64;

Canvas BoardFace(const palette::GroupColors& group)
{
    constexpr int size = cells * cellPixels;
    Canvas face(size, size);
    const float s = static_cast<float>(size);
    const Color groove = Mix(group.main, group.dark, 0.35f);
    face.Draw(shapes::Rect({0, 0}, {s, s}, 0), groove);
    const Color tileA = group.light;
    const Color tileB = Mix(group.light, group.main, 0.28f);
    for (int row = 0; row < cells; ++row) {
        for (int col = 0; col < cells; ++col) {
            const glm::vec2 min(static_cast<float>(col * cellPixels), static_cast<float>(row * cellPixels));
            const glm::vec2 max = min + glm::vec2(static_cast<float>(cellPixels));
            const Color base = (row + col) % 2 == 0 ? tileA : tileB;
            const Shape tile = shapes::Rect(min + glm::vec2(3.0f), max - glm::vec2(3.0f), 9.0f);
            const Bounds cell{min, max};
            // Raised tiles: lighter toward the top-left, a bright lip, a soft
            // shade toward the bottom-right.
            face.Draw(tile, paints::Vertical(Mix(base, Hex(0xFFFFFF), 0.25f), Mix(base, group.main, 0.12f),
                                             min.y, max.y),
                      1.0f, cell);
            face.Draw(shapes::Intersection(shapes::Stroke(tile, 3.0f), shapes::Moved(shapes::Grown(tile, -2.0f),
                                                                                       glm::vec2(-3.0f, -3.0f))),
                      WithAlpha(Hex(0xFFFFFF), 0.7f), 1.0f, cell);
            face.Draw(shapes::Intersection(shapes::Stroke(tile, 3.0f), shapes::Moved(shapes::Grown(tile, -2.0f),
                                                                                       glm::vec2(3.0f, 3.0f))),
                      WithAlpha(group.dark, 0.25f), 1.0f, cell);
        }
    }
    return face;
}

}  // namespace

void WriteStageBoards(ContentWriter& out)
{
    for (int group = 1; group <= 3; ++group) {
        const std::string texture = "Board" + std::to_string(group) + ".png";
        MeshBuilder mesh;
        mesh.Use(mesh.AddMaterial(materials::Textured("Board", texture)));
        primitives::Box(mesh, glm::vec3(boardHalf));
        const std::string model = ModelFile::StageBoard(group);
        out.Write(model, mesh);
        out.Write(Beside(model, texture), BoardFace(palette::Group(group)));
    }
}
