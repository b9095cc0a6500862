#include <gtest/gtest.h>

#include <memory>

#include "XFiles.h"
#include "assets/AssetFiles.h"
#include "render/Camera.h"
#include "render/DrawQuadXZ.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"
#include "render/Texture.h"
#include "render/TextureCache.h"
#include "support/DeviceFixture.h"

namespace {

constexpr std::uint32_t Black = 0xFF000000;
constexpr std::uint32_t White = 0xFFFFFFFF;

// Real pixels through the software renderer, compared with a tolerance.
class GlRenderTest : public DeviceFixture {
protected:
    void SetUp() override
    {
        StartDevice(true);
        // The model shader's ramp runs dark to light; its white image is white.
        WritePng(ImageFile::ToonRamp, 64, 4, [](int x, int) {
            const std::uint32_t level = x < 32 ? 90 : 255;
            return 0xFF000000u | level << 16 | level << 8 | level;
        });
        WritePng(ImageFile::White, 4, 4, [](int, int) { return 0xFFFFFFFFu; });
    }

    static void ExpectColour(std::uint32_t pixel, int r, int g, int b, int tolerance = 3)
    {
        EXPECT_NEAR(Red(pixel), r, tolerance) << std::hex << pixel;
        EXPECT_NEAR(Green(pixel), g, tolerance) << std::hex << pixel;
        EXPECT_NEAR(Blue(pixel), b, tolerance) << std::hex << pixel;
    }

    // The camera, light and flags a scene sets on the model effect each frame.
    void SetModelFrame(Camera& camera, const Vector3& eye, const Vector3& lightDirection, int lightEnable)
    {
        camera.LookAt(Device(), Matrix::Identity(), eye, {0, 0, 0}, {0, 1, 0});
        Effect& effect = *Shaders().modelShader.effect;
        effect.SetMatrix("g_V", camera.view);
        effect.SetMatrix("g_P", camera.projection);
        effect.SetValue("g_CamPos", &eye.x, 3);
        effect.SetValue("g_LightDir", &lightDirection.x, 3);
        effect.SetInt("g_LightEnable", lightEnable);
    }

    // An image red-violet above and ochre below, drawn into the scene target,
    // which is then copied onto the back buffer over white: it must come out
    // as drawn, the right way up.
    void ExpectHalvesThroughSceneTarget()
    {
        WritePng("halves.png", 4, 4, [](int, int y) { return y < 2 ? 0xFF5A28C8u : 0xFFC08040u; });
        ShaderManager& shaders = Shaders();
        GraphicsDevice& device = Device();
        device.SetRenderTarget(shaders.sceneTarget->GetSurface());
        shaders.filterShader.DrawNormal(*Textures().Get("halves.png"), 1280, 720, Color(1.0f), 1.0f);
        device.SetRenderTarget(device.BackBuffer());
        device.Clear(true, true, White, 1.0f);
        shaders.filterShader.DrawNormal(*shaders.sceneTarget, 1280, 720, Color(1.0f), 1.0f);

        const auto pixels = ReadBackBuffer();
        ExpectColour(PixelAt(pixels, 640, 100), 0xC8, 0x28, 0x5A);
        ExpectColour(PixelAt(pixels, 640, 620), 0x40, 0x80, 0xC0);
    }

