#include <gtest/gtest.h>

#include "XFiles.h"
#include "platform/Application.h"
#include "render/Mesh.h"
#include "render/MeshCache.h"
#include "support/DeviceFixture.h"

namespace {

class MeshTest : public DeviceFixture {
protected:
    void SetUp() override { StartDevice(false); }
};

TEST_F(MeshTest, MaterialsComeInFileOrderWithAmbientEqualToDiffuse)
{
    directory.Write("Models/Strips.x",
                    XFiles::Strips({{1, 0, 0, 0.5f, "skin.png", 12}, {0, 1, 0, 1, "", 5}, {0, 0, 1, 1, "skin.png", 5},
                                    {1, 1, 0, 1, "sub\\\\other.png", 5}}));
    WritePng("Models/skin.png", 8, 4, [](int, int) { return 0xFFFFFFFFu; });
    Mesh mesh(Device());
    std::string reason;
    ASSERT_EQ(mesh.Load("Models/Strips.x", reason), Mesh::LoadResult::Loaded) << reason;

    EXPECT_EQ(mesh.fileName, "Strips.x");
    ASSERT_EQ(mesh.SubsetCount(), 4);
    EXPECT_EQ(mesh.materials[0].diffuse, Color(1, 0, 0, 0.5f));
    EXPECT_EQ(mesh.materials[0].power, 12.0f);
    for (const Material& material : mesh.materials)
        EXPECT_EQ(material.ambient, material.diffuse);

    // Two materials naming skin.png share one texture, loaded beside the model.
    EXPECT_EQ(mesh.textures.size(), 2u);
    ASSERT_NE(mesh.materialTextures[0], nullptr);
    EXPECT_EQ(mesh.materialTextures[0], mesh.materialTextures[2]);
    EXPECT_EQ(mesh.materialTextures[0]->fileName, "Models/skin.png");
    EXPECT_EQ(mesh.materialTextures[0]->imageInfo.width, 8u);
    EXPECT_EQ(mesh.materialTextures[1], nullptr);
    // A backslash in the name is a folder separator; a missing image leaves an empty texture.
    ASSERT_NE(mesh.materialTextures[3], nullptr);
    EXPECT_EQ(mesh.materialTextures[3]->fileName, "Models/sub/other.png");
    EXPECT_FALSE(mesh.materialTextures[3]->HasImage());
}

TEST_F(MeshTest, AMaterialNoFaceUsesStillHasItsSubset)
{
    std::string x = XFiles::Cube(1, {1, 1, 1, 1, "", 1});
    // Declare a second material that no face refers to.
    x.replace(x.find("MeshMaterialList {\n  1;"), 23, "MeshMaterialList {\n  2;");
    x.insert(x.rfind(" }\n}"), " Material Unused {\n  0;1;0;1;;\n  1;\n  0;0;0;;\n  0;0;0;;\n }\n");
    directory.Write("Cube.x", x);
    Mesh mesh(Device());
    std::string reason;
    ASSERT_EQ(mesh.Load("Cube.x", reason), Mesh::LoadResult::Loaded) << reason;
    ASSERT_EQ(mesh.SubsetCount(), 2);
    EXPECT_EQ(mesh.materials[1].diffuse, Color(0, 1, 0, 1));
    EXPECT_EQ(mesh.GetSubset(1).indexCount, 0u);
    EXPECT_EQ(mesh.GetSubset(0).indexCount, 36u);
}

TEST_F(MeshTest, PositionsKeepTheFilesCoordinates)
{
    directory.Write("Cube.x", XFiles::Cube(25, {1, 1, 1, 1, "", 1}));
    Mesh mesh(Device());
    std::string reason;
    ASSERT_EQ(mesh.Load("Cube.x", reason), Mesh::LoadResult::Loaded) << reason;
    EXPECT_EQ(mesh.BoundsMin(), Vector3(-25, -25, -25));
    EXPECT_EQ(mesh.BoundsMax(), Vector3(25, 25, 25));
}

TEST_F(MeshTest, TheCacheReadsEachFileOnceByItsExactName)
{
    directory.Write("Cube.x", XFiles::Cube(1, {1, 1, 1, 1, "", 1}));
    MeshCache& cache = Meshes();
    const auto first = cache.Get("Cube.x");
    std::filesystem::remove("Cube.x");
    const auto again = cache.Get("Cube.x");
    EXPECT_EQ(first.get(), again.get()) << "the second request must not read the (now missing) file";
    EXPECT_EQ(cache.Size(), 1u);
}

TEST_F(MeshTest, AModelThatCannotBeReadShowsTheMessageAndEndsWithCodeOne)
{
    EXPECT_EXIT(
        {
            App().SetMessageResponder([](const MessageRequest& request) {
                fprintf(stderr, "[%s|%s]", request.text.c_str(), request.caption.c_str());
                return DefaultAnswer(request);
            });
            Meshes().Get("Resource/Data/Missing/Model.x");
        },
        ::testing::ExitedWithCode(1), "\\[Xファイル読み込みエラー\\|Resource/Data/Missing/Model.x\\]");
}

}  // namespace
