#include <gtest/gtest.h>

#include "XFiles.h"
#include "render/Effect.h"
#include "render/EffectSource.h"
#include "render/GraphicsDevice.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"
#include "support/DeviceFixture.h"

namespace {

const char* const TwoTechniques = R"(// a comment before the first section
@common
uniform float shared;
@technique One
@depth off
@vertex
void main() { gl_Position = vec4(0.0); }
@fragment
out vec4 c;
void main() { c = vec4(shared); }
@technique Two
@vertex
void main() { gl_Position = vec4(1.0); }
@fragment
out vec4 c;
void main() { c = vec4(1.0); }
@technique Three
@depth test
@vertex
void main() { gl_Position = vec4(1.0); }
@fragment
out vec4 c;
void main() { c = vec4(1.0); }
)";

TEST(EffectSource, SplitsTechniquesAndTheirStages)
{
    EffectSource source;
    std::string error;
    ASSERT_TRUE(ParseEffectSource(TwoTechniques, source, error)) << error;
    ASSERT_EQ(source.techniques.size(), 3u);
    EXPECT_EQ(source.techniques[0].name, "One");
    EXPECT_EQ(source.techniques[0].depth, DepthUse::Off);
    EXPECT_EQ(source.techniques[1].depth, DepthUse::TestAndWrite);
    EXPECT_EQ(source.techniques[2].depth, DepthUse::TestOnly);
    EXPECT_NE(source.commonBoth.find("uniform float shared;"), std::string::npos);
    EXPECT_NE(source.techniques[1].vertex.find("vec4(1.0)"), std::string::npos);
    EXPECT_EQ(source.techniques[0].fragment.find("vec4(1.0)"), std::string::npos);
}

