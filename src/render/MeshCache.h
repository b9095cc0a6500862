#pragma once

#include <map>
#include <memory>
#include <string>
#include "platform/Singleton.h"

class Mesh;

// Hands out models by file name, each read once for the whole run. Names are
// compared byte for byte.
class MeshCache : public Singleton<MeshCache> {
public:

    std::shared_ptr<Mesh> Get(const std::string& path);
    // Drops every mesh; done before the GL context goes.
    void Clear() { meshes.clear(); }
    std::size_t Size() const { return meshes.size(); }

private:
    friend class Singleton<MeshCache>;
    MeshCache() = default;
    std::map<std::string, std::shared_ptr<Mesh>> meshes;
};
