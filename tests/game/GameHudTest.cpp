#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/AssetFiles.h"
#include "game/GameHud.h"
#include "math/Angles.h"
#include "render/GraphicsDevice.h"
#include "rules/Field.h"
#include "support/DeviceFixture.h"
#include "support/DrawDescription.h"

namespace {

// A sprite of the image, as Described shows it.
std::string Sprite(const std::string& image)
{
    return "sprite " + image;
}

// The HUD's sprites on the recording device, over images of known sizes:
// digit d is 20 + 2d wide, so every digit's own width shows in the layout.
class GameHudTest : public DeviceFixture {
protected:
    void SetUp() override
    {
        StartDevice(false);
        const auto white = [](int, int) { return 0xFFFFFFFFu; };
        for (int d = 0; d <= 9; ++d)
            WritePng(ImageFile::Digit(d), 20 + 2 * d, 30, white);
        WritePng(ImageFile::White, 4, 4, white);
        WritePng(ImageFile::ScoreBoard, 200, 60, white);
        WritePng(ImageFile::GameMenu, 401, 301, white);
        WritePng(ImageFile::GameMenuCursor, 33, 33, white);
        WritePng(ImageFile::GameClear, 500, 81, white);
        WritePng(ImageFile::GameOver, 400, 61, white);
    }

    std::vector<DrawRecord> Hud(const GameHudState& hud)
    {
        draws.clear();
        DrawGameHud(Render(), hud);
        return draws;
    }

    // The sprites of one image, in order.
    static std::vector<DrawRecord> Of(const std::vector<DrawRecord>& all, const std::string& image)
    {
        std::vector<DrawRecord> out;
        for (const DrawRecord& draw : all) {
            if (draw.name == image)
                out.push_back(draw);
        }
        return out;
    }

    static void ExpectMatrix(const Matrix& actual, const Matrix& expected)
    {
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(actual.Data()[i], expected.Data()[i], 1e-3f) << "element " << i;
    }

    static void ExpectCentre(const DrawRecord& draw, float x, float y)
    {
        EXPECT_EQ(draw.centre[0], x) << draw.name;
        EXPECT_EQ(draw.centre[1], y) << draw.name;
    }

