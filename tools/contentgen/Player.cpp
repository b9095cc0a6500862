// The player: a small round creature that fits one cell, face toward +z.
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "Generators.h"
#include "Materials.h"
#include "Palette.h"
#include "Primitives.h"

namespace {

constexpr glm::vec3 bodyCentre(0.0f, 0.0f, 0.0f);
constexpr glm::vec3 bodyRadii(18.0f, 17.0f, 17.5f);

// A point on the body's surface in the direction (x, y, +z front), and the
// frame that stands a part on it with its local z along the surface normal.
glm::mat4 OnBody(float x, float y, float lift = 0.0f)
{
    const glm::vec2 q((x - bodyCentre.x) / bodyRadii.x, (y - bodyCentre.y) / bodyRadii.y);
    const float z = bodyRadii.z * std::sqrt(std::max(0.0f, 1.0f - glm::dot(q, q)));
    const glm::vec3 point(x, y, z);
    const glm::vec3 normal = glm::normalize((point - bodyCentre) / (bodyRadii * bodyRadii));
    const glm::vec3 side = glm::normalize(glm::cross(glm::vec3(0, 1, 0), normal));
    const glm::vec3 up = glm::cross(normal, side);
    return glm::mat4(glm::vec4(side, 0), glm::vec4(up, 0), glm::vec4(normal, 0), glm::vec4(point + normal * lift, 1));
}

void Part(MeshBuilder& mesh, int material, const glm::mat4& placement, glm::vec3 radii, int slices = 12, int stacks = 8)
{
    mesh.Use(material);
    mesh.SetPlacement(placement);
    primitives::Ellipsoid(mesh, radii, slices, stacks);
}

}  // namespace

void WritePlayer(ContentWriter& out)
{
    MeshBuilder mesh;
    const int body = mesh.AddMaterial(materials::Painted("Body", palette::coral, 0.3f, 20.0f));
    const int belly = mesh.AddMaterial(materials::Painted("Belly", Hex(0xFFF1DC), 0.2f, 12.0f));
    const int eyeWhite = mesh.AddMaterial(materials::Glossy("EyeWhite", Hex(0xFFFFFF), 0.5f, 40.0f));
    const int pupil = mesh.AddMaterial(materials::Glossy("Pupil", palette::ink, 0.8f, 60.0f));
    const int cheek = mesh.AddMaterial(materials::Painted("Cheek", Hex(0xFF9FA8), 0.1f, 8.0f));
    const int feet = mesh.AddMaterial(materials::Painted("Feet", palette::coralDark, 0.25f, 16.0f));
    const int bulb = mesh.AddMaterial(materials::Glowing("Bulb", palette::gold, 0.45f));

    Part(mesh, body, glm::translate(glm::mat4(1.0f), bodyCentre), bodyRadii, 24, 14);
    // The belly patch sits flat on the lower front.
    Part(mesh, belly, OnBody(0.0f, -7.5f, -3.5f), glm::vec3(10.0f, 7.5f, 5.0f), 14, 8);

    for (const float side : {-1.0f, 1.0f}) {
        Part(mesh, eyeWhite, OnBody(6.3f * side, 5.5f, -1.2f), glm::vec3(4.3f, 5.3f, 2.8f));
        Part(mesh, pupil, OnBody(6.0f * side, 5.0f, 0.9f), glm::vec3(2.4f, 3.1f, 1.3f), 10, 6);
        Part(mesh, eyeWhite, OnBody(5.2f * side, 6.6f, 1.9f), glm::vec3(0.9f), 6, 4);
        Part(mesh, cheek, OnBody(11.0f * side, -0.5f, -0.6f), glm::vec3(2.9f, 1.9f, 1.0f), 8, 5);
        // Stubby arms and feet.
        Part(mesh, body, glm::translate(glm::mat4(1.0f), glm::vec3(16.5f * side, -2.0f, 1.5f)) *
                             glm::rotate(glm::mat4(1.0f), 0.35f * side, glm::vec3(0, 0, 1)),
             glm::vec3(3.2f, 6.0f, 4.2f), 10, 6);
        Part(mesh, feet, glm::translate(glm::mat4(1.0f), glm::vec3(7.5f * side, -19.5f, 3.0f)),
             glm::vec3(5.8f, 4.5f, 7.5f), 10, 6);
    }
    // A small smile under the eyes: the lower part of a thin ring lying on
    // the face, its axis along the surface normal.
    mesh.Use(pupil);
    const glm::mat4 face = OnBody(0.0f, 1.5f, -0.2f);
    mesh.SetPlacement(face * glm::mat4(glm::vec4(1, 0, 0, 0), glm::vec4(0, 0, 1, 0), glm::vec4(0, -1, 0, 0),
                                       glm::vec4(0, 0, 0, 1)));
    primitives::TorusArc(mesh, 2.6f, 0.55f, -1.0f, 1.0f, 10, 6);

    // An antenna with a glowing bulb, so the silhouette reads from above.
    mesh.Use(feet);
    mesh.SetPlacement(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -1.0f)) *
                      glm::rotate(glm::mat4(1.0f), -0.25f, glm::vec3(1, 0, 0)));
    primitives::Cylinder(mesh, 0.9f, 15.5f, 20.5f, 8);
    Part(mesh, bulb, mesh.Placement() * glm::translate(glm::mat4(1.0f), glm::vec3(0, 21.5f, 0)), glm::vec3(2.5f), 8, 6);

    mesh.SetPlacement(glm::mat4(1.0f));
    out.Write(ModelFile::Player, mesh);
}
