#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>

#include "app/Settings.h"
#include "assets/AssetFiles.h"
#include "scenes/Game.h"
#include "game/GameFixture.h"
#include "math/Matrix.h"
#include "platform/Application.h"
#include "platform/VirtualKey.h"
#include "render/ShaderManager.h"
#include "render/Texture.h"
#include "rules/Field.h"
#include "rules/Shots.h"
#include "support/DrawDescription.h"

namespace {

using namespace BlockKind;

// Draws as Described shows them.
std::string Fixed(const std::string& model)
{
    return "fixed " + model;
}
std::string Mesh(const std::string& model, const std::string& technique)
{
    return "mesh " + model + " " + technique;
}
std::string Sprite(const std::string& image)
{
    return "sprite " + image;
}

// Whole Game frames on the recording device: what is drawn, into which
// target, in which order.
class GameDraw : public GameFixture {
protected:
    // The draws of the next frame alone.
    std::vector<std::string> NextFrame()
    {
        draws.clear();
        record.Clear();
        RunFrames(1);
        return Described(draws);
    }
    static std::vector<std::string> Slice(const std::vector<std::string>& all, const std::string& from, std::size_t count)
    {
        const auto start = std::find(all.begin(), all.end(), from);
        EXPECT_NE(start, all.end()) << from;
        return {start, start + std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(count), all.end() - start)};
    }
    static int Count(const std::vector<std::string>& all, const std::string& what)
    {
        return static_cast<int>(std::count(all.begin(), all.end(), what));
    }
};

TEST_F(GameDraw, AFrameDrawsTheWorldIntoTheSceneTargetCopiesItAddsTheGlowThenDrawsTheHud)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    Start();
    const std::vector<std::string> frame = NextFrame();
    const std::vector<std::string> expected = {
        "target sceneTarget",
        Fixed(ModelFile::Sky(1)),
        Mesh(ModelFile::StageBoard(1), "Glow"),
        Mesh(ModelFile::Player, "Toon"),
        // Nothing is turning over: the glow target is emptied, the bright
        // filter still runs over the white glow source.
        "target glowTarget",
        "target sceneTarget",
        "target glowSource",
        "target sceneTarget",
        "target glowTarget",
        "quad BrightFiltering 1280x720",
        "target sceneTarget",
        Mesh(ModelFile::BlackBlock, "Glow"),
        Mesh(ModelFile::WhiteBlock, "Glow"),
        "target backbuffer",
        "quad NormalTech 1280x720",
        // The blur chain, then its three levels added over the picture.
        "target blur0b",
    };
    ASSERT_GE(frame.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(expected.size())),
              expected);
    EXPECT_EQ(Slice(frame, "target blur2b", 9),
              (std::vector<std::string>{"target blur2b", "quad NormalTech 80x45", "target blur2a",
                                        "quad XBlurTech 80x45", "target blur2b", "quad YBlurTech 80x45",
                                        "target backbuffer", "quad NormalTech 1280x720", "quad NormalTech 1280x720"}));
    EXPECT_EQ(std::vector<std::string>(frame.end() - 3, frame.end()),
              (std::vector<std::string>{Sprite(ImageFile::White), Sprite(ImageFile::ScoreBoard),
                                        Sprite(ImageFile::Digit(0))}))
        << "the HUD comes last";
    EXPECT_EQ(draws[2].matrix, Matrix::Translation(250, -250, 250)) << "the board stands under the field";
    EXPECT_EQ(SoundCalls("music 0 play"), 1) << "the music starts with the first draw";
    NextFrame();
    EXPECT_EQ(SoundCalls("music 0 play"), 0) << "and only then";
}

TEST_F(GameDraw, FromTheHundredAndSixtiethFrameOfAGameOverTheBlocksAreInvertedAndTheSceneNegative)
{
    // Lost from the start: a black block with white blocks on all four sides.
    WriteStage({{5, 0, 5, Black}, {4, 0, 5, White}, {6, 0, 5, White}, {5, 0, 4, White}, {5, 0, 6, White},
                {8, 0, 8, HardBlack}});
    Game& game = Start();
    RunFrames(158);
    std::vector<std::string> frame = NextFrame();
    ASSERT_EQ(game.GameOverFrame(), 159);
    EXPECT_EQ(Count(frame, "target glowSource"), 1);
    EXPECT_EQ(Count(frame, Mesh(ModelFile::BlackBlock, "Glow")), 1);
    EXPECT_EQ(Count(frame, "quad NegativeTech 1280x720"), 0);

    frame = NextFrame();
    ASSERT_EQ(game.GameOverFrame(), 160);
    EXPECT_EQ(Count(frame, "target glowSource"), 0) << "no glow is drawn in the game-over look";
    EXPECT_EQ(Slice(frame, Mesh(ModelFile::Player, "Toon"), 9),
              (std::vector<std::string>{Mesh(ModelFile::Player, "Toon"), Mesh(ModelFile::WhiteBlock, "Toon"),
                                        Mesh(ModelFile::BlackBlock, "Toon"), Mesh(ModelFile::BlackBlock, "Toon"),
                                        Mesh(ModelFile::BlackBlock, "Toon"), Mesh(ModelFile::BlackBlock, "Toon"),
                                        Mesh(ModelFile::HardBlockInverted, "Toon"),
                                        "quad NegativeTech 1280x720", "target backbuffer"}));
    EXPECT_EQ(Count(frame, "quad NormalTech 1280x720"), 4) << "the copy, and the glow left from before";
    EXPECT_EQ(Count(frame, Sprite(ImageFile::GameOver)), 1);
}

