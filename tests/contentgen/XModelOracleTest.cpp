#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "ContentNames.h"
#include "XConvert.h"
#include "render/XModel.h"

// The game reads X files with its own reader; an independent library reading
// the same files must see the same triangles, corners, normals, texture
// coordinates and materials, in the text, binary and compressed forms.
namespace {

struct Corner {
    aiVector3D position;
    aiVector3D normal;
    aiVector3D uv;
};
// Per material, the triangles' corners in order.
using Triangles = std::vector<std::vector<Corner>>;

Triangles FromLibrary(const std::string& file, std::vector<aiColor4D>& diffuse)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(file.data(), file.size(),
                                                       aiProcess_ConvertToLeftHanded | aiProcess_Triangulate, "x");
    if (!scene)
        return {};
    Triangles triangles(scene->mNumMaterials);
    for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
        aiColor4D color;
        scene->mMaterials[m]->Get(AI_MATKEY_COLOR_DIFFUSE, color);
        diffuse.push_back(color);
    }
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh& mesh = *scene->mMeshes[i];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f)
            for (unsigned c = 0; c < 3; ++c) {
                const unsigned v = mesh.mFaces[f].mIndices[c];
                triangles[mesh.mMaterialIndex].push_back(
                    {mesh.mVertices[v], mesh.mNormals[v], mesh.mTextureCoords[0][v]});
            }
    }
    return triangles;
}

Triangles FromGame(const XModel& model)
{
    Triangles triangles(model.materials.size());
    for (std::size_t m = 0; m < model.materials.size(); ++m)
        for (const std::uint32_t index : model.triangles[m]) {
            const XModel::Vertex& v = model.vertices[index];
            triangles[m].push_back({{v.position[0], v.position[1], v.position[2]},
                                    {v.normal[0], v.normal[1], v.normal[2]},
                                    {v.uv[0], v.uv[1], 0.0f}});
        }
    return triangles;
}

bool Near(const aiVector3D& a, const aiVector3D& b)
{
    const auto near = [](float x, float y) { return std::fabs(x - y) <= 1e-4f * std::max(1.0f, std::fabs(x)); };
    return near(a.x, b.x) && near(a.y, b.y) && near(a.z, b.z);
}

void ExpectSameModel(const std::string& name, const std::string& file)
{
    std::vector<aiColor4D> diffuse;
    const Triangles expected = FromLibrary(file, diffuse);
    ASSERT_FALSE(expected.empty()) << name << ": the library could not read it";
    std::string error;
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    const std::optional<XModel> model = ParseXModel(bytes, error);
    ASSERT_TRUE(model) << name << ": " << error;
    const Triangles actual = FromGame(*model);
    ASSERT_EQ(actual.size(), expected.size()) << name;
    for (std::size_t m = 0; m < actual.size(); ++m) {
        const Color& color = model->materials[m].colors.diffuse;
        EXPECT_TRUE(Near({color.r, color.g, color.b}, {diffuse[m].r, diffuse[m].g, diffuse[m].b})) << name;
        ASSERT_EQ(actual[m].size(), expected[m].size()) << name << " material " << m;
        int wrong = 0;
        for (std::size_t c = 0; c < actual[m].size(); ++c) {
            const Corner& a = actual[m][c];
            const Corner& e = expected[m][c];
            wrong += Near(a.position, e.position) && Near(a.normal, e.normal) && Near(a.uv, e.uv) ? 0 : 1;
        }
        EXPECT_EQ(wrong, 0) << name << " material " << m << ": corners that differ";
    }
}

TEST(XModelOracle, EveryModelReadsAsTheLibraryReadsItInEachForm)
{
    for (const std::string& name : ModelNames()) {
        std::ifstream in(ContentDir() + "/" + name, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string binary = XConvert::TextToBinary(text).value();
        ExpectSameModel(name, text);
        ExpectSameModel(name + " (binary)", binary);
        ExpectSameModel(name + " (compressed text)", XConvert::Compress(text).value());
        ExpectSameModel(name + " (compressed binary)", XConvert::Compress(binary).value());
        ExpectSameModel(name + " (binary, 64-bit floats)", XConvert::TextToBinary(text, true).value());
    }
}

}  // namespace
