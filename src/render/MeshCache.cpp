#include "render/MeshCache.h"

#include "render/Mesh.h"

namespace {

std::unique_ptr<MeshCache>& Holder()
{
    static std::unique_ptr<MeshCache> instance;
    return instance;
}

}  // namespace

MeshCache& MeshCache::Instance()
{
    auto& holder = Holder();
    if (!holder)
        holder.reset(new MeshCache());
    return *holder;
}

void MeshCache::Reset()
{
    Holder().reset();
}

std::shared_ptr<Mesh> MeshCache::Get(const std::string& path)
{
    if (auto found = meshes.find(path); found != meshes.end())
        return found->second;
    auto mesh = std::make_shared<Mesh>();
    mesh->Load(path);
    meshes.emplace(path, mesh);
    return mesh;
}
