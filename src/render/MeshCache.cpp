#include "render/MeshCache.h"

#include "render/Mesh.h"

std::shared_ptr<Mesh> MeshCache::Get(const std::string& path)
{
    if (auto found = meshes.find(path); found != meshes.end())
        return found->second;
    auto mesh = std::make_shared<Mesh>();
    mesh->Load(path);
    meshes.emplace(path, mesh);
    return mesh;
}
