#pragma once

#include <map>
#include <memory>
#include <string>

class Mesh;

// Hands out models by file name, each read once for the whole run. Names are
// compared byte for byte.
class MeshCache {
public:
    static MeshCache& Instance();
    static void Reset();

    std::shared_ptr<Mesh> Get(const std::string& path);
    // Drops every mesh; done before the GL context goes.
    void Clear() { meshes.clear(); }
    std::size_t Size() const { return meshes.size(); }

private:
    MeshCache() = default;
    std::map<std::string, std::shared_ptr<Mesh>> meshes;
};
