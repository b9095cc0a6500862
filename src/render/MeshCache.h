#pragma once

#include <map>
#include <memory>
#include <string>

class Application;
class GraphicsDevice;
class Mesh;

// Hands out models by file name, each read once for the whole run. Names are
// compared byte for byte. A model that cannot be read ends the game: the box
// "Xファイル読み込みエラー" with the path as caption, then exit code 1.
class MeshCache {
public:
    MeshCache(GraphicsDevice& device, Application& application);
    ~MeshCache();
    MeshCache(const MeshCache&) = delete;
    MeshCache& operator=(const MeshCache&) = delete;

    std::shared_ptr<Mesh> Get(const std::string& path);
    // Drops every mesh; done before the GL context goes.
    void Clear() { meshes.clear(); }
    std::size_t Size() const { return meshes.size(); }
    // What the models' own images take.
    std::size_t TextureBytes() const;

private:
    GraphicsDevice& device;
    Application& application;
    std::map<std::string, std::shared_ptr<Mesh>> meshes;
};