    // A model's toon draw at the origin over white, seen from eye: straight
    // into the back buffer, or into the scene target and copied over.
    void DrawModel(const std::string& file, const Vector3& eye, const Vector3& lightDirection, int lightEnable,
                   bool throughTarget)
    {
        GraphicsDevice& device = Device();
        ShaderManager& shaders = Shaders();
        device.SetRenderTarget(device.BackBuffer());
        device.Clear(true, true, White, 1.0f);
        if (throughTarget) {
            device.SetRenderTarget(shaders.sceneTarget->GetSurface());
            device.Clear(true, false, White, 1.0f);
        }
        Camera camera;
        SetModelFrame(camera, eye, lightDirection, lightEnable);
        shaders.modelShader.SetWorld(Matrix::Identity());
        shaders.modelShader.DrawToon(Meshes().Get(file));
        if (throughTarget) {
            device.SetRenderTarget(device.BackBuffer());
            shaders.filterShader.DrawNormal(*shaders.sceneTarget, 1280, 720, Color(1.0f), 1.0f);
        }
    }
};

TEST_F(GlRenderTest, AFloatTargetCopiedToTheBackBufferKeepsColourAndOrientation)
{
    ExpectHalvesThroughSceneTarget();
}

// A rehearsal runs between frames with its own target, stand-in, states and
// camera: the frames after it must find the device as it was.
TEST_F(GlRenderTest, ARehearsedFrameLeavesNothingOfItselfToTheFramesAfterIt)
{
    WritePng("stripes.png", 4, 4, [](int x, int) { return x < 2 ? 0xFF000000u : 0xFFFFFFFFu; });
    directory.Write("Cube.x", XFiles::Cube(1, {0.2f, 0.5f, 0.9f, 1, "", 40}));
    ShaderManager& shaders = Shaders();
    GraphicsDevice& device = Device();
    Surface* scene = shaders.sceneTarget->GetSurface();
    const Matrix view = Matrix::Translation(1, 2, 3);
    device.SetTransform(TransformState::View, view);
    const std::size_t logged = draws.size();

    device.Rehearse([&] {
        device.StandIn(scene, device.BackBuffer());
        device.SetRenderTarget(scene);
        DrawModel("Cube.x", {0, 4, -4}, {0, -1, 0}, 1, true);
        device.SetDestinationBlend(BlendFactor::One);
        shaders.filterShader.DrawNormal(*Textures().Get("stripes.png"), 1280, 720, Color(1.0f), 1.0f);
    });

    EXPECT_EQ(draws.size(), logged);
    EXPECT_EQ(device.GetTransform(TransformState::View), view);
    EXPECT_EQ(device.GetDestinationBlend(), BlendFactor::InverseSourceAlpha);
    EXPECT_EQ(device.GetRenderTarget(), device.BackBuffer());
    // The scene target holds what is drawn into it again, not the back buffer.
    ExpectHalvesThroughSceneTarget();
}

TEST_F(GlRenderTest, SpritesLandWhereTheirTransformPutsThem)
{
    WritePng("dot.png", 10, 10, [](int, int) { return 0xFF0000FFu; });
    GraphicsDevice& device = Device();
    device.Clear(true, true, White, 1.0f);
    const auto dot = Textures().Get("dot.png");
    const Matrix at = Matrix::Translation(100, 50, 0);
    const Vector3 centre(5, 5, 0);
    device.BeginSprite();
    device.DrawSprite(dot, &dot->sourceRect, &at, &centre, White);
    device.EndSprite();

    const auto pixels = ReadBackBuffer();
    ExpectColour(PixelAt(pixels, 95, 45), 255, 0, 0);
    ExpectColour(PixelAt(pixels, 104, 54), 255, 0, 0);
    ExpectColour(PixelAt(pixels, 94, 45), 255, 255, 255);
    ExpectColour(PixelAt(pixels, 105, 55), 255, 255, 255);
}

TEST_F(GlRenderTest, AToonCubeIsLitOnTheFaceTheLightFallsInTheWindowAndInATarget)
{
    directory.Write("Cube.x", XFiles::Cube(1, {0.2f, 0.5f, 0.9f, 1, "", 40}));
    // A target keeps its rows the other way up, which turns every winding
    // round: faces turned away must still be the ones left out.
    for (const bool throughTarget : {false, true}) {
        DrawModel("Cube.x", {0, 4, -4}, {0, -1, 0}, 1, throughTarget);

        const auto pixels = ReadBackBuffer();
        const auto [topX, topY] = ScreenOf({0, 1, 0.3f});
        const auto [frontX, frontY] = ScreenOf({0, -0.3f, -1});
        const std::uint32_t top = PixelAt(pixels, topX, topY);
        const std::uint32_t front = PixelAt(pixels, frontX, frontY);
        // Lit: the material colour through the bright end of the ramp; in shadow, the dark end.
        ExpectColour(top, 51, 128, 230, 12);
        EXPECT_LT(Blue(front), Blue(top) - 60);
        EXPECT_GT(Blue(front), Red(front)) << "the shadow side keeps the material's hue";
        ExpectColour(PixelAt(pixels, 20, 20), 255, 255, 255);
    }
}

// A model with nothing symmetric about it: a 2 × 1 panel standing right of and
// above the origin, facing -z, wound clockwise as seen from there, its image
// red on the left, green on the right, with a blue band along the top.
// Mirrored coordinates, winding or texture coordinates each show.
TEST_F(GlRenderTest, AnAsymmetricModelAndItsImageKeepTheirSidesUpAndFacing)
{
    directory.Write("Panel.x", R"(xof 0303txt 0032
Mesh Panel {
 4;
 0;0;0;, 0;1;0;, 2;1;0;, 2;0;0;;
 2;
 3;0,1,2;, 3;0,2,3;;
 MeshNormals { 1; 0;0;-1;; 2; 3;0,0,0;, 3;0,0,0;; }
 MeshTextureCoords { 4; 0;1;, 0;0;, 1;0;, 1;1;; }
 MeshMaterialList { 1; 2; 0, 0;;
  Material { 1;1;1;1;; 10; 0;0;0;; 0;0;0;; TextureFilename { "Panel.png"; } }
 }
}
)");
    WritePng("Panel.png", 64, 64, [](int x, int y) {
        if (y < 16)
            return 0xFFFF0000u;
        return x < 32 ? 0xFF0000FFu : 0xFF00FF00u;
    });
    for (const bool throughTarget : {false, true}) {
        DrawModel("Panel.x", {0, 0, -4}, {0, 0, 1}, 0, throughTarget);

        const auto pixels = ReadBackBuffer();
        const auto at = [this, &pixels](float x, float y) {
            const auto [sx, sy] = ScreenOf({x, y, 0});
            return PixelAt(pixels, sx, sy);
        };
        SCOPED_TRACE(throughTarget ? "through a target" : "in the window");
        // +x is to the right and +y up on screen, as the camera looks along +z.
        EXPECT_GT(ScreenOf({1, 0, 0}).first, ScreenOf({0, 0, 0}).first);
        EXPECT_LT(ScreenOf({0, 1, 0}).second, ScreenOf({0, 0, 0}).second);
        ExpectColour(at(0.5f, 0.4f), 255, 0, 0);
        ExpectColour(at(1.5f, 0.4f), 0, 255, 0);
        ExpectColour(at(0.5f, 0.93f), 0, 0, 255);
        ExpectColour(at(1.5f, 0.93f), 0, 0, 255);
        ExpectColour(at(-0.5f, 0.5f), 255, 255, 255);
        ExpectColour(at(1.0f, -0.5f), 255, 255, 255);
    }
}

TEST_F(GlRenderTest, EachSubsetDrawsWithItsOwnMaterial)
{
    directory.Write("Strips.x", XFiles::Strips({{1, 0, 0, 1, "", 1}, {0, 1, 0, 1, "", 1}, {0, 0, 1, 1, "", 1}}));
    GraphicsDevice& device = Device();
    device.Clear(true, true, White, 1.0f);
    Camera camera;
    SetModelFrame(camera, {0, 0, -2}, {0, 0, 1}, 0);
    ModelShader& model = Shaders().modelShader;
    model.SetWorld(Matrix::Identity());
    model.DrawToon(Meshes().Get("Strips.x"));

    const auto pixels = ReadBackBuffer();
    const float centres[3] = {-1.0f / 3, 0.0f, 1.0f / 3};
    const int expected[3][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (int i = 0; i < 3; ++i) {
        const auto [x, y] = ScreenOf({centres[i], 0, 0});
        ExpectColour(PixelAt(pixels, x, y), expected[i][0], expected[i][1], expected[i][2]);
    }
}

TEST_F(GlRenderTest, TheNegativePassInvertsTheTargetItReads)
{
    ShaderManager& shaders = Shaders();
    GraphicsDevice& device = Device();
    device.SetRenderTarget(shaders.sceneTarget->GetSurface());
    device.Clear(true, false, 0xFF3399CC, 1.0f);

    Effect& filter = *shaders.filterShader.effect;
    filter.SetTexture("g_InputTex", shaders.sceneTarget.get());
    filter.SetVector("g_Color", Color(1.0f));
    const float texel[2] = {1.0f / 1280, 1.0f / 720};
    filter.SetValue("g_TexelSize", texel, 2);
    filter.SetTechnique("NegativeTech");
    filter.Begin();
    filter.BeginPass(0);
    filter.CommitChanges();
    device.DrawScreenQuad({0, 0, 1280, 720});
    filter.EndPass();
    filter.End();

    device.SetRenderTarget(device.BackBuffer());
    shaders.filterShader.DrawNormal(*shaders.sceneTarget, 1280, 720, Color(1.0f), 1.0f);
    const auto pixels = ReadBackBuffer();
    ExpectColour(PixelAt(pixels, 10, 10), 0xCC, 0x66, 0x33);
    ExpectColour(PixelAt(pixels, 1270, 710), 0xCC, 0x66, 0x33);
}

TEST_F(GlRenderTest, TheBlurSpreadsABrightSpotAndLeavesTheRestDark)
{
    WritePng("spot.png", 16, 16, [](int, int) { return 0xFFFFFFFFu; });
    ShaderManager& shaders = Shaders();
    GraphicsDevice& device = Device();
    device.SetRenderTarget(shaders.glowTarget->GetSurface());
    device.Clear(true, false, Black, 1.0f);
    const auto spot = Textures().Get("spot.png");
    const Matrix at = Matrix::Translation(632, 352, 0);
    device.BeginSprite();
    device.DrawSprite(spot, &spot->sourceRect, &at, nullptr, White);
    device.EndSprite();

    shaders.filterShader.Blur(*shaders.glowTarget, *shaders.blur);
    EXPECT_EQ(device.GetRenderTarget(), shaders.glowTarget->GetSurface());
    device.SetRenderTarget(device.BackBuffer());
    device.Clear(true, true, Black, 1.0f);
    shaders.filterShader.DrawNormal(*shaders.blur->levels[0].b, 1280, 720, Color(1.0f), 1.0f);

    const auto pixels = ReadBackBuffer();
    EXPECT_GT(Red(PixelAt(pixels, 640, 360)), 60) << "the spot itself";
    EXPECT_GT(Red(PixelAt(pixels, 658, 360)), 3) << "glow beside the spot";
    EXPECT_GT(Red(PixelAt(pixels, 640, 342)), 3) << "glow above the spot";
    EXPECT_EQ(Red(PixelAt(pixels, 200, 200)), 0) << "far away stays dark";
}

TEST_F(GlRenderTest, AFixedFunctionQuadBlendsItsTextureWithItsAlpha)
{
    WritePng("red.png", 4, 4, [](int, int) { return 0xFF0000FFu; });
    GraphicsDevice& device = Device();
    device.Clear(true, true, White, 1.0f);
    device.SetLighting(false);
    Camera camera;
    camera.LookAt(Device(), Matrix::Identity(), {5, 20, 5}, {5, 0, 5}, {0, 0, 1});
    device.SetTexture(Textures().Get("red.png").get());
    DrawQuadXZ(device, {0, 0, 10, 10}, Matrix::Identity(), {0, 0, 1, 1}, 128.0f);

    const auto pixels = ReadBackBuffer();
    ExpectColour(PixelAt(pixels, 640, 360), 255, 127, 127, 4);
}

TEST_F(GlRenderTest, TextIsWrittenAtItsTopLeftCorner)
{
    GraphicsDevice& device = Device();
    device.Clear(true, true, White, 1.0f);
    device.DrawText("8", 100, 100, Black);
    const auto pixels = ReadBackBuffer();
    int dark = 0;
    for (int y = 100; y < 130; ++y) {
        for (int x = 100; x < 130; ++x)
            dark += Red(PixelAt(pixels, x, y)) < 128;
    }
    EXPECT_GT(dark, 20) << "the glyph's strokes";
    EXPECT_EQ(Red(PixelAt(pixels, 160, 115)), 255) << "nothing beyond the one character cell";
}

}  // namespace

namespace {

class PredictedPassTest : public GlRenderTest {
protected:
    // The colour a pass leaves in a target, read through a copy to the back buffer.
    std::uint32_t ResultOf(const char* technique, const Color& input, bool letTheDevicePredict)
    {
        ShaderManager& shaders = Shaders();
        GraphicsDevice& device = Device();
        Texture source(Device());
        source.CreateRenderTarget(320, 180, TextureFormat::A16B16G16R16F, "source");
        Texture result(Device());
        result.CreateRenderTarget(320, 180, TextureFormat::A8R8G8B8, "result");

        device.SetRenderTarget(source.GetSurface());
        // A float colour can only be put there by a pass.
        shaders.filterShader.DrawNormal(*whiteImage, 320, 180, input, 1.0f);
        // The copy of a plain colour is plain: the device knows what the source holds ...
        shaders.filterShader.DrawNormal(source, 320, 180, Color(1.0f), 1.0f);
        // ... unless something it cannot foresee was drawn into it (here, nothing visible).
        if (!letTheDevicePredict) {
            device.SetTexture(nullptr);
            DrawQuadXZ(device, {0, 0, 1, 1}, Matrix::Identity(), {}, 0.0f);
        }
        device.SetRenderTarget(result.GetSurface());
        device.Clear(true, false, 0xFF808080, 1.0f);
        shaders.filterShader.effect->SetVector("g_Color", Color(0.5f, 1.0f, 1.0f, 1.0f));
        shaders.filterShader.effect->SetFloat("DrawPow", 2.0f);
        shaders.filterShader.DrawTechnique(technique, source);

        device.SetRenderTarget(device.BackBuffer());
        shaders.filterShader.DrawNormal(result, 1280, 720, Color(1.0f), 1.0f);
        return PixelAt(ReadBackBuffer(), 640, 360);
    }

