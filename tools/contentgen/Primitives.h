#pragma once

#include <vector>

#include "MeshBuilder.h"

// Solids the models are assembled from. Each is built around the origin and
// placed by the builder's current placement, with outward normals unless
// said otherwise; texture coordinates are given where a texture can use them.
namespace primitives {

// Which material each part of a bevelled box gets.
struct BoxMaterials {
    int face;
    int edge;
    int corner;
};

// A box of the given half size whose edges and corners are rounded with
// `radius`, `segments` steps per bevel. Each face maps the texture once,
// upright on the sides.
void RoundedBox(MeshBuilder& mesh, glm::vec3 half, float radius, int segments, BoxMaterials materials);

// A sharp box, each face one quad mapping the texture once.
void Box(MeshBuilder& mesh, glm::vec3 half);

// An ellipsoid around the y axis; u runs once around starting at +z, v from
// the top pole (0) to the bottom pole (vSpan). Inward turns normals and
// faces to the inside.
void Ellipsoid(MeshBuilder& mesh, glm::vec3 radii, int slices, int stacks, bool inward = false, float vSpan = 1.0f);

// A ring around the y axis.
void Torus(MeshBuilder& mesh, float ringRadius, float tubeRadius, int segments, int sides);
// Part of that ring, from angle `from` to `to` (radians from +z toward +x).
void TorusArc(MeshBuilder& mesh, float ringRadius, float tubeRadius, float from, float to, int segments, int sides);

// An upright cylinder from y0 to y1, with flat caps.
void Cylinder(MeshBuilder& mesh, float radius, float y0, float y1, int segments);

// A solid whose faces are flat polygons around the given points, lit flat.
// Faces are listed by vertex index; each is turned away from `inside`.
void FlatSolid(MeshBuilder& mesh, const std::vector<glm::vec3>& points, const std::vector<std::vector<int>>& faces,
               glm::vec3 inside);

}  // namespace primitives
