#include <gtest/gtest.h>

#include "XFiles.h"
#include "assets/AssetFiles.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"
#include "render/SkySphere.h"
#include "render/Texture.h"
#include "render/TextureCache.h"
#include "support/DeviceFixture.h"
#include "support/DrawDescription.h"

namespace {

class RecordingDeviceTest : public DeviceFixture {
protected:
    void SetUp() override { StartDevice(false); }
    std::vector<std::string> Described() const { return ::Described(draws); }
};

TEST_F(RecordingDeviceTest, BlurShrinksIntoEachLevelThenBlursItAndRestoresTheTarget)
{
    ShaderManager& shaders = Shaders();
    GraphicsDevice& device = Device();
    device.SetRenderTarget(shaders.sceneTarget->GetSurface());
    device.SetDestinationBlend(BlendFactor::One);
    draws.clear();

    shaders.filterShader.Blur(*shaders.glowTarget, *shaders.blur);

    EXPECT_EQ(Described(), (std::vector<std::string>{
                               "target blur0b", "quad NormalTech 320x180", "target blur0a", "quad XBlurTech 320x180",
                               "target blur0b", "quad YBlurTech 320x180",  "target blur1b", "quad NormalTech 160x90",
                               "target blur1a", "quad XBlurTech 160x90",   "target blur1b", "quad YBlurTech 160x90",
                               "target blur2b", "quad NormalTech 80x45",   "target blur2a", "quad XBlurTech 80x45",
                               "target blur2b", "quad YBlurTech 80x45",    "target sceneTarget"}));
    EXPECT_EQ(device.GetRenderTarget(), shaders.sceneTarget->GetSurface());
    EXPECT_EQ(device.GetBlendOperation(), BlendOperation::Add);
    EXPECT_EQ(device.GetSourceBlend(), BlendFactor::SourceAlpha);
    EXPECT_EQ(device.GetDestinationBlend(), BlendFactor::InverseSourceAlpha);
    // The last pass read level 2's horizontal result.
    EXPECT_EQ(std::get<glm::vec2>(*shaders.filterShader.effect->Find("g_TexelSize")), glm::vec2(1.0f / 80, 1.0f / 45));
}

TEST_F(RecordingDeviceTest, BlurLevelsHalveWithTruncation)
{
    BlurTexture chain;
    chain.Create(Device(), 1282, 722);
    const unsigned expected[3][2] = {{320, 180}, {160, 90}, {80, 45}};
    for (int i = 0; i < BlurTexture::LevelCount; ++i) {
        EXPECT_EQ(chain.levels[i].a->imageInfo.width, expected[i][0]);
        EXPECT_EQ(chain.levels[i].b->imageInfo.height, expected[i][1]);
        EXPECT_EQ(chain.levels[i].a->imageInfo.format, TextureFormat::A8R8G8B8);
    }
}

TEST_F(RecordingDeviceTest, APassSamplesAtTheInputsTexelSizeOverTheTargetsRectangle)
{
    ShaderManager& shaders = Shaders();
    draws.clear();
    shaders.filterShader.DrawNormal(*shaders.sceneTarget, 320, 180, Color(1.0f), 1.0f);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].rect[2], 320);
    EXPECT_EQ(draws[0].rect[3], 180);
    EXPECT_EQ(std::get<glm::vec2>(*shaders.filterShader.effect->Find("g_TexelSize")),
              glm::vec2(1.0f / 1280, 1.0f / 720));
}

TEST_F(RecordingDeviceTest, ModelDrawsRecordMeshTechniqueAndWorldAndFeedEachMaterial)
{
    directory.Write("Model/Strips.x", XFiles::Strips({{1, 0, 0, 1, "", 5}, {0, 1, 0, 1, "", 6}, {0, 0, 1, 0.5f, "", 7}}));
    ModelShader& model = Shaders().modelShader;
    const auto mesh = Meshes().Get("Model/Strips.x");
    const Matrix world = Matrix::Translation(1, 2, 3);
    draws.clear();

    model.SetWorld(world);
    model.DrawToon(mesh);
    model.DrawGlow(mesh, 0.5f);
    model.DrawToon(mesh);

    ASSERT_EQ(Described(), (std::vector<std::string>{"mesh Model/Strips.x Toon", "mesh Model/Strips.x Glow",
                                                     "mesh Model/Strips.x Toon"}));
    EXPECT_EQ(draws[0].matrix, world);
    EXPECT_EQ(std::get<float>(*model.effect->Find("g_Alpha")), 0.5f) << "a Toon draw leaves g_Alpha alone";
    // The parameters of the last subset drawn are those of the last material.
    EXPECT_EQ(std::get<glm::vec4>(*model.effect->Find("g_MateDiffuse")), glm::vec4(0, 0, 1, 0.5f));
    EXPECT_EQ(std::get<float>(*model.effect->Find("g_MateSpePower")), 7.0f);
    EXPECT_EQ(std::get<const Texture*>(*model.effect->Find("g_MateDiffuseTex")), model.whiteTexture.get())
        << "a material without a texture draws with the white one";
}