TEST(EffectSource, RejectsWhatItCannotPlace)
{
    const std::pair<const char*, const char*> bad[] = {
        {"void main() {}\n", "line 1"},
        {"@technique A\n@vertex\nx\n@shader\n", "line 4"},
        {"@vertex\n", "line 1"},
        {"@technique A\n@vertex\nx\n@fragment\ny\n@technique A\n", "line 6"},
        {"@technique A\n@depth maybe\n", "line 2"},
        {"@technique A\n@vertex\nvoid main(){}\n", "needs both"},
    };
    for (const auto& [text, reason] : bad) {
        EffectSource source;
        std::string error;
        EXPECT_FALSE(ParseEffectSource(text, source, error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

class EffectPasses : public DeviceFixture {};

TEST_F(EffectPasses, APassNarrowsTheDepthStatesItFindsAndEndPutsThemBack)
{
    StartDevice(false);
    std::string errors;
    const auto effect = Effect::FromText(Device(), TwoTechniques, errors);
    ASSERT_NE(effect, nullptr) << errors;
    GraphicsDevice& device = Device();
    const auto passStates = [&](const char* technique) {
        effect->SetTechnique(technique);
        effect->Begin();
        effect->BeginPass(0);
        const std::pair<bool, bool> inPass{device.DepthTest(), device.DepthWrite()};
        effect->End();
        return inPass;
    };
    EXPECT_EQ(passStates("One"), std::make_pair(false, false));
    EXPECT_EQ(passStates("Two"), std::make_pair(true, true));
    EXPECT_EQ(passStates("Three"), std::make_pair(true, false)) << "tested, not written";
    EXPECT_TRUE(device.DepthTest());
    EXPECT_TRUE(device.DepthWrite());
    device.SetDepthWrite(false);
    EXPECT_EQ(passStates("Two"), std::make_pair(true, false)) << "a pass never turns writing back on";
    EXPECT_FALSE(device.DepthWrite());
}

class EffectFailureTest : public DeviceFixture {};

TEST_F(EffectFailureTest, ACompileErrorIsShownWithTheCompilersTextAndModelDrawsAreSkipped)
{
    StartDevice(true);
    directory.Write("Shader/Shader_Model.cso", "@technique Toon\n@vertex\nvoid main() { undefined(); }\n"
                                               "@fragment\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n");
    directory.Write("Cube.x", XFiles::Cube(1, {1, 1, 1, 1, "", 1}));
    ShaderManager& shaders = Shaders();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "シェーダコンパイルエラー");
    EXPECT_NE(messages[0].text.find("Shader_Model.cso"), std::string::npos) << messages[0].text;
    EXPECT_NE(messages[0].text.find("undefined"), std::string::npos) << "the compiler's own words";
    EXPECT_EQ(shaders.modelShader.effect, nullptr);
    EXPECT_NE(shaders.filterShader.effect, nullptr) << "the filter effect still loads";

    draws.clear();
    shaders.modelShader.SetWorld(Matrix::Identity());
    shaders.modelShader.DrawToon(Meshes().Get("Cube.x"));
    shaders.modelShader.DrawGlow(Meshes().Get("Cube.x"), 1.0f);
    EXPECT_TRUE(draws.empty());
}

TEST_F(EffectFailureTest, AMissingEffectFileIsReportedAndFilterPassesAreSkipped)
{
    StartDevice(false);
    std::filesystem::remove("Shader/Shader_Filter.cso");
    ShaderManager& shaders = Shaders();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "シェーダコンパイルエラー");
    EXPECT_NE(messages[0].text.find("Shader_Filter.cso"), std::string::npos);
    draws.clear();
    shaders.filterShader.Blur(*shaders.glowTarget, *shaders.blur);
    for (const DrawRecord& draw : draws)
        EXPECT_NE(draw.kind, DrawRecord::Kind::Quad);
}

}  // namespace

namespace {

const char* const Variants = R"(@variants g_Mode 0 1
@common
#ifndef g_Mode
uniform int g_Mode;
#endif
@technique Paint
@depth off
@vertex
void main() { gl_Position = orb_ScreenClip(in_Position.xy); }
@fragment
out vec4 c;
void main()
{
#ifdef g_Mode
    c = g_Mode == 0 ? vec4(1.0, 0.0, 0.0, 1.0) : vec4(0.0, 1.0, 0.0, 1.0);
#else
    c = vec4(0.0, 0.0, float(g_Mode) / 4.0, 1.0);
#endif
}
)";

TEST(EffectSource, VariantsNameAnIntParameterAndItsValues)
{
    EffectSource source;
    std::string error;
    ASSERT_TRUE(ParseEffectSource(Variants, source, error)) << error;
    EXPECT_EQ(source.variantParameter, "g_Mode");
    EXPECT_EQ(source.variantValues, (std::vector<int>{0, 1}));
    EXPECT_FALSE(ParseEffectSource("@variants g_Mode on off\n", source, error));
    EXPECT_FALSE(ParseEffectSource("@variants\n", source, error));
}

class EffectVariantTest : public DeviceFixture {};

TEST_F(EffectVariantTest, EachDrawUsesTheBuildForTheParametersValue)
{
    StartDevice(true);
    std::string errors;
    auto effect = Effect::FromText(Device(), Variants, errors);
    ASSERT_NE(effect, nullptr) << errors;
    GraphicsDevice& device = Device();
    const auto paint = [&](int mode, int x) {
        effect->SetInt("g_Mode", mode);
        effect->SetTechnique("Paint");
        effect->Begin();
        effect->BeginPass(0);
        effect->CommitChanges();
        device.DrawScreenQuad({x, 0, 10, 10});
        effect->EndPass();
        effect->End();
    };
    paint(0, 0);
    paint(1, 10);
    paint(2, 20);
    // Switching the value inside a pass switches the build at the next commit.
    effect->SetInt("g_Mode", 0);
    effect->Begin();
    effect->BeginPass(0);
    device.DrawScreenQuad({30, 0, 10, 10});
    effect->SetInt("g_Mode", 1);
    effect->CommitChanges();
    device.DrawScreenQuad({40, 0, 10, 10});
    effect->EndPass();
    effect->End();

    const auto pixels = ReadBackBuffer();
    EXPECT_EQ(PixelAt(pixels, 5, 5) & 0xFFFFFF, 0x0000FFu) << "the build for 0";
    EXPECT_EQ(PixelAt(pixels, 15, 5) & 0xFFFFFF, 0x00FF00u) << "the build for 1";
    EXPECT_EQ(Blue(PixelAt(pixels, 25, 5)), 128) << "the general build for a value not listed";
    EXPECT_EQ(PixelAt(pixels, 35, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(PixelAt(pixels, 45, 5) & 0xFFFFFF, 0x00FF00u);
}

}  // namespace

namespace {

TEST(EffectSource, CullBackIsATechniqueState)
{
    EffectSource source;
    std::string error;
    ASSERT_TRUE(ParseEffectSource("@technique A\n@cull back\n@vertex\nv\n@fragment\nf\n", source, error)) << error;
    EXPECT_TRUE(source.techniques[0].cullBack);
    EXPECT_FALSE(ParseEffectSource("@technique A\n@cull front\n", source, error));
}

}  // namespace
