#include "MeshBuilder.h"

#include <cassert>

#include <glm/geometric.hpp>
#include <glm/matrix.hpp>

int MeshBuilder::AddMaterial(const Material& material)
{
    materials.push_back(material);
    return static_cast<int>(materials.size()) - 1;
}

void MeshBuilder::SetPlacement(const glm::mat4& m)
{
    placement = m;
    normalPlacement = glm::transpose(glm::inverse(glm::mat3(m)));
    mirrored = glm::determinant(glm::mat3(m)) < 0.0f;
}

std::uint32_t MeshBuilder::AddVertex(glm::vec3 position, glm::vec3 normal, glm::vec2 uv)
{
    const glm::vec3 placed = glm::vec3(placement * glm::vec4(position, 1.0f));
    vertices.push_back({placed, glm::normalize(normalPlacement * normal), uv});
    return static_cast<std::uint32_t>(vertices.size() - 1);
}

void MeshBuilder::AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    assert(current >= 0 && current < static_cast<int>(materials.size()) && "Did you add a material first?");
    // A mirroring placement turns the winding around; turn it back.
    faces.push_back({mirrored ? std::array<std::uint32_t, 3>{a, c, b} : std::array<std::uint32_t, 3>{a, b, c},
                     current});
}

void MeshBuilder::AddQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    AddTriangle(a, b, c);
    AddTriangle(a, c, d);
}

void MeshBuilder::AddFacing(std::initializer_list<std::uint32_t> polygon)
{
    const std::uint32_t* v = polygon.begin();
    for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
        const glm::vec3 a = vertices[v[0]].position;
        const glm::vec3 b = vertices[v[i]].position;
        const glm::vec3 c = vertices[v[i + 1]].position;
        const glm::vec3 area = glm::cross(b - a, c - a);
        // Slivers this thin collapse when the file rounds their corners; they cover nothing.
        if (glm::dot(area, area) < 1e-6f) {
            continue;
        }
        const glm::vec3 facing = vertices[v[0]].normal + vertices[v[i]].normal + vertices[v[i + 1]].normal;
        if (glm::dot(area, facing) >= 0.0f) {
            faces.push_back({{v[0], v[i], v[i + 1]}, current});
        } else {
            faces.push_back({{v[0], v[i + 1], v[i]}, current});
        }
    }
}