    static Matrix Scaled(float s, float x, float y)
    {
        return Matrix::Scaling(s, s, s) * Matrix::Translation(x, y, 0);
    }
};

TEST_F(GameHudTest, TheOverlayComesFirstThenTheScoreBoard)
{
    const auto sprites = Hud({.fade = 120});
    ASSERT_EQ(Described(sprites).size(), 3u);
    EXPECT_EQ(sprites[0].name, ImageFile::White);
    EXPECT_EQ(sprites[0].argb, 0x78FFFFFFu);
    EXPECT_EQ(sprites[0].matrix, Matrix::Identity());
    ExpectCentre(sprites[0], 0, 0);
    EXPECT_EQ(sprites[0].source[2], 1280) << "the whole screen, whatever the image's size";
    EXPECT_EQ(sprites[0].source[3], 720);
    EXPECT_EQ(sprites[1].name, ImageFile::ScoreBoard);
    EXPECT_EQ(sprites[1].matrix, Matrix::Translation(65, 65, 0));
    ExpectCentre(sprites[1], 100, 30);
}

TEST_F(GameHudTest, TheScoreShowsADigitAPlaceSteppedByEachDigitsOwnWidth)
{
    struct Case {
        int score;
        std::vector<std::pair<int, float>> digits;  // image and centre x
    };
    const Case cases[] = {
        {0, {{0, 115}}},
        {7, {{7, 115}}},
        {120, {{1, 115}, {2, 24 * 1.7f * 1 + 115}, {0, 20 * 1.7f * 2 + 115}}},
        {-3, {}},
    };
    for (const Case& c : cases) {
        const auto sprites = Hud({.score = c.score});
        // Overlay and board first; the rest are digits.
        ASSERT_EQ(sprites.size(), 2 + c.digits.size()) << "score " << c.score;
        for (std::size_t i = 0; i < c.digits.size(); ++i) {
            const DrawRecord& digit = sprites[2 + i];
            EXPECT_EQ(digit.name, ImageFile::Digit(c.digits[i].first));
            ExpectMatrix(digit.matrix, Scaled(1.5f, c.digits[i].second, 65));
            // Digit 0's rectangle and centre serve every digit.
            ExpectCentre(digit, 10, 15);
            EXPECT_EQ(digit.source[2], 20);
            EXPECT_EQ(digit.source[3], 30);
        }
    }
}

TEST_F(GameHudTest, TheMenuPanelAndItsTwoCursorIconsFollowTheCursorRow)
{
    for (int row = 0; row < 4; ++row) {
        const auto sprites = Hud({.menuOpen = true, .menuCursor = row, .menuIconAngle = 33.0f});
        const auto panel = Of(sprites, ImageFile::GameMenu);
        ASSERT_EQ(panel.size(), 1u);
        EXPECT_EQ(panel[0].matrix, Matrix::Translation(640, 480, 0));
        ExpectCentre(panel[0], 200, 150);
        const auto icons = Of(sprites, ImageFile::GameMenuCursor);
        ASSERT_EQ(icons.size(), 2u);
        const Matrix turn = Matrix::RotationZ(33.0f * DegreesToRadians);
        ExpectMatrix(icons[0].matrix, turn * Matrix::Translation(440, 363.0f + 80 * row, 0));
        ExpectMatrix(icons[1].matrix, turn * Matrix::Translation(820, 363.0f + 80 * row, 0));
        ExpectCentre(icons[0], 16, 16);
        EXPECT_EQ(Described(sprites)[1], Sprite(ImageFile::GameMenu)) << "right over the overlay";
    }
    EXPECT_TRUE(Of(Hud({.menuCursor = 2}), ImageFile::GameMenuCursor).empty()) << "a closed menu shows nothing";
}

TEST_F(GameHudTest, TheClearBannerGrowsAndSpinsToRestInThirtyFrames)
{
    const Matrix place = Matrix::Translation(640, 81 + 30, 0);
    EXPECT_TRUE(Of(Hud({.clearFrame = 15}), ImageFile::GameClear).empty()) << "only once cleared";
    for (const auto& [frame, s] : {std::pair{0, 0.0f}, {15, 0.75f}, {30, 1.0f}, {45, 1.0f}}) {
        const auto banner = Of(Hud({.cleared = true, .clearFrame = frame}), ImageFile::GameClear);
        ASSERT_EQ(banner.size(), 1u);
        ExpectMatrix(banner[0].matrix,
                     Matrix::Scaling(s, s, s) * Matrix::RotationZ(s * 1073 * DegreesToRadians) * place);
        ExpectCentre(banner[0], 250, 40);
    }
    // At rest the 1073° of spin read as a tilt of -7°.
    const auto rest = Of(Hud({.cleared = true, .clearFrame = 50}), ImageFile::GameClear);
    ExpectMatrix(rest[0].matrix, Matrix::RotationZ(-7 * DegreesToRadians) * place);
}

TEST_F(GameHudTest, TheGameOverBannerBouncesInFromFrame140)
{
    EXPECT_TRUE(Of(Hud({.gameOver = true, .gameOverFrame = 139}), ImageFile::GameOver).empty());
    EXPECT_TRUE(Of(Hud({.gameOverFrame = 150}), ImageFile::GameOver).empty()) << "only in a game over";
    // From just above the screen (y = -h) to rest at h + 30; halfway it is
    // on its first bounce, at b = 0.765625 of the way.
    for (const auto& [frame, y] : {std::pair{140, -61.0f}, {155, 0.765625f * 152 - 61}, {170, 91.0f}, {260, 91.0f}}) {
        const auto banner = Of(Hud({.gameOver = true, .gameOverFrame = frame}), ImageFile::GameOver);
        ASSERT_EQ(banner.size(), 1u) << "frame " << frame;
        ExpectMatrix(banner[0].matrix, Matrix::Translation(640, y, 0));
        ExpectCentre(banner[0], 200, 30);
    }
}

// With the aids, a clear's par and "with hints" sit under the banner until
// the menu opens, then beside the score, clear of the menu's panel; the
// line naming the next stage shows while "Next stage" is chosen.
TEST_F(GameHudTest, OnceTheMenuOpensAClearsParMovesBesideTheScoreAndTheNextStageIsNamed)
{
    const auto white = [](int, int) { return 0xFFFFFFFFu; };
    WritePng(ImageFile::ParWord, 50, 40, white);
    WritePng(ImageFile::WithHints, 240, 52, white);
    const std::string next = ImageFile::NextStageLine(2, 4);
    WritePng(next, 300, 44, white);
    GameHudState hud{.cleared = true, .clearFrame = 50};
    hud.assists = {.shown = true, .par = 3, .hintsUsed = true, .next = {{2, 4}}};
    const auto rowOf = [](const std::vector<DrawRecord>& sprites) { return sprites.at(0).matrix.Data()[13]; };

    std::vector<DrawRecord> sprites = Hud(hud);
    EXPECT_GT(rowOf(Of(sprites, ImageFile::ParWord)), 200.0f) << "under the banner";
    EXPECT_GT(rowOf(Of(sprites, ImageFile::WithHints)), 200.0f);
    EXPECT_TRUE(Of(sprites, next).empty()) << "no menu yet";

    hud.menuOpen = true;
    sprites = Hud(hud);
    const float scoreRow = rowOf(Of(sprites, ImageFile::ScoreBoard));
    EXPECT_EQ(rowOf(Of(sprites, ImageFile::ParWord)), scoreRow);
    EXPECT_EQ(rowOf(Of(sprites, ImageFile::WithHints)), scoreRow);
    ASSERT_EQ(Of(sprites, next).size(), 1u);
    EXPECT_GT(rowOf(Of(sprites, next)), rowOf(Of(sprites, ImageFile::GameMenu)) + 301.0f / 2.0f)
        << "under the panel";

    hud.menuCursor = 1;
    EXPECT_TRUE(Of(Hud(hud), next).empty()) << "named only while Next stage is chosen";
}

TEST_F(GameHudTest, EverythingAtOnceKeepsItsOrder)
{
    const auto sprites = Hud({.fade = 0, .menuOpen = true, .score = 12, .cleared = true, .clearFrame = 50,
                              .gameOver = true, .gameOverFrame = 200});
    EXPECT_EQ(Described(sprites),
              (std::vector<std::string>{Sprite(ImageFile::White), Sprite(ImageFile::GameMenu),
                                        Sprite(ImageFile::GameMenuCursor), Sprite(ImageFile::GameMenuCursor),
                                        Sprite(ImageFile::ScoreBoard), Sprite(ImageFile::Digit(1)),
                                        Sprite(ImageFile::Digit(2)), Sprite(ImageFile::GameClear),
                                        Sprite(ImageFile::GameOver)}));
}

}  // namespace
