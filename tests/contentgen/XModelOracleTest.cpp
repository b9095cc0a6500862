#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "ContentNames.h"
#include "XConvert.h"
#include "formats/XModel.h"

// The game reads X files with its own reader; an independent library reading
// the same files must see the same triangles, corners, normals, texture
// coordinates and materials: our models in the text, binary and compressed
// forms, and models other exporters wrote (Debian's assimp-testmodels).
namespace {

struct Corner {
    aiVector3D position;
    aiVector3D normal;
    aiVector3D uv;
};
// The triangles' corners in order, grouped by what they look like (diffuse
// colour and texture) in the order the looks first appear: a file whose
// meshes have no materials gives the game one white material per mesh and the
// library one shared grey stand-in.
using Triangles = std::vector<std::pair<std::string, std::vector<Corner>>>;

std::string Look(float r, float g, float b, const std::string& texture)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f %.3f %.3f ", r, g, b);
    return text + texture;
}

std::vector<Corner>& Group(Triangles& triangles, const std::string& look)
{
    for (auto& [key, corners] : triangles)
        if (key == look)
            return corners;
    return triangles.emplace_back(look, std::vector<Corner>{}).second;
}

Triangles FromLibrary(const std::string& file)
{
    Assimp::Importer importer;
    // Frames placed, as the game places them.
    const aiScene* scene = importer.ReadFileFromMemory(
        file.data(), file.size(), aiProcess_ConvertToLeftHanded | aiProcess_Triangulate | aiProcess_PreTransformVertices,
        "x");
    if (!scene)
        return {};
    std::vector<std::string> looks;
    for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
        const aiMaterial& material = *scene->mMaterials[m];
        aiColor4D color;
        material.Get(AI_MATKEY_COLOR_DIFFUSE, color);
        aiString texture;
        material.GetTexture(aiTextureType_DIFFUSE, 0, &texture);
        // The library's stand-in for a mesh without materials: nameless mid grey.
        const bool standIn = material.GetName().length == 0 && color.r == 0.5f && color.g == 0.5f &&
                             color.b == 0.5f && texture.length == 0;
        looks.push_back(standIn ? Look(1.0f, 1.0f, 1.0f, "") : Look(color.r, color.g, color.b, texture.C_Str()));
    }
    Triangles triangles;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh& mesh = *scene->mMeshes[i];
        std::vector<Corner>& corners = Group(triangles, looks[mesh.mMaterialIndex]);
        for (unsigned f = 0; f < mesh.mNumFaces; ++f)
            for (unsigned c = 0; c < 3; ++c) {
                const unsigned v = mesh.mFaces[f].mIndices[c];
                // A file without normals or texture coordinates leaves them zero in the game.
                corners.push_back({mesh.mVertices[v], mesh.mNormals ? mesh.mNormals[v] : aiVector3D(),
                                   mesh.mTextureCoords[0] ? mesh.mTextureCoords[0][v] : aiVector3D()});
            }
    }
    return triangles;
}

Triangles FromGame(const XModel& model)
{
    Triangles triangles;
    for (std::size_t m = 0; m < model.materials.size(); ++m) {
        const Color& color = model.materials[m].colors.diffuse;
        std::vector<Corner>& corners = Group(triangles, Look(color.r, color.g, color.b, model.materials[m].texture));
        for (const std::uint32_t index : model.triangles[m]) {
            const XModel::Vertex& v = model.vertices[index];
            corners.push_back({{v.position[0], v.position[1], v.position[2]},
                               {v.normal[0], v.normal[1], v.normal[2]},
                               {v.uv[0], v.uv[1], 0.0f}});
        }
    }
    return triangles;
}

bool Near(const aiVector3D& a, const aiVector3D& b)
{
    const auto near = [](float x, float y) { return std::fabs(x - y) <= 1e-4f * std::max(1.0f, std::fabs(x)); };
    return near(a.x, b.x) && near(a.y, b.y) && near(a.z, b.z);
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ExpectSameModel(const std::string& name, const std::string& file)
{
    const Triangles expected = FromLibrary(file);
    ASSERT_FALSE(expected.empty()) << name << ": the library could not read it";
    std::string error;
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    const std::optional<XModel> model = ParseXModel(bytes, error);
    ASSERT_TRUE(model) << name << ": " << error;
    const Triangles actual = FromGame(*model);
    ASSERT_EQ(actual.size(), expected.size()) << name;
    for (std::size_t m = 0; m < actual.size(); ++m) {
        EXPECT_EQ(actual[m].first, expected[m].first) << name;
        const std::vector<Corner>& got = actual[m].second;
        const std::vector<Corner>& want = expected[m].second;
        ASSERT_EQ(got.size(), want.size()) << name << " material " << m;
        int wrong = 0;
        for (std::size_t c = 0; c < got.size(); ++c)
            wrong += Near(got[c].position, want[c].position) && Near(got[c].normal, want[c].normal) &&
                             Near(got[c].uv, want[c].uv)
                         ? 0
                         : 1;
        EXPECT_EQ(wrong, 0) << name << " material " << m << ": corners that differ";
    }
}

TEST(XModelOracle, EveryModelReadsAsTheLibraryReadsItInEachForm)
{
    for (const std::string& name : ModelNames()) {
        const std::string text = ReadWhole(ContentDir() + "/" + name);
        const std::string binary = XConvert::TextToBinary(text).value();
        ExpectSameModel(name, text);
        ExpectSameModel(name + " (binary)", binary);
        ExpectSameModel(name + " (compressed text)", XConvert::Compress(text).value());
        ExpectSameModel(name + " (compressed binary)", XConvert::Compress(binary).value());
        ExpectSameModel(name + " (binary, 64-bit floats)", XConvert::TextToBinary(text, true).value());
    }
}

TEST(XModelOracle, ModelsFromOtherExportersReadAsTheLibraryReadsThem)
{
    const std::filesystem::path folder = "/usr/share/assimp/models/X";
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "needs the assimp-testmodels package";
    int models = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
        if (extension != ".x")
            continue;
        ExpectSameModel(entry.path().filename().string(), ReadWhole(entry.path().string()));
        ++models;
    }
    EXPECT_GE(models, 9);
}

}  // namespace
