#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/Material.h"

// What the game takes from a DirectX X file: every mesh of the file placed by
// its frames and merged, one material list in file order, and per material
// the triangles that use it.
struct XModel {
    struct Vertex {
        float position[3];
        float normal[3];
        float uv[2];
    };
    struct ModelMaterial {
        Material colors;
        // As the file names it (double backslashes made single); empty for none.
        std::string texture;
    };

    std::vector<Vertex> vertices;
    std::vector<ModelMaterial> materials;
    // Per material, three vertex indices per triangle, in file order.
    std::vector<std::vector<std::uint32_t>> triangles;
};

// The largest model body the reader takes, after decompression.
constexpr std::size_t MaxXModelBytes = 64u << 20;
// Each material is a subset and a draw; no real model comes near this. Every
// material of a file counts, declared or referenced.
constexpr std::size_t MaxXModelMaterials = 65536;

// Reads an X file: text or binary, either one compressed, 32- or 64-bit floats.
// Meshes may sit at the top or in nested frames with transform matrices; faces
// of any size are cut into fans; normals, texture coordinates and material
// lists are optional; templates and objects the game has no use for (vertex
// colours, skinning, animation) are skipped. A file that is not a valid X
// file, or whose counts do not fit its size, gives nothing and a one-line
// reason, before anything large is allocated.
std::optional<XModel> ParseXModel(std::span<const std::uint8_t> file, std::string& error);