    void SetUp() override
    {
        GlRenderTest::SetUp();
        WritePng("white.png", 4, 4, [](int, int) { return 0xFFFFFFFFu; });
        whiteImage = Textures().Get("white.png");
    }

    // Images go before the device they live on.
    void TearDown() override
    {
        whiteImage.reset();
        GlRenderTest::TearDown();
    }

    std::shared_ptr<Texture> whiteImage;
};

TEST_F(PredictedPassTest, APassOverAPlainInputGivesThePictureTheRealPassGives)
{
    const Color input(0.3f, 0.45f, 0.2f, 1.0f);
    for (const char* technique : {"NormalTech", "NegativeTech", "XBlurTech", "YBlurTech", "BrightFiltering"}) {
        const std::uint32_t predicted = ResultOf(technique, input, true);
        const std::uint32_t drawn = ResultOf(technique, input, false);
        ExpectColour(predicted, Red(drawn), Green(drawn), Blue(drawn), 1);
    }
    const Color bright(1.5f, 1.25f, 3.0f, 1.0f);
    const std::uint32_t predicted = ResultOf("BrightFiltering", bright, true);
    ExpectColour(predicted, 38, 19, 153, 2);
    const std::uint32_t drawn = ResultOf("BrightFiltering", bright, false);
    ExpectColour(predicted, Red(drawn), Green(drawn), Blue(drawn), 1);
}

}  // namespace

namespace {

class ConfinedGlowTest : public GlRenderTest {
protected:
    // The glow of a small bright cube, composed as the game composes it, read back.
    std::vector<std::uint8_t> Glow(bool letTheDeviceConfine)
    {
        ShaderManager& shaders = Shaders();
        GraphicsDevice& device = Device();
        device.SetRenderTarget(device.BackBuffer());
        device.Clear(true, true, 0xFF202020, 1.0f);
        device.SetRenderTarget(glowSource->GetSurface());
        device.Clear(true, false, White, 1.0f);
        Camera camera;
        SetModelFrame(camera, {0, 3, -10}, {0, -1, 0}, 1);
        Effect& model = *shaders.modelShader.effect;
        shaders.modelShader.SetWorld(Matrix::Translation(2, 2.5f, 0));
        model.SetVector("g_MeshColor", Color(1.0f));
        model.SetFloat("g_MeshPow", 2.0f);
        model.SetTechnique("Color");
        model.Begin();
        model.BeginPass(0);
        const auto cube = Meshes().Get("Cube.x");
        for (int i = 0; i < cube->SubsetCount(); ++i) {
            model.CommitChanges();
            device.DrawSubset(*cube, i);
        }
        model.EndPass();
        model.End();
        if (!letTheDeviceConfine)
            DrawQuadXZ(device, {0, 0, 1, 1}, Matrix::Identity(), {}, 0.0f);

        device.SetRenderTarget(shaders.glowTarget->GetSurface());
        shaders.filterShader.DrawTechnique("BrightFiltering", *glowSource);
        shaders.filterShader.Blur(*shaders.glowTarget, *shaders.blur);
        device.SetRenderTarget(device.BackBuffer());
        device.SetDestinationBlend(BlendFactor::One);
        for (const BlurTexture::Level& level : shaders.blur->levels)
            shaders.filterShader.DrawNormal(*level.b, 1280, 720, Color(1.0f), 1.0f);
        device.SetDestinationBlend(BlendFactor::InverseSourceAlpha);
        return ReadBackBuffer();
    }

    void SetUp() override
    {
        GlRenderTest::SetUp();
        directory.Write("Cube.x", XFiles::Cube(1, {1, 1, 1, 1, "", 1}));
        glowSource = std::make_unique<Texture>(Device());
        glowSource->CreateRenderTarget(1280, 720, TextureFormat::A16B16G16R16F, "glowSource");
    }

    void TearDown() override
    {
        glowSource.reset();
        GlRenderTest::TearDown();
    }

    std::unique_ptr<Texture> glowSource;
};

TEST_F(ConfinedGlowTest, GlowConfinedToWhereItShinesIsTheGlowOfTheWholeScreen)
{
    const auto everywhere = Glow(false);
    const auto confined = Glow(true);
    const auto again = Glow(true);
    int largest = 0;
    int lit = 0;
    for (std::size_t i = 0; i < everywhere.size(); ++i) {
        largest = std::max({largest, std::abs(everywhere[i] - confined[i]), std::abs(everywhere[i] - again[i])});
        lit += everywhere[i] > 0x40;
    }
    EXPECT_LE(largest, 1);
    EXPECT_GT(lit, 1000) << "the cube glows";
}

}  // namespace
