#include <gtest/gtest.h>

#include "render/Surface.h"
#include "render/Texture.h"
#include "render/TextureCache.h"
#include "support/DeviceFixture.h"

namespace {

class TextureTest : public DeviceFixture {
protected:
    void SetUp() override { StartDevice(false); }
};

TEST_F(TextureTest, AnImageKeepsItsOwnSize)
{
    WritePng("banner.png", 300, 70, [](int, int) { return 0xFFFFFFFFu; });
    Texture texture(Device());
    ASSERT_TRUE(texture.LoadFromFile("banner.png"));
    EXPECT_EQ(texture.imageInfo.width, 300u);
    EXPECT_EQ(texture.imageInfo.height, 70u);
    EXPECT_EQ(texture.sourceRect.right, 300);
    EXPECT_EQ(texture.sourceRect.bottom, 70);
    EXPECT_TRUE(texture.HasImage());
}

// Opaque images let models drawn with them skip blending; one pixel short of
// full alpha anywhere must keep it.
TEST_F(TextureTest, AnImageIsOpaqueOnlyWhenEveryPixelHasFullAlpha)
{
    WritePng("solid.png", 5, 3, [](int, int) { return 0xFF336699u; });
    WritePng("hole.png", 5, 3, [](int x, int y) { return x == 4 && y == 2 ? 0xFE336699u : 0xFF336699u; });
    Texture solid(Device());
    Texture hole(Device());
    ASSERT_TRUE(solid.LoadFromFile("solid.png"));
    ASSERT_TRUE(hole.LoadFromFile("hole.png"));
    EXPECT_TRUE(solid.Opaque());
    EXPECT_FALSE(hole.Opaque());
    solid.Release();
    EXPECT_FALSE(solid.Opaque());
}

TEST_F(TextureTest, AMissingOrBrokenImageKeepsItsNameAndNoSize)
{
    directory.Write("broken.png", "\x89PNG\r\n\x1a\n not really");
    for (const char* name : {"missing.png", "broken.png"}) {
        Texture texture(Device());
        EXPECT_FALSE(texture.LoadFromFile(name));
        EXPECT_FALSE(texture.HasImage());
        EXPECT_EQ(texture.fileName, name);
        EXPECT_EQ(texture.sourceRect.right, 0);
    }
}

TEST_F(TextureTest, TheCacheHandsOutOneTexturePerExactName)
{
    WritePng("Shot.png", 4, 4, [](int, int) { return 0xFFFFFFFFu; });
    TextureCache& cache = Textures();
    const auto first = cache.Get("Shot.png");
    const long owners = first.use_count();
    const auto again = cache.Get("Shot.png");
    EXPECT_EQ(first.get(), again.get());
    EXPECT_EQ(again.use_count(), owners + 1);
    EXPECT_NE(cache.Get("./Shot.png").get(), first.get()) << "names are compared byte for byte";
    EXPECT_NE(cache.Get("shot.png").get(), first.get());
    EXPECT_EQ(cache.Size(), 3u);
}

TEST_F(TextureTest, AFileMissingOnceIsNotTriedAgain)
{
    TextureCache& cache = Textures();
    const auto missing = cache.Get("late.png");
    WritePng("late.png", 4, 4, [](int, int) { return 0xFFFFFFFFu; });
    const auto again = cache.Get("late.png");
    EXPECT_EQ(missing.get(), again.get());
    EXPECT_FALSE(again->HasImage());
}

TEST_F(TextureTest, ARenderTargetReportsItsSizeFormatAndOneLevel)
{
    Texture target(Device());
    ASSERT_TRUE(target.CreateRenderTarget(1280, 720, TextureFormat::A16B16G16R16F, "sceneTarget"));
    EXPECT_EQ(target.imageInfo.width, 1280u);
    EXPECT_EQ(target.imageInfo.height, 720u);
    EXPECT_EQ(target.imageInfo.mipLevels, 1u);
    EXPECT_EQ(target.imageInfo.format, TextureFormat::A16B16G16R16F);
    ASSERT_NE(target.GetSurface(), nullptr);
    EXPECT_EQ(target.GetSurface()->name, "sceneTarget");
    EXPECT_TRUE(target.fileName.empty());
}

}  // namespace
