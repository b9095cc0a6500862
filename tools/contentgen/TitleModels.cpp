// The title screen's 3D pieces: the logo (a checkered cube of white and black
// blocks inside a gold ring) and one emblem per stage group, plus the title
// lettering drawn over them.
#include <string>

#include <glm/gtc/matrix_transform.hpp>

#include "Canvas.h"
#include "Generators.h"
#include "Materials.h"
#include "Palette.h"
#include "Primitives.h"
#include "Shapes.h"

namespace {

MeshBuilder Logo()
{
    MeshBuilder mesh;
    const int white = mesh.AddMaterial(materials::Painted("LogoWhite", palette::pearl, 0.4f, 24.0f));
    const int black = mesh.AddMaterial(materials::Glossy("LogoBlack", palette::blockInk, 0.6f, 40.0f));
    const int gold = mesh.AddMaterial(materials::Glossy("LogoGold", palette::gold, 0.8f, 40.0f));

    constexpr float step = 1.95f;
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 at((i & 1) ? step : -step, (i & 2) ? step : -step, (i & 4) ? step : -step);
        const int m = ((i & 1) ^ ((i >> 1) & 1) ^ ((i >> 2) & 1)) ? black : white;
        mesh.SetPlacement(glm::translate(glm::mat4(1.0f), at));
        primitives::RoundedBox(mesh, glm::vec3(1.75f), 0.45f, 2, {m, m, m});
    }
    mesh.Use(gold);
    mesh.SetPlacement(glm::mat4(1.0f));
    primitives::Torus(mesh, 6.6f, 0.42f, 64, 12);
    for (int k = 0; k < 4; ++k) {
        const float a = glm::half_pi<float>() * static_cast<float>(k) + glm::quarter_pi<float>();
        mesh.SetPlacement(glm::translate(glm::mat4(1.0f), glm::vec3(std::sin(a), 0.0f, std::cos(a)) * 6.6f));
        primitives::Ellipsoid(mesh, glm::vec3(0.85f), 16, 10);
    }
    mesh.SetPlacement(glm::mat4(1.0f));
    return mesh;
}

// Easy: a soft round planet with a white ring.
MeshBuilder EasyEmblem()
{
    const auto& c = palette::easy;
    MeshBuilder mesh;
    const int body = mesh.AddMaterial(materials::Painted("EasyBody", c.main, 0.35f, 24.0f));
    const int ring = mesh.AddMaterial(materials::Glossy("EasyRing", c.dark, 0.6f, 40.0f));
    const int moon = mesh.AddMaterial(materials::Painted("EasyMoon", c.light, 0.3f, 20.0f));
    mesh.Use(body);
    primitives::Ellipsoid(mesh, glm::vec3(2.0f), 32, 20);
    mesh.Use(ring);
    mesh.SetPlacement(glm::rotate(glm::mat4(1.0f), 0.35f, glm::vec3(0, 0, 1)));
    primitives::Torus(mesh, 2.75f, 0.22f, 48, 10);
    mesh.Use(moon);
    mesh.SetPlacement(mesh.Placement() * glm::translate(glm::mat4(1.0f), glm::vec3(2.75f, 0.0f, 0.0f)));
    primitives::Ellipsoid(mesh, glm::vec3(0.5f), 14, 8);
    mesh.SetPlacement(glm::mat4(1.0f));
    return mesh;
}

// Normal: a honey block with a darker band round its middle.
MeshBuilder NormalEmblem()
{
    const auto& c = palette::normal;
    MeshBuilder mesh;
    const int body = mesh.AddMaterial(materials::Painted("NormalBody", c.main, 0.4f, 28.0f));
    const int band = mesh.AddMaterial(materials::Glossy("NormalBand", c.dark, 0.5f, 36.0f));
    primitives::RoundedBox(mesh, glm::vec3(1.9f), 0.55f, 3, {body, body, body});
    primitives::RoundedBox(mesh, glm::vec3(2.05f, 0.42f, 2.05f), 0.3f, 2, {band, band, band});
    return mesh;
}

// Hard: a two-tone star of two crossed tetrahedra.
MeshBuilder HardEmblem()
{
    const auto& c = palette::hard;
    MeshBuilder mesh;
    const int light = mesh.AddMaterial(materials::Glossy("HardLight", c.main, 0.5f, 36.0f));
    const int dark = mesh.AddMaterial(materials::Glossy("HardDark", c.dark, 0.6f, 40.0f));
    const std::vector<std::vector<int>> faces = {{0, 1, 2}, {0, 1, 3}, {0, 2, 3}, {1, 2, 3}};
    constexpr float s = 2.2f;
    const std::vector<glm::vec3> up = {{s, s, s}, {s, -s, -s}, {-s, s, -s}, {-s, -s, s}};
    const std::vector<glm::vec3> down = {-up[0], -up[1], -up[2], -up[3]};
    mesh.Use(light);
    primitives::FlatSolid(mesh, up, faces, glm::vec3(0.0f));
    mesh.Use(dark);
    primitives::FlatSolid(mesh, down, faces, glm::vec3(0.0f));
    return mesh;
}

// The game's name over the title screen. The scene draws it 1.8 times
// enlarged with its point (180, h/2) at (640, h - 50), so with h = 200 the
// lettering lands in the top third, clear of the turning logo.
Canvas TitleLettering(const ui::Fonts& fonts)
{
    Canvas title(360, 200);
    const TextImage name = fonts.bold.Render("ORB", 88.0f);
    ui::TextStyle style = ui::InkText();
    style.outline = palette::paper;
    style.outlineWidth = 3.0f;
    style.shadow = palette::shadow;
    style.shadowOffset = glm::vec2(0.0f, 4.0f);
    ui::DrawText(title, name, name.CentredOn({180.0f, 72.0f}), style);

    // A row of blocks under the name, turning from black to white.
    for (int i = 0; i < 7; ++i) {
        const float x = 180.0f + (static_cast<float>(i) - 3.0f) * 17.0f;
        const Shape tile = shapes::Rect({x - 7.0f, 116.0f}, {x + 7.0f, 130.0f}, 3.0f);
        title.Draw(shapes::Grown(tile, 1.5f), palette::ink);
        title.Draw(tile, i < 3 ? palette::blockInk : i == 3 ? palette::coral : palette::pearl);
    }
    const TextImage tagline = fonts.regular.Render("turn every block white", 16.0f);
    ui::DrawText(title, tagline, tagline.CentredOn({180.0f, 146.0f}), ui::InkText());
    return title;
}

}  // namespace

void WriteTitleModels(ContentWriter& out, const ui::Fonts& fonts)
{
    out.Write(ModelFile::TitleLogo, Logo());
    out.Write(ModelFile::TitleEmblem(1), EasyEmblem());
    out.Write(ModelFile::TitleEmblem(2), NormalEmblem());
    out.Write(ModelFile::TitleEmblem(3), HardEmblem());
    out.Write(ImageFile::TitleLettering, TitleLettering(fonts));
}