TEST_F(GameDraw, TheFadeOutDrawsItsOverlayOnceUnderTheHudAndOnceOverEverything)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    Game& game = Start();
    RunFrames(90);
    Tap(VirtualKey::M);
    Tap(VirtualKey::Return);
    ASSERT_TRUE(game.leaving);
    const std::vector<std::string> frame = NextFrame();
    ASSERT_EQ(Count(frame, Sprite(ImageFile::White)), 2);
    EXPECT_EQ(frame.back(), Sprite(ImageFile::White));
    EXPECT_EQ(draws.back().argb, static_cast<std::uint32_t>(game.Fade()) << 24 | 0xFFFFFFu);
    EXPECT_EQ(Count(frame, Sprite(ImageFile::GameMenu)), 1) << "the menu stays up while leaving";
}

TEST_F(GameDraw, WithoutItsTargetsOrFilterEffectAFrameStillDrawsTheWorldAndTheHud)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    Start();
    ShaderManager& shaders = Shaders();
    shaders.sceneTarget->Release();
    shaders.glowTarget->Release();
    std::vector<std::string> frame = NextFrame();
    EXPECT_EQ(std::vector<std::string>(frame.begin(), frame.begin() + 5),
              (std::vector<std::string>{Fixed(ModelFile::Sky(1)),
                                        Mesh(ModelFile::StageBoard(1), "Glow"),
                                        Mesh(ModelFile::Player, "Toon"), Mesh(ModelFile::BlackBlock, "Glow"),
                                        Mesh(ModelFile::WhiteBlock, "Glow")}))
        << "straight into the back buffer, without a glow";
    EXPECT_EQ(frame.back(), Sprite(ImageFile::Digit(0)));

    // A scene target that could never be copied to the screen is no better.
    shaders.sceneTarget->CreateRenderTarget(1280, 720, TextureFormat::A16B16G16R16F, "sceneTarget");
    shaders.filterShader.effect.reset();
    frame = NextFrame();
    EXPECT_EQ(frame.front(), Fixed(ModelFile::Sky(1)));
    EXPECT_EQ(Count(frame, Mesh(ModelFile::WhiteBlock, "Glow")), 1);
    EXPECT_EQ(std::count_if(frame.begin(), frame.end(), [](const std::string& d) { return d.starts_with("quad"); }), 0);
}

// The hint's arrow lies on the cell to fire from and points the way the shot
// flies. Its image points at its top edge, which DrawQuadXZ lays along the
// quad's -z side; so the world matrix carries the point half a cell toward
// -z of the quad to half a cell from the cell's centre toward the shot. Each
// stage has one first shot, worked out by hand: where it is fired from and
// which way.
class HintDraw : public GameFixture {
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        Context().settings.assists = true;
        Context().settings.waitForSearches = true;
    }
};

TEST_F(HintDraw, TheArrowPointsTheWayTheHintedShotFliesInAllFourDirections)
{
    struct Case {
        const char* way;
        std::vector<TestBlock> blocks;
        MapPosition from;
        int direction;
    };
    // A black closed by white, the landing in front of it reached only from
    // one cell: (1, 1), (8, 1) and so on bar the cross line.
    const Case cases[] = {
        {"+x", {{2, 0, 0, Black}, {3, 0, 0, White}, {1, 0, 1, White}}, {0, 0, 0}, Direction::PlusX},
        {"-x", {{7, 0, 0, Black}, {6, 0, 0, White}, {8, 0, 1, White}}, {9, 0, 0}, Direction::MinusX},
        {"+z", {{0, 0, 2, Black}, {0, 0, 3, White}, {1, 0, 1, White}}, {0, 0, 0}, Direction::PlusZ},
        {"-z", {{0, 0, 7, Black}, {0, 0, 6, White}, {1, 0, 8, White}}, {0, 0, 9}, Direction::MinusZ},
    };
    for (const Case& c : cases) {
        WriteStage(c.blocks);
        Start();
        RunFrames(90);
        Tap(VirtualKey::H);
        draws.clear();
        RunFrames(1);
        const auto arrow = std::find_if(draws.begin(), draws.end(), [](const DrawRecord& draw) {
            return draw.kind == DrawRecord::Kind::Fixed && draw.texture == ImageFile::HintArrow;
        });
        ASSERT_NE(arrow, draws.end()) << c.way << ": no arrow";
        ASSERT_TRUE(arrow->textureArea) << c.way;
        EXPECT_EQ((*arrow->textureArea)[1], 0.0f) << c.way << ": the image's top edge is its first";

        const Vector3 centre = TransformCoord({0.0f, 0.0f, 0.0f}, arrow->matrix);
        const Vector3 tip = TransformCoord({0.0f, 0.0f, -25.0f}, arrow->matrix);
        const Vector3 cell = Field::Centre(c.from);
        EXPECT_NEAR(centre.x, cell.x, 0.01f) << c.way;
        EXPECT_NEAR(centre.z, cell.z, 0.01f) << c.way;
        // The marks grow toward the back rows: the way counts, not the length.
        const MapPosition ahead = NextCell(c.from, c.direction);
        const float length = std::hypot(tip.x - centre.x, tip.z - centre.z);
        EXPECT_GE(length, 25.0f) << c.way;
        EXPECT_NEAR((tip.x - centre.x) / length, static_cast<float>(ahead.x - c.from.x), 0.01f) << c.way;
        EXPECT_NEAR((tip.z - centre.z) / length, static_cast<float>(ahead.z - c.from.z), 0.01f) << c.way;
    }
}

}  // namespace
