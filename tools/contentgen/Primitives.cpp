#include "Primitives.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>

namespace primitives {

namespace {

// Each face of a box: its outward axis, and the directions in which the
// texture's u and v grow as seen from outside, upright on the four sides.
struct BoxFace {
    glm::vec3 normal;
    glm::vec3 u;
    glm::vec3 v;
};

constexpr BoxFace boxFaces[6] = {
    {{0, 0, 1}, {-1, 0, 0}, {0, -1, 0}}, {{0, 0, -1}, {1, 0, 0}, {0, -1, 0}},
    {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}},  {{-1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},  {{0, -1, 0}, {-1, 0, 0}, {0, 0, -1}},
};

float Along(glm::vec3 axis, glm::vec3 half) { return std::abs(glm::dot(glm::abs(axis), half)); }

// Positions across one axis of a face: the bevel bands are spaced so that
// their normals turn in equal angles.
std::vector<float> BevelKnots(float half, float radius, int segments)
{
    std::vector<float> knots;
    for (int k = 0; k <= segments; ++k) {
        const float angle = glm::quarter_pi<float>() * static_cast<float>(segments - k) / static_cast<float>(segments);
        knots.push_back(-(half - radius) - radius * std::tan(angle));
    }
    for (int k = segments; k >= 0; --k) {
        knots.push_back(-knots[static_cast<std::size_t>(k)]);
    }
    return knots;
}

}  // namespace

void RoundedBox(MeshBuilder& mesh, glm::vec3 half, float radius, int segments, BoxMaterials materials)
{
    const glm::vec3 inner = half - glm::vec3(radius);
    for (const BoxFace& face : boxFaces) {
        const float halfU = Along(face.u, half);
        const float halfV = Along(face.v, half);
        const std::vector<float> us = BevelKnots(halfU, radius, segments);
        const std::vector<float> vs = BevelKnots(halfV, radius, segments);
        const glm::vec3 base = face.normal * Along(face.normal, half);
        std::vector<std::uint32_t> grid;
        for (float v : vs) {
            for (float u : us) {
                const glm::vec3 onCube = base + face.u * u + face.v * v;
                const glm::vec3 core = glm::clamp(onCube, -inner, inner);
                const glm::vec3 normal = glm::normalize(onCube - core);
                const glm::vec2 uv((u + halfU) / (2.0f * halfU), (v + halfV) / (2.0f * halfV));
                grid.push_back(mesh.AddVertex(core + normal * radius, normal, uv));
            }
        }
        const int n = static_cast<int>(us.size());
        const int middle = segments;
        for (int j = 0; j + 1 < n; ++j) {
            for (int i = 0; i + 1 < n; ++i) {
                const int flat = (i == middle ? 1 : 0) + (j == middle ? 1 : 0);
                mesh.Use(flat == 2 ? materials.face : flat == 1 ? materials.edge : materials.corner);
                mesh.AddFacing({grid[j * n + i], grid[j * n + i + 1], grid[(j + 1) * n + i + 1], grid[(j + 1) * n + i]});
            }
        }
    }
}

void Box(MeshBuilder& mesh, glm::vec3 half)
{
    for (const BoxFace& face : boxFaces) {
        const glm::vec3 centre = face.normal * Along(face.normal, half);
        const glm::vec3 u = face.u * Along(face.u, half);
        const glm::vec3 v = face.v * Along(face.v, half);
        const auto a = mesh.AddVertex(centre - u - v, face.normal, {0, 0});
        const auto b = mesh.AddVertex(centre + u - v, face.normal, {1, 0});
        const auto c = mesh.AddVertex(centre + u + v, face.normal, {1, 1});
        const auto d = mesh.AddVertex(centre - u + v, face.normal, {0, 1});
        mesh.AddFacing({a, b, c, d});
    }
}

void Ellipsoid(MeshBuilder& mesh, glm::vec3 radii, int slices, int stacks, bool inward, float vSpan)
{
    std::vector<std::uint32_t> grid;
    for (int i = 0; i <= stacks; ++i) {
        const float theta = glm::pi<float>() * static_cast<float>(i) / static_cast<float>(stacks);
        for (int j = 0; j <= slices; ++j) {
            const float phi = glm::two_pi<float>() * static_cast<float>(j) / static_cast<float>(slices);
            const glm::vec3 unit(std::sin(theta) * std::sin(phi), std::cos(theta), std::sin(theta) * std::cos(phi));
            glm::vec3 normal = glm::normalize(unit / radii);
            if (inward) {
                normal = -normal;
            }
            const glm::vec2 uv(static_cast<float>(j) / static_cast<float>(slices),
                               vSpan * static_cast<float>(i) / static_cast<float>(stacks));
            grid.push_back(mesh.AddVertex(unit * radii, normal, uv));
        }
    }
    const int row = slices + 1;
    for (int i = 0; i < stacks; ++i) {
        for (int j = 0; j < slices; ++j) {
            mesh.AddFacing({grid[i * row + j], grid[i * row + j + 1], grid[(i + 1) * row + j + 1], grid[(i + 1) * row + j]});
        }
    }
}

void Torus(MeshBuilder& mesh, float ringRadius, float tubeRadius, int segments, int sides)
{
    TorusArc(mesh, ringRadius, tubeRadius, 0.0f, glm::two_pi<float>(), segments, sides);
}

void TorusArc(MeshBuilder& mesh, float ringRadius, float tubeRadius, float from, float to, int segments, int sides)
{
    std::vector<std::uint32_t> grid;
    for (int i = 0; i <= segments; ++i) {
        const float a = from + (to - from) * static_cast<float>(i) / static_cast<float>(segments);
        const glm::vec3 out(std::sin(a), 0.0f, std::cos(a));
        for (int j = 0; j <= sides; ++j) {
            const float b = glm::two_pi<float>() * static_cast<float>(j) / static_cast<float>(sides);
            const glm::vec3 normal = out * std::cos(b) + glm::vec3(0.0f, std::sin(b), 0.0f);
            const glm::vec2 uv(static_cast<float>(i) / static_cast<float>(segments),
                               static_cast<float>(j) / static_cast<float>(sides));
            grid.push_back(mesh.AddVertex(out * ringRadius + normal * tubeRadius, normal, uv));
        }
    }
    const int row = sides + 1;
    for (int i = 0; i < segments; ++i) {
        for (int j = 0; j < sides; ++j) {
            mesh.AddFacing({grid[i * row + j], grid[i * row + j + 1], grid[(i + 1) * row + j + 1], grid[(i + 1) * row + j]});
        }
    }
}

void Cylinder(MeshBuilder& mesh, float radius, float y0, float y1, int segments)
{
    std::vector<std::uint32_t> side;
    for (int i = 0; i <= segments; ++i) {
        const float a = glm::two_pi<float>() * static_cast<float>(i) / static_cast<float>(segments);
        const glm::vec3 out(std::sin(a), 0.0f, std::cos(a));
        const float u = static_cast<float>(i) / static_cast<float>(segments);
        side.push_back(mesh.AddVertex(out * radius + glm::vec3(0, y0, 0), out, {u, 1}));
        side.push_back(mesh.AddVertex(out * radius + glm::vec3(0, y1, 0), out, {u, 0}));
    }
    for (int i = 0; i < segments; ++i) {
        mesh.AddFacing({side[2 * i], side[2 * i + 1], side[2 * i + 3], side[2 * i + 2]});
    }
    for (const float y : {y0, y1}) {
        const glm::vec3 normal(0.0f, y == y1 ? 1.0f : -1.0f, 0.0f);
        const auto centre = mesh.AddVertex(glm::vec3(0, y, 0), normal, {0.5f, 0.5f});
        std::vector<std::uint32_t> rim;
        for (int i = 0; i <= segments; ++i) {
            const float a = glm::two_pi<float>() * static_cast<float>(i) / static_cast<float>(segments);
            rim.push_back(mesh.AddVertex(glm::vec3(std::sin(a) * radius, y, std::cos(a) * radius), normal,
                                         {0.5f + 0.5f * std::sin(a), 0.5f + 0.5f * std::cos(a)}));
        }
        for (int i = 0; i < segments; ++i) {
            mesh.AddFacing({centre, rim[i], rim[i + 1]});
        }
    }
}

void FlatSolid(MeshBuilder& mesh, const std::vector<glm::vec3>& points, const std::vector<std::vector<int>>& faces,
               glm::vec3 inside)
{
    for (const auto& face : faces) {
        glm::vec3 centre(0.0f);
        for (int i : face) {
            centre += points[static_cast<std::size_t>(i)];
        }
        centre /= static_cast<float>(face.size());
        glm::vec3 normal = glm::normalize(glm::cross(points[face[1]] - points[face[0]], points[face[2]] - points[face[0]]));
        if (glm::dot(normal, centre - inside) < 0.0f) {
            normal = -normal;
        }
        std::vector<std::uint32_t> corners;
        for (int i : face) {
            corners.push_back(mesh.AddVertex(points[static_cast<std::size_t>(i)], normal));
        }
        for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
            mesh.AddFacing({corners[0], corners[i], corners[i + 1]});
        }
    }
}

}  // namespace primitives
