// The launch marker: a thin glowing frame around the cell a shot appears in.
#include <glm/gtc/matrix_transform.hpp>

#include "Generators.h"
#include "Materials.h"
#include "Palette.h"
#include "Primitives.h"

namespace {

constexpr float cellHalf = 25.0f;
constexpr float barHalf = 1.4f;

}  // namespace

void WriteLaunchMarker(ContentWriter& out)
{
    MeshBuilder mesh;
    const int frame = mesh.AddMaterial(materials::Glowing("Frame", Hex(0xFFB640), 0.55f));
    const int floor = mesh.AddMaterial(materials::Glowing("FloorGlow", Hex(0xFFC65C, 0.4f), 0.5f));

    // Twelve bars along the edges of the cell.
    const float c = cellHalf - barHalf;
    for (int axis = 0; axis < 3; ++axis) {
        for (const float a : {-c, c}) {
            for (const float b : {-c, c}) {
                glm::vec3 centre(0.0f);
                glm::vec3 half(barHalf);
                centre[(axis + 1) % 3] = a;
                centre[(axis + 2) % 3] = b;
                half[axis] = cellHalf;
                mesh.SetPlacement(glm::translate(glm::mat4(1.0f), centre));
                primitives::RoundedBox(mesh, half, barHalf * 0.6f, 1, {frame, frame, frame});
            }
        }
    }
    // A faint square of light on the floor of the cell.
    mesh.SetPlacement(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -cellHalf + 0.6f, 0.0f)));
    mesh.Use(floor);
    primitives::Box(mesh, glm::vec3(c - barHalf, 0.3f, c - barHalf));
    mesh.SetPlacement(glm::mat4(1.0f));
    out.Write(ModelFile::LaunchMarker, mesh);
}
