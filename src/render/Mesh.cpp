#include "render/Mesh.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <epoxy/gl.h>

#include "platform/Application.h"
#include "render/GraphicsDevice.h"

namespace {

const char* const LoadErrorText = "Xファイル読み込みエラー";

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

[[noreturn]] void FailToLoad(const std::string& path)
{
    Application::Instance().ShowMessage({LoadErrorText, path, MessageButtons::Ok, MessageIcon::None});
    std::fflush(nullptr);
    std::_Exit(1);
}

Color ReadColor(const aiMaterial& material, const char* key, unsigned type, unsigned index, Color fallback)
{
    aiColor4D color;
    if (material.Get(key, type, index, color) != AI_SUCCESS)
        return fallback;
    return {color.r, color.g, color.b, color.a};
}

// Interleaved vertex: position, normal, texture coordinate.
struct Vertex {
    float position[3];
    float normal[3];
    float uv[2];
};

struct Geometry {
    std::vector<Vertex> vertices;
    // Per material, the indices of its faces, in the order the meshes come.
    std::vector<std::vector<unsigned>> indicesByMaterial;
};

// X files may nest meshes in frames with their own transforms; the model is
// all of them placed by their frames, merged.
void Collect(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent, Geometry& geometry)
{
    const aiMatrix4x4 transform = parent * node.mTransformation;
    aiMatrix3x3 normalTransform(transform);
    normalTransform.Inverse().Transpose();

    for (unsigned m = 0; m < node.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[m]];
        if (mesh.mMaterialIndex >= geometry.indicesByMaterial.size())
            continue;
        const unsigned base = static_cast<unsigned>(geometry.vertices.size());
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            const aiVector3D p = transform * mesh.mVertices[v];
            aiVector3D n = mesh.mNormals ? normalTransform * mesh.mNormals[v] : aiVector3D(0, 0, 0);
            if (n.SquareLength() > 0)
                n.Normalize();
            const aiVector3D uv = mesh.mTextureCoords[0] ? mesh.mTextureCoords[0][v] : aiVector3D(0, 0, 0);
            geometry.vertices.push_back({{p.x, p.y, p.z}, {n.x, n.y, n.z}, {uv.x, uv.y}});
        }
        auto& indices = geometry.indicesByMaterial[mesh.mMaterialIndex];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices != 3)
                continue;
            for (unsigned i = 0; i < 3; ++i)
                indices.push_back(base + face.mIndices[i]);
        }
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c)
        Collect(scene, *node.mChildren[c], transform, geometry);
}

}  // namespace

Mesh::~Mesh()
{
    Release();
}

void Mesh::Release()
{
    if (GraphicsDevice::Instance().HasContext()) {
        glDeleteVertexArrays(1, &vertexArray);
        glDeleteBuffers(1, &vertexBuffer);
        glDeleteBuffers(1, &indexBuffer);
    }
    vertexArray = vertexBuffer = indexBuffer = 0;
    subsets.clear();
    materials.clear();
    materialTextures.clear();
    textures.clear();
    fileName.clear();
    path.clear();
    boundsMin = boundsMax = Vector3(0.0f);
}

bool Mesh::Load(const std::string& filePath)
{
    Release();
    path = filePath;
    fileName = filePath;

    PathParts parts;
    if (!SplitPath(filePath, parts))
        return false;
    fileName = parts.name + parts.extension;

    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(filePath, aiProcess_ConvertToLeftHanded | aiProcess_Triangulate);
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE))
        FailToLoad(filePath);

    materials.resize(scene->mNumMaterials);
    materialTextures.assign(scene->mNumMaterials, nullptr);
    for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
        const aiMaterial& source = *scene->mMaterials[i];
        Material& material = materials[i];
        material.diffuse = ReadColor(source, AI_MATKEY_COLOR_DIFFUSE, Color(1.0f));
        material.ambient = material.diffuse;
        material.specular = ReadColor(source, AI_MATKEY_COLOR_SPECULAR, Color(0.0f));
        material.emissive = ReadColor(source, AI_MATKEY_COLOR_EMISSIVE, Color(0.0f));
        source.Get(AI_MATKEY_SHININESS, material.power);

        aiString textureName;
        if (source.GetTexture(aiTextureType_DIFFUSE, 0, &textureName) != AI_SUCCESS || textureName.length == 0)
            continue;
        std::string name = textureName.C_Str();
        std::replace(name.begin(), name.end(), '\\', '/');
        const std::string key = parts.directory + name;
        auto [entry, inserted] = textures.try_emplace(key);
        if (inserted)
            entry->second.LoadFromFile(key);
        materialTextures[i] = &entry->second;
    }

    Geometry geometry;
    geometry.indicesByMaterial.resize(scene->mNumMaterials);
    Collect(*scene, *scene->mRootNode, aiMatrix4x4(), geometry);

    std::vector<unsigned> indices;
    subsets.resize(materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i) {
        subsets[i].firstIndex = static_cast<unsigned>(indices.size());
        subsets[i].indexCount = static_cast<unsigned>(geometry.indicesByMaterial[i].size());
        indices.insert(indices.end(), geometry.indicesByMaterial[i].begin(), geometry.indicesByMaterial[i].end());
    }
    if (!geometry.vertices.empty()) {
        boundsMin = boundsMax = Vector3(geometry.vertices[0].position[0], geometry.vertices[0].position[1],
                                        geometry.vertices[0].position[2]);
        for (const Vertex& v : geometry.vertices) {
            const Vector3 p(v.position[0], v.position[1], v.position[2]);
            boundsMin = glm::min(boundsMin, p);
            boundsMax = glm::max(boundsMax, p);
        }
    }

    if (GraphicsDevice::Instance().HasContext() && !indices.empty()) {
        glGenVertexArrays(1, &vertexArray);
        glBindVertexArray(vertexArray);
        glGenBuffers(1, &vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(geometry.vertices.size() * sizeof(Vertex)),
                     geometry.vertices.data(), GL_STATIC_DRAW);
        glGenBuffers(1, &indexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned)),
                     indices.data(), GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<void*>(offsetof(Vertex, position)));
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<void*>(offsetof(Vertex, normal)));
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, uv)));
        glBindVertexArray(0);
    }
    return true;
}
