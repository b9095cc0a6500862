#include "render/MeshCache.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Application.h"
#include "platform/Messages.h"
#include "render/Mesh.h"

MeshCache::MeshCache(GraphicsDevice& owner, Application& shownBy) : device(owner), application(shownBy) {}

MeshCache::~MeshCache() = default;

std::shared_ptr<Mesh> MeshCache::Get(const std::string& path)
{
    if (auto found = meshes.find(path); found != meshes.end())
        return found->second;
    auto mesh = std::make_shared<Mesh>(device);
    std::string reason;
    if (mesh->Load(path, reason) == Mesh::LoadResult::Unreadable) {
        std::fprintf(stderr, "orb: %s: %s\n", path.c_str(), reason.c_str());
        application.ShowMessage(Message(MessageId::ModelUnreadable, path));
        std::fflush(nullptr);
        std::_Exit(1);
    }
    meshes.emplace(path, mesh);
    return mesh;
}

std::size_t MeshCache::TextureBytes() const
{
    std::size_t bytes = 0;
    for (const auto& [path, mesh] : meshes)
        for (const auto& [name, texture] : mesh->textures)
            bytes += texture.Bytes();
    return bytes;
}
