#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "Color.h"

// What the model shader reads from a material: diffuse with its alpha, the
// specular power and colour, the emissive glow and an optional texture file
// that lies beside the model.
struct Material {
    std::string name;
    Color diffuse{1.0f};
    float power = 0.0f;
    glm::vec3 specular{0.0f};
    glm::vec3 emissive{0.0f};
    std::string texture;
};

struct MeshVertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 uv;
};

struct MeshFace {
    std::array<std::uint32_t, 3> index;
    int material;
};

// Collects one model: vertices, triangles and the material of each triangle.
// Triangles are clockwise when seen from the side their normal faces, the
// front-face order of the left-handed world the game draws in, so
// cross(b - a, c - a) points out of the surface.
class MeshBuilder {
public:
    int AddMaterial(const Material& material);
    // Following triangles use this material.
    void Use(int material) { current = material; }

    // Later vertices are placed by this matrix; normals follow its inverse
    // transpose.
    void SetPlacement(const glm::mat4& placement);
    const glm::mat4& Placement() const { return placement; }

    std::uint32_t AddVertex(glm::vec3 position, glm::vec3 normal, glm::vec2 uv = glm::vec2(0.0f));
    void AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    // a, b, c, d in clockwise order seen from the front.
    void AddQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d);
    // A convex polygon given in either order around it, split into a fan of
    // triangles each turned to face the way its vertex normals point.
    // Triangles without area (at a sphere's pole) are left out.
    void AddFacing(std::initializer_list<std::uint32_t> polygon);

    const std::vector<Material>& Materials() const { return materials; }
    const std::vector<MeshVertex>& Vertices() const { return vertices; }
    const std::vector<MeshFace>& Faces() const { return faces; }

private:
    std::vector<Material> materials;
    std::vector<MeshVertex> vertices;
    std::vector<MeshFace> faces;
    int current = 0;
    glm::mat4 placement{1.0f};
    glm::mat3 normalPlacement{1.0f};
    bool mirrored = false;
};
