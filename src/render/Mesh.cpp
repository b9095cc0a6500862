#include "render/Mesh.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "files/FileBytes.h"
#include "formats/XModel.h"
#include "render/GraphicsDevice.h"

namespace {

// Longest drive and other path parts the path split accepts.
constexpr std::size_t MaxDriveLength = 2;
constexpr std::size_t MaxPartLength = 255;

struct PathParts {
    std::string drive;
    std::string directory;
    std::string name;
    std::string extension;
};

bool SplitPath(const std::string& path, PathParts& parts)
{
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        parts.drive = path.substr(0, 2);
        start = 2;
    }
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos || slash < start ? start : slash + 1;
    parts.directory = path.substr(start, nameStart - start);
    const std::string file = path.substr(nameStart);
    const std::size_t dot = file.find_last_of('.');
    parts.name = file.substr(0, dot);
    parts.extension = dot == std::string::npos ? "" : file.substr(dot);
    return parts.drive.size() <= MaxDriveLength && parts.directory.size() <= MaxPartLength &&
           parts.name.size() <= MaxPartLength && parts.extension.size() <= MaxPartLength;
}

}  // namespace

Mesh::Mesh(GraphicsDevice& owner) : device(&owner) {}

Mesh::~Mesh()
{
    Release();
}

void Mesh::Release()
{
    device->BackEnd().Delete(buffers);
    subsets.clear();
    materials.clear();
    materialTextures.clear();
    textures.clear();
    fileName.clear();
    path.clear();
    boundsMin = boundsMax = Vector3(0.0f);
}

Mesh::LoadResult Mesh::Load(const std::string& filePath, std::string& reason)
{
    Release();
    path = filePath;
    fileName = filePath;

    PathParts parts;
    if (!SplitPath(filePath, parts))
        return LoadResult::PathTooLong;
    fileName = parts.name + parts.extension;

    const std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(filePath, MaxXModelBytes, reason);
    std::optional<XModel> model;
    if (bytes)
        model = ParseXModel(*bytes, reason);
    if (!model)
        return LoadResult::Unreadable;

    materials.resize(model->materials.size());
    materialTextures.assign(model->materials.size(), nullptr);
    for (std::size_t i = 0; i < materials.size(); ++i) {
        materials[i] = model->materials[i].colors;
        std::string name = model->materials[i].texture;
        if (name.empty())
            continue;
        std::replace(name.begin(), name.end(), '\\', '/');
        const std::string key = parts.directory + name;
        auto [entry, inserted] = textures.try_emplace(key, *device);
        if (inserted)
            entry->second.LoadFromFile(key);
        materialTextures[i] = &entry->second;
    }

    std::vector<std::uint32_t> indices;
    subsets.resize(materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i) {
        subsets[i].firstIndex = static_cast<unsigned>(indices.size());
        subsets[i].indexCount = static_cast<unsigned>(model->triangles[i].size());
        indices.insert(indices.end(), model->triangles[i].begin(), model->triangles[i].end());
    }
    const std::vector<XModel::Vertex>& vertices = model->vertices;
    if (!vertices.empty()) {
        boundsMin = boundsMax = Vector3(vertices[0].position[0], vertices[0].position[1], vertices[0].position[2]);
        for (const XModel::Vertex& v : vertices) {
            const Vector3 p(v.position[0], v.position[1], v.position[2]);
            boundsMin = glm::min(boundsMin, p);
            boundsMax = glm::max(boundsMax, p);
        }
    }

    if (!indices.empty())
        buffers = device->BackEnd().MakeMesh(vertices, indices);
    return LoadResult::Loaded;
}
