// The three block kinds, the light armoured block of the inverted look, and
// the face image the cell shards cut up.
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "Canvas.h"
#include "Generators.h"
#include "Materials.h"
#include "Palette.h"
#include "Primitives.h"
#include "Shapes.h"

namespace {

// Cells are 50 apart; a sliver of air between neighbours keeps them apart.
constexpr float blockHalf = 24.0f;
constexpr float bevelRadius = 4.5f;
// One segment: the bevel's tone and its smooth normals already round the
// edge, and each segment more costs the software renderer a block's worth of
// triangles (108 a block at one, 588 at three).
constexpr int bevelSegments = 1;
// Armour bevels are wider so the steel rim reads from the game camera.
constexpr float armourBevel = 7.0f;
// Eight rivets per face, round the rim of the face plate.
constexpr float rivetOffset = 16.0f;
constexpr float rivetRadius = 2.1f;
// Rivets stand proud of the face up to the edge of the cell; too small on
// screen to need more than a few facets.
constexpr float rivetHeight = 25.0f - blockHalf;
constexpr int rivetSlices = 4;
constexpr int rivetStacks = 2;

// The fixed light falls on the top, front and left faces alike, so a block
// seen from the game cameras would show its faces in one flat tone; a
// slightly different tone on the bevels draws the cube's edges.
MeshBuilder PlainBlock(const Material& body, const Material& bevel)
{
    MeshBuilder mesh;
    const int face = mesh.AddMaterial(body);
    const int edge = mesh.AddMaterial(bevel);
    primitives::RoundedBox(mesh, glm::vec3(blockHalf), bevelRadius, bevelSegments, {face, edge, edge});
    return mesh;
}

struct ArmourColors {
    Color body;
    Color rim;
    Color rivet;
};

MeshBuilder ArmouredBlock(const std::string& prefix, const ArmourColors& colors)
{
    MeshBuilder mesh;
    const int body = mesh.AddMaterial(materials::Glossy(prefix + "Body", colors.body, 0.5f, 40.0f));
    const int rim = mesh.AddMaterial(materials::Glossy(prefix + "Rim", colors.rim, 0.7f, 60.0f));
    const int rivet = mesh.AddMaterial(materials::Glossy(prefix + "Rivet", colors.rivet, 0.8f, 60.0f));
    primitives::RoundedBox(mesh, glm::vec3(blockHalf), armourBevel, bevelSegments, {body, rim, rim});

    mesh.Use(rivet);
    const glm::vec3 normals[6] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    for (const glm::vec3& n : normals) {
        const glm::vec3 u = std::abs(n.y) > 0.5f ? glm::vec3(1, 0, 0) : glm::vec3(0, 1, 0);
        const glm::vec3 v = glm::cross(n, u);
        for (const float su : {-1.0f, 0.0f, 1.0f}) {
            for (const float sv : {-1.0f, 0.0f, 1.0f}) {
                if (su == 0.0f && sv == 0.0f) {
                    continue;
                }
                const glm::vec3 centre = n * blockHalf + (u * su + v * sv) * rivetOffset;
                const glm::mat4 frame(glm::vec4(u, 0), glm::vec4(v, 0), glm::vec4(n, 0), glm::vec4(centre, 1));
                mesh.SetPlacement(frame);
                primitives::Ellipsoid(mesh, glm::vec3(rivetRadius, rivetRadius, rivetHeight), rivetSlices, rivetStacks);
            }
        }
    }
    mesh.SetPlacement(glm::mat4(1.0f));
    return mesh;
}

Color Inverse(Color c) { return Color(1.0f - c.r, 1.0f - c.g, 1.0f - c.b, c.a); }

// The white block's face: pearl, with the bevel's light rim at the border,
// so that shards read as broken pieces of a block.
Canvas ShardFace()
{
    constexpr int size = 320;
    Canvas face(size, size);
    const float s = static_cast<float>(size);
    face.Draw(shapes::Rect({0, 0}, {s, s}, 0), palette::pearl);
    const Color rim = Mix(palette::pearl, Hex(0xC9CFE0), 0.55f);
    face.Draw(shapes::Stroke(shapes::Rect({6, 6}, {s - 6, s - 6}, 18), 8), WithAlpha(rim, 0.9f), 6.0f);
    face.Draw(shapes::Stroke(shapes::Rect({30, 30}, {s - 30, s - 30}, 14), 3), WithAlpha(Hex(0xFFFFFF), 0.9f), 3.0f);
    return face;
}

}  // namespace

void WriteBlocks(ContentWriter& out)
{
    out.Write(ModelFile::WhiteBlock,
              PlainBlock(materials::Painted("WhiteBlock", palette::pearl, 0.35f, 24.0f),
                         materials::Painted("WhiteBlockEdge", Mix(palette::pearl, Hex(0xBCC3D8), 0.45f), 0.35f, 24.0f)));
    out.Write(ImageFile::ShardFace, ShardFace());
    out.Write(ModelFile::BlackBlock,
              PlainBlock(materials::Glossy("BlackBlock", palette::blockInk, 0.55f, 40.0f),
                         materials::Glossy("BlackBlockEdge", Mix(palette::blockInk, Hex(0x6A7087), 0.3f), 0.6f, 40.0f)));

    const ArmourColors armour{palette::blockInk, palette::steel, palette::brass};
    out.Write(ModelFile::HardBlock, ArmouredBlock("HardBlack", armour));
    // Drawn for the game-over look, which turns the picture negative: its
    // colours are the armoured block's own, inverted.
    const ArmourColors light{palette::pearl, Inverse(palette::steel), Inverse(palette::brass)};
    out.Write(ModelFile::HardBlockInverted, ArmouredBlock("HardBlackLight", light));
}
