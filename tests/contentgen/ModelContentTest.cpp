#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <stb_image.h>

#include "ContentNames.h"
#include "assets/AssetFiles.h"

namespace {

// The flags the game's mesh loader uses.
constexpr unsigned loadFlags = aiProcess_ConvertToLeftHanded | aiProcess_Triangulate;

struct Bounds {
    aiVector3D min{1e9f, 1e9f, 1e9f};
    aiVector3D max{-1e9f, -1e9f, -1e9f};
    float radius = 0.0f;

    float Largest() const { return std::max({max.x - min.x, max.y - min.y, max.z - min.z}); }
};

class Model {
public:
    explicit Model(const std::string& name) { scene = importer.ReadFile(ContentDir() + "/" + name, loadFlags); }

    bool Loaded() const { return scene != nullptr && scene->mNumMeshes > 0; }
    const aiScene& Scene() const { return *scene; }

    Bounds Measure() const
    {
        Bounds b;
        Each([&b](const aiMesh& mesh, unsigned v) {
            const aiVector3D p = mesh.mVertices[v];
            b.min = aiVector3D(std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z));
            b.max = aiVector3D(std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z));
            b.radius = std::max(b.radius, p.Length());
        });
        return b;
    }

    template <typename F>
    void Each(F visit) const
    {
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            for (unsigned v = 0; v < scene->mMeshes[m]->mNumVertices; ++v) {
                visit(*scene->mMeshes[m], v);
            }
        }
    }

    // Faces whose corner order disagrees with their normals (front faces are
    // clockwise in the game's left-handed world: (b - a) × (c - a) points out).
    int MisturnedFaces() const
    {
        int count = 0;
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh& mesh = *scene->mMeshes[m];
            for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
                const unsigned* i = mesh.mFaces[f].mIndices;
                const aiVector3D area = (mesh.mVertices[i[1]] - mesh.mVertices[i[0]]) ^
                                        (mesh.mVertices[i[2]] - mesh.mVertices[i[0]]);
                const aiVector3D normal = mesh.mNormals[i[0]] + mesh.mNormals[i[1]] + mesh.mNormals[i[2]];
                count += area * normal <= 0.0f ? 1 : 0;
            }
        }
        return count;
    }

private:
    Assimp::Importer importer;
    const aiScene* scene = nullptr;
};

std::string Directory(const std::string& name) { return name.substr(0, name.rfind('/') + 1); }

TEST(ModelContent, EveryModelLoadsWithOneSubsetPerMaterialAndConsistentFaces)
{
    const std::map<std::string, unsigned> subsets = {
        {ModelFile::WhiteBlock, 2}, {ModelFile::BlackBlock, 2},
        {ModelFile::HardBlock, 3}, {ModelFile::HardBlockInverted, 3},
        {ModelFile::Player, 7}, {ModelFile::LaunchMarker, 2},
        {ModelFile::TitleLogo, 3}, {ModelFile::TitleEmblem(1), 3},
        {ModelFile::TitleEmblem(2), 2}, {ModelFile::TitleEmblem(3), 2},
    };
    for (const std::string& name : ModelNames()) {
        const Model model(name);
        ASSERT_TRUE(model.Loaded()) << name;
        const auto expected = subsets.find(name);
        const unsigned count = expected == subsets.end() ? 1 : expected->second;
        // A material no face uses would drop out of the subsets and shift
        // every later one.
        EXPECT_EQ(model.Scene().mNumMaterials, count) << name;
        EXPECT_EQ(model.Scene().mNumMeshes, count) << name;
        for (unsigned m = 0; m < model.Scene().mNumMeshes; ++m) {
            EXPECT_EQ(model.Scene().mMeshes[m]->mMaterialIndex, m) << name;
            EXPECT_TRUE(model.Scene().mMeshes[m]->HasNormals()) << name;
            EXPECT_TRUE(model.Scene().mMeshes[m]->HasTextureCoords(0)) << name;
        }
        EXPECT_EQ(model.MisturnedFaces(), 0) << name;
    }
}

TEST(ModelContent, BlocksAndMarkerFitOneCellAroundTheirCentre)
{
    for (const char* name : {ModelFile::WhiteBlock, ModelFile::BlackBlock,
                             ModelFile::HardBlock, ModelFile::HardBlockInverted,
                             ModelFile::LaunchMarker}) {
        const Model model(name);
        ASSERT_TRUE(model.Loaded()) << name;
        const Bounds b = model.Measure();
        for (const float v : {b.min.x, b.min.y, b.min.z}) {
            EXPECT_GE(v, -25.0f) << name;
            EXPECT_LE(v, -23.0f) << name;
        }
        for (const float v : {b.max.x, b.max.y, b.max.z}) {
            EXPECT_LE(v, 25.0f) << name;
            EXPECT_GE(v, 23.0f) << name;
        }
    }
    // The plain blocks are convex: every normal leads away from the centre.
    for (const char* name : {ModelFile::WhiteBlock, ModelFile::BlackBlock}) {
        const Model model(name);
        int inward = 0;
        model.Each([&inward](const aiMesh& mesh, unsigned v) { inward += mesh.mNormals[v] * mesh.mVertices[v] <= 0.0f; });
        EXPECT_EQ(inward, 0) << name;
    }
}

