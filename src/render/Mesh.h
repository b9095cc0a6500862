#pragma once

#include <map>
#include <string>
#include <vector>

#include "formats/Material.h"
#include "math/Vector3.h"
#include "render/GpuStorage.h"
#include "render/Texture.h"

class GraphicsDevice;

// One model from an X file: its geometry split into subsets, one per material
// in the file's order (also materials no face uses), the material colours, and
// the distinct texture files the materials name, each loaded once. Texture
// names are relative to the X file's folder; backslashes are accepted.
//
// On the null back end the file is still read, so materials and bounds are
// real; only the upload is skipped.
class Mesh {
public:
    // Models live on a device, and go before it does.
    explicit Mesh(GraphicsDevice& device);
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    enum class LoadResult { Loaded, PathTooLong, Unreadable };
    // A path whose parts are too long to split, or a file that cannot be read
    // (the reason in unreadable), leaves the mesh empty; the cache decides
    // what happens then (see MeshCache).
    LoadResult Load(const std::string& path, std::string& reason);
    void Release();

    bool HasGeometry() const { return !subsets.empty(); }
    int SubsetCount() const { return static_cast<int>(materials.size()); }

    // One subset: a range of the index buffer.
    struct Subset {
        unsigned firstIndex = 0;
        unsigned indexCount = 0;
    };
    const Subset& GetSubset(int i) const { return subsets[i]; }
    const MeshBuffers& Buffers() const { return buffers; }
    // The path it was loaded from, as given (the draw log names meshes by it).
    const std::string& Path() const { return path; }
    Vector3 BoundsMin() const { return boundsMin; }
    Vector3 BoundsMax() const { return boundsMax; }

    std::vector<Material> materials;
    // Keyed by the texture's path: the X file's folder followed by the name.
    std::map<std::string, Texture> textures;
    // One per material: its entry of textures, or null when it names none.
    std::vector<Texture*> materialTextures;
    // File name and extension, without the folder.
    std::string fileName;

private:
    GraphicsDevice* device;
    std::string path;
    std::vector<Subset> subsets;
    Vector3 boundsMin{0.0f};
    Vector3 boundsMax{0.0f};
    MeshBuffers buffers;
};