TEST_F(RecordingDeviceTest, AMeshThatCouldNotBeReadDrawsNothing)
{
    const std::string tooLong = "Model/" + std::string(300, 'a') + ".x";
    const auto mesh = Meshes().Get(tooLong);
    EXPECT_FALSE(mesh->HasGeometry());
    EXPECT_EQ(mesh->SubsetCount(), 0);
    draws.clear();
    Shaders().modelShader.DrawToon(mesh);
    EXPECT_TRUE(draws.empty());
}

TEST_F(RecordingDeviceTest, SpritesAndTextAreRecordedInCallOrderWithTheirPlacement)
{
    GraphicsDevice& device = Device();
    WritePng("icon.png", 30, 20, [](int, int) { return 0xFF00FF00u; });
    const auto icon = Textures().Get("icon.png");
    const Matrix move = Matrix::Translation(65, 65, 0);
    const Vector3 centre(15, 10, 0);
    device.BeginSprite();
    device.DrawSprite(icon, &icon->sourceRect, &move, &centre, 0x80FFFFFF);
    device.DrawSprite(Textures().Get("missing.png"), nullptr, &move, &centre, 0xFFFFFFFF);
    device.EndSprite();
    device.DrawText("12", 50, 100, 0xFF000000);

    ASSERT_EQ(Described(), (std::vector<std::string>{"sprite icon.png", "sprite missing.png", "text 12"}));
    EXPECT_EQ(draws[0].matrix, move);
    EXPECT_EQ(draws[0].centre[0], 15);
    EXPECT_EQ(draws[0].source[2], 30);
    EXPECT_EQ(draws[0].source[3], 20);
    EXPECT_EQ(draws[0].argb, 0x80FFFFFFu);
    EXPECT_EQ(draws[2].rect[1], 100);
}

TEST_F(RecordingDeviceTest, TheSkyScrollsItsTextureAndDrawsTheGroupsModelUnlit)
{
    directory.Write(ModelFile::Sky(2), XFiles::Cube(10, {1, 1, 1, 1, "", 1}));
    GraphicsDevice& device = Device();
    SkySphere sky;
    EXPECT_EQ(sky.transform->position, Vector3(250, -250, 250));
    draws.clear();
    sky.Draw(Render(), 2);
    sky.Draw(Render(), 2);

    ASSERT_EQ(Described(), (std::vector<std::string>{"fixed " + ModelFile::Sky(2), "fixed " + ModelFile::Sky(2)}));
    EXPECT_EQ(draws[0].matrix, Matrix::Translation(250, 0, 250));
    EXPECT_FLOAT_EQ(sky.vScroll, 0.002f);
    EXPECT_FLOAT_EQ(device.GetTransform(TransformState::Texture0)(2, 1), 0.002f);
    EXPECT_FALSE(device.Lighting());
    EXPECT_FALSE(device.TextureTransform());
}

TEST_F(RecordingDeviceTest, ShaderManagerMakesFullSizeFloatTargets)
{
    const ShaderManager& shaders = Shaders();
    for (const auto& target : {shaders.sceneTarget, shaders.glowTarget}) {
        EXPECT_EQ(target->imageInfo.width, 1280u);
        EXPECT_EQ(target->imageInfo.height, 720u);
        EXPECT_EQ(target->imageInfo.mipLevels, 1u);
        EXPECT_EQ(target->imageInfo.format, TextureFormat::A16B16G16R16F);
    }
    EXPECT_TRUE(messages.empty()) << "both effect files load";
}

}  // namespace