TEST(ModelContent, PlayerFitsItsCellAndLooksAlongPlusZ)
{
    const Model player(ModelFile::Player);
    ASSERT_TRUE(player.Loaded());
    const Bounds b = player.Measure();
    EXPECT_GE(b.min.x, -25.0f);
    EXPECT_LE(b.max.x, 25.0f);
    EXPECT_GE(b.min.y, -25.0f);
    EXPECT_LE(b.max.y, 25.0f);
    EXPECT_GE(b.min.z, -25.0f);
    EXPECT_LE(b.max.z, 25.0f);
    EXPECT_NEAR((b.min.x + b.max.x) * 0.5f, 0.0f, 1.0f);

    // The pupils are on the +z side of the face.
    bool found = false;
    for (unsigned m = 0; m < player.Scene().mNumMeshes; ++m) {
        const aiMesh& mesh = *player.Scene().mMeshes[m];
        aiString materialName;
        player.Scene().mMaterials[mesh.mMaterialIndex]->Get(AI_MATKEY_NAME, materialName);
        if (std::string(materialName.C_Str()) == "Pupil") {
            found = true;
            float z = 0.0f;
            for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
                z += mesh.mVertices[v].z;
            }
            EXPECT_GT(z / static_cast<float>(mesh.mNumVertices), 10.0f);
        }
    }
    EXPECT_TRUE(found);
}

TEST(ModelContent, StageBoardsAreTheFieldSizedCube)
{
    for (int group = 1; group <= 3; ++group) {
        const Model board(ModelFile::StageBoard(group));
        ASSERT_TRUE(board.Loaded());
        const Bounds b = board.Measure();
        EXPECT_FLOAT_EQ(b.min.x, -250.0f);
        EXPECT_FLOAT_EQ(b.max.y, 250.0f);
        EXPECT_FLOAT_EQ(b.Largest(), 500.0f);
        int inward = 0;
        board.Each([&inward](const aiMesh& mesh, unsigned v) { inward += mesh.mNormals[v] * mesh.mVertices[v] <= 0.0f; });
        EXPECT_EQ(inward, 0);
    }
}

TEST(ModelContent, SkiesAreClosedSpheresSeenFromInside)
{
    for (int group = 1; group <= 3; ++group) {
        const Model sky(ModelFile::Sky(group));
        ASSERT_TRUE(sky.Loaded());
        int off = 0;
        int outward = 0;
        sky.Each([&](const aiMesh& mesh, unsigned v) {
            off += std::abs(mesh.mVertices[v].Length() - 2000.0f) > 1.0f;
            outward += mesh.mNormals[v] * mesh.mVertices[v] >= 0.0f;
        });
        EXPECT_EQ(off, 0) << group;
        EXPECT_EQ(outward, 0) << group;
        const Bounds b = sky.Measure();
        EXPECT_NEAR(b.min.y, -2000.0f, 1.0f);
        EXPECT_NEAR(b.max.y, 2000.0f, 1.0f);
    }
}

TEST(ModelContent, TitleModelsKeepTheirSizes)
{
    const Model logo(ModelFile::TitleLogo);
    ASSERT_TRUE(logo.Loaded());
    EXPECT_LE(logo.Measure().radius, 8.0f);
    EXPECT_GE(logo.Measure().radius, 5.0f);
    for (int group = 1; group <= 3; ++group) {
        const Model emblem(ModelFile::TitleEmblem(group));
        ASSERT_TRUE(emblem.Loaded());
        EXPECT_GE(emblem.Measure().Largest(), 4.0f) << group;
        EXPECT_LE(emblem.Measure().Largest(), 6.0f) << group;
    }
}

TEST(ModelContent, TexturesLieBesideTheirModelsAndSkiesTile)
{
    for (const std::string& name : ModelNames()) {
        const Model model(name);
        ASSERT_TRUE(model.Loaded()) << name;
        for (unsigned m = 0; m < model.Scene().mNumMaterials; ++m) {
            aiString file;
            if (model.Scene().mMaterials[m]->GetTexture(aiTextureType_DIFFUSE, 0, &file) != AI_SUCCESS) {
                continue;
            }
            const std::string texture = file.C_Str();
            EXPECT_EQ(texture.find('/'), std::string::npos) << name << " names " << texture;
            const std::string path = ContentDir() + "/" + Directory(name) + texture;
            int w = 0, h = 0, channels = 0;
            unsigned char* pixels = stbi_load(path.c_str(), &w, &h, &channels, 4);
            ASSERT_NE(pixels, nullptr) << path;
            bool opaque = true;
            for (int i = 0; i < w * h; ++i) {
                opaque &= pixels[i * 4 + 3] == 255;
            }
            EXPECT_TRUE(opaque) << path;
            if (name.find("SkySphere") != std::string::npos) {
                // The texture scrolls in v and wraps in u: the last row must
                // run into the first as smoothly as any two rows do, and the
                // last column into the first.
                auto step = [&](int x0, int y0, int x1, int y1) {
                    return std::abs(pixels[(y0 * w + x0) * 4 + 2] - pixels[(y1 * w + x1) * 4 + 2]);
                };
                double seamV = 0.0, inside = 0.0, seamU = 0.0;
                for (int x = 0; x < w; ++x) {
                    seamV += step(x, h - 1, x, 0);
                    inside += step(x, h / 2, x, h / 2 + 1);
                }
                for (int y = 0; y < h; y += 2) {
                    seamU += step(w - 1, y, 0, y);
                }
                EXPECT_LE(seamV, inside * 3.0 + w) << path;
                EXPECT_LE(seamU / (h / 2), 4.0) << path;
            }
            stbi_image_free(pixels);
        }
    }
}

}  // namespace
