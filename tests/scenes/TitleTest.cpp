#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>

#include "app/SceneManager.h"
#include "app/Settings.h"
#include "assets/AssetFiles.h"
#include "main/FrameLoop.h"
#include "math/Quaternion.h"
#include "platform/Application.h"
#include "platform/VirtualKey.h"
#include "scenes/SceneFixture.h"
#include "scenes/Select.h"
#include "scenes/Title.h"
#include "stage/ResultFile.h"
#include "support/MatrixNear.h"

namespace {

constexpr float QuarterTurn = 0.78539816f;
constexpr float Degree = 0.017453292f;

Matrix Upright()
{
    return Matrix::RotationYawPitchRoll(QuarterTurn, QuarterTurn, QuarterTurn);
}

// Where the three emblems stand on the carousel and in the triangle.
const Vector3 CarouselPlaces[3] = {{0, -3, -12}, {10, -3, 10}, {-10, -3, 10}};
const Vector3 Slots[3] = {{0, -3, -40}, {10, -3, -10}, {-10, -3, -10}};

class TitleScene : public SceneFixture {
protected:
    Title& Open() { return Build<Title>(SceneId::Title); }
    // From the prompt to the difficulty choice, its move ended.
    Title& OpenChoice()
    {
        Title& title = Open();
        Tap(VirtualKey::Return);
        Tap(VirtualKey::Return);
        RunFrames(51);
        return title;
    }
    std::string ResultText(int group, int stage) const
    {
        std::ifstream in(directory.Path() / ResultFile::Path(group, stage).substr(2), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(TitleScene, EnterHeldFromThePromptOpensTheMenuButNotTheChoice)
{
    Title& title = Open();
    EXPECT_EQ(Scenes().stage.group, 1);
    Hold(VirtualKey::Return);
    RunFrames(5);
    EXPECT_EQ(title.MenuItem(), 1);
    EXPECT_FALSE(title.DifficultyOpen()) << "the latch must be released first";
    Release(VirtualKey::Return);
    RunFrames(1);
    Tap(VirtualKey::Return);
    EXPECT_TRUE(title.DifficultyOpen());
    EXPECT_EQ(SoundCalls("effect 0 play"), 2);
}

TEST_F(TitleScene, ATapBetweenTwoFramesStillCounts)
{
    Title& title = Open();
    Hold(VirtualKey::Return);
    Release(VirtualKey::Return);
    RunFrames(1);
    EXPECT_EQ(title.MenuItem(), 1);
}

TEST_F(TitleScene, TheMoveEndsOnItsFiftyFirstUpdateAndOnlyThenDoLeftAndRightTurn)
{
    Title& title = Open();
    Tap(VirtualKey::Return);
    Hold(VirtualKey::Return);
    RunFrames(1);
    Release(VirtualKey::Return);
    // The frame of the press moved it once; Left now is too early.
    Tap(VirtualKey::Left);
    EXPECT_EQ(Scenes().stage.group, 1);
    RunFrames(47);
    EXPECT_LT(title.TweenProgress(), 1.0f);
    RunFrames(1);
    EXPECT_EQ(title.TweenProgress(), 1.0f);

    Tap(VirtualKey::Left);
    EXPECT_EQ(Scenes().stage.group, 3) << "Left from group 1 gives Hard";
    EXPECT_EQ(title.DifficultyIndex(), 1);
    EXPECT_EQ(SoundCalls("effect 2 play"), 1);
    RunFrames(51);
    Tap(VirtualKey::Right);
    RunFrames(51);
    Tap(VirtualKey::Right);
    EXPECT_EQ(Scenes().stage.group, 2) << "and Right from group 1 Normal";
    EXPECT_EQ(title.DifficultyIndex(), 2);
}

TEST_F(TitleScene, HeldLeftTurnsTheTriangleOnceAMoveHasEnded)
{
    OpenChoice();
    Hold(VirtualKey::Left);
    RunFrames(51 * 3);
    Release(VirtualKey::Left);
    EXPECT_EQ(SoundCalls("effect 2 play"), 3);
    EXPECT_EQ(Scenes().stage.group, 1) << "three turns come back to Easy";
}

TEST_F(TitleScene, UpAndDownDoNothingWhileTheChoiceIsOpen)
{
    Title& title = OpenChoice();
    Tap(VirtualKey::Down);
    Tap(VirtualKey::Up);
    Tap(VirtualKey::Down);
    EXPECT_EQ(title.MenuItem(), 1);
    EXPECT_EQ(SoundCalls("effect 2 play"), 0);
}

// One Enter only asks; No is chosen until an arrow says otherwise, and
// answering No (or Backspace) keeps every score.
TEST_F(TitleScene, ScoreResetAsksFirstWithNoChosenAndNoKeepsEveryScore)
{
    WriteScore(2, 3, "score:12\n");
    Title& title = Open();
    Tap(VirtualKey::Return);
    Tap(VirtualKey::Down);
    Tap(VirtualKey::Return);
    ASSERT_TRUE(title.ResetAsked());
    EXPECT_FALSE(title.ResetYesChosen());
    Tap(VirtualKey::Up);
    EXPECT_EQ(title.MenuItem(), 2) << "the menu waits for the answer";
    Tap(VirtualKey::Return);
    EXPECT_FALSE(title.ResetAsked());
    EXPECT_EQ(ResultText(2, 3), "score:12\n");
    EXPECT_EQ(title.ResetMessageTimer(), 0);

    Tap(VirtualKey::Return);
    Tap(VirtualKey::Right);
    ASSERT_TRUE(title.ResetYesChosen());
    Tap(VirtualKey::Back);
    EXPECT_FALSE(title.ResetAsked());
    EXPECT_EQ(ResultText(2, 3), "score:12\n") << "Backspace is No";
}

TEST_F(TitleScene, ScoreResetAnsweredYesEmptiesAllEighteenResultsAndIgnoresKeysForItsMessage)
{
    for (int group = 1; group <= 3; ++group) {
        for (int stage = 1; stage <= 6; ++stage)
            WriteScore(group, stage, "score:12\n");
    }
    Title& title = Open();
    Tap(VirtualKey::Return);
    Tap(VirtualKey::Down);
    ASSERT_EQ(title.MenuItem(), 2);
    Tap(VirtualKey::Return);
    Tap(VirtualKey::Left);
    Tap(VirtualKey::Return);
    for (int group = 1; group <= 3; ++group) {
        for (int stage = 1; stage <= 6; ++stage)
            EXPECT_EQ(ResultText(group, stage), "score:0") << group << "-" << stage;
    }
    // The frame of the press counted 1, the frame after it 2.
    EXPECT_EQ(title.ResetMessageTimer(), 2);
    Tap(VirtualKey::Up);
    EXPECT_EQ(title.MenuItem(), 2) << "keys wait for the message";
    RunFrames(116);
    EXPECT_EQ(title.ResetMessageTimer(), 120);
    RunFrames(1);
    EXPECT_EQ(title.ResetMessageTimer(), 0);
    // The Up tapped during the message is still remembered by the keyboard and
    // holds the latch the reset set for one more frame; the frame after frees it.
    RunFrames(2);
    Tap(VirtualKey::Up);
    EXPECT_EQ(title.MenuItem(), 1);
}

TEST_F(TitleScene, TheSecondEnterFadesOutToSelectWithTheChosenGroup)
{
    Title& title = OpenChoice();
    Tap(VirtualKey::Left);
    RunFrames(51);
    Tap(VirtualKey::Return);
    ASSERT_TRUE(title.leaving);
    RunFrames(84);
    EXPECT_EQ(Scenes().CurrentId(), SceneId::Title) << "the request comes the frame after 255";
    RunFrames(1);
    EXPECT_EQ(Scenes().CurrentId(), SceneId::Select);
    EXPECT_EQ(Scenes().stage.group, 3);
}

TEST_F(TitleScene, EachScreenShowsItsRows)
{
    WritePng(ImageFile::TitleLettering, 360, 120, [](int, int) { return 0xFFFFFFFFu; });
    Open();
    std::vector<DrawRecord> frame = NextFrameDraws();
    const auto title = SpritesOf(frame, ImageFile::TitleLettering);
    ASSERT_EQ(title.size(), 1u);
    // The title image is 120 high here: it stands at 120 - 50, scaled about (180, 60).
    ExpectAt(title[0], 640, 70, 1.8f);
    EXPECT_EQ(title[0].centre[0], 180);
    EXPECT_EQ(title[0].centre[1], 60);
    ExpectAt(SpritesOf(frame, ImageFile::PressEnter).at(0), 640, 600);
    EXPECT_EQ(SpritesOf(frame, ImageFile::PressEnterInverted).at(0).argb >> 24, 255u - 0u);
    EXPECT_TRUE(SpritesOf(frame, ImageFile::GameStart).empty());

    Tap(VirtualKey::Return);
    frame = NextFrameDraws();
    ExpectAt(SpritesOf(frame, ImageFile::GameStart).at(0), 640, 600);
    // s = sin(phase · π / 60), with the phase at 4 after four updates.
    const float s = static_cast<float>(std::sin(4 * 3.14159265358979 / 60));
    ExpectAt(SpritesOf(frame, ImageFile::ArrowUp).at(0), 640, 540 - 25 * s);
    ExpectAt(SpritesOf(frame, ImageFile::ArrowDown).at(0), 640, 665 + 25 * s);
    EXPECT_TRUE(SpritesOf(frame, ImageFile::PressEnter).empty());

    Tap(VirtualKey::Return);
    frame = NextFrameDraws();
    ExpectAt(SpritesOf(frame, ImageFile::Easy).at(0), 640, 625);
    EXPECT_EQ(SpritesOf(frame, ImageFile::ArrowRight).size(), 1u);
    EXPECT_TRUE(SpritesOf(frame, ImageFile::ArrowUp).empty());
    EXPECT_TRUE(SpritesOf(frame, ImageFile::GameStart).empty());
}

// After n updates the carousel has turned 0.1° n times (each added in double,
// kept in float) and each emblem has spun 1° n times about its own vertical
// axis: world = spin × its place × the carousel's turn.
TEST_F(TitleScene, EachEmblemSpinsAboutItselfWhileTheCarouselCarriesItAboutTheWorldsAxis)
{
    Title& title = Open();
    constexpr int Updates = 100;
    RunFrames(Updates);
    float angle = 0.0f;
    Matrix spin = Upright();
    for (int i = 0; i < Updates; ++i) {
        angle = static_cast<float>(angle + 0.1);
        spin = spin * Matrix::RotationYawPitchRoll(Degree, 0, 0);
    }
    const Matrix carousel = Matrix::RotationY(angle * Degree);
    for (int k = 0; k < 3; ++k) {
        const Matrix& world = title.Model(k).world;
        EXPECT_TRUE(MatrixNear(world, spin * Matrix::Translation(CarouselPlaces[k]) * carousel, 1e-4f)) << k;
        // The place turned about the world's y axis by the carousel's angle.
        const Vector3 p = CarouselPlaces[k];
        const float c = std::cos(angle * Degree);
        const float s = std::sin(angle * Degree);
        EXPECT_NEAR(world(3, 0), p.x * c + p.z * s, 1e-3f) << k;
        EXPECT_NEAR(world(3, 1), p.y, 1e-4f) << k;
        EXPECT_NEAR(world(3, 2), -p.x * s + p.z * c, 1e-3f) << k;
    }
}

// Opening the choice glides each emblem from where it stood to its slot of
// the triangle: the rotation along the shorter arc, the place in a straight
// line, both at the same progress; halfway (25 updates of 0.02) each emblem is
// as far turned from its start as from its end.
TEST_F(TitleScene, TheEmblemsGlideToTheTriangleAlongTheShorterArcHalfwayAtTheTwentyFifthUpdate)
{
    Title& title = Open();
    Tap(VirtualKey::Return);
    RunFrames(60);
    std::array<Matrix, 3> from;
    for (int k = 0; k < 3; ++k)
        from[static_cast<std::size_t>(k)] = title.Model(k).world;
    Hold(VirtualKey::Return);
    RunFrames(1);
    Release(VirtualKey::Return);
    RunFrames(24);
    ASSERT_TRUE(title.DifficultyOpen());
    ASSERT_NEAR(title.TweenProgress(), 0.5f, 1e-6f);
    for (int k = 0; k < 3; ++k) {
        const Matrix& start = from[static_cast<std::size_t>(k)];
        const Matrix end = Upright() * Matrix::Translation(Slots[k]);
        const Matrix& world = title.Model(k).world;
        const Vector3 middle = (start.TranslationRow() + end.TranslationRow()) * 0.5f;
        EXPECT_NEAR(world(3, 0), middle.x, 1e-4f) << k;
        EXPECT_NEAR(world(3, 2), middle.z, 1e-4f) << k;
        const Quaternion q = QuaternionFromMatrix(world);
        const float toStart = std::abs(glm::dot(q, QuaternionFromMatrix(start)));
        const float toEnd = std::abs(glm::dot(q, QuaternionFromMatrix(end)));
        EXPECT_NEAR(toStart, toEnd, 1e-5f) << k << ": not halfway between its two poses";
        EXPECT_LT(toEnd, 0.999f) << k << ": already at the end of the glide";
    }
}

// After n updates the arrows' phase is n mod 61; at 30 they stand farthest out.
TEST_F(TitleScene, TheDifficultyArrowsBobOutwardTogether)
{
    OpenChoice();
    RunFrames(91 - 55 - 1);
    const auto frame = NextFrameDraws();
    const float s = 1.0f;
    ExpectAt(SpritesOf(frame, ImageFile::ArrowRight).at(0), 640 + 225 + 25 * s, 625);
    ExpectAt(SpritesOf(frame, ImageFile::ArrowLeft).at(0), 640 - 225 - 25 * s, 625);
}

TEST_F(TitleScene, UpAndDownDoNothingOnThePrompt)
{
    Title& title = Open();
    Tap(VirtualKey::Down);
    EXPECT_EQ(title.MenuItem(), 0);
    Tap(VirtualKey::Up);
    EXPECT_EQ(title.MenuItem(), 0);
    EXPECT_EQ(SoundCalls("effect 2 play"), 0);
    Tap(VirtualKey::Return);
    EXPECT_EQ(title.MenuItem(), 1);
}

// The choice is made on an emblem at rest: an Enter while the emblems still
// glide, into the triangle or after a turn, chooses nothing and makes no
// sound. Taps on every other frame, shifted by one between the two moves,
// press on every frame of a move.
TEST_F(TitleScene, AnEnterWhileTheEmblemsStillMoveChoosesNothing)
{
    Title& title = Open();
    Tap(VirtualKey::Return);
    Tap(VirtualKey::Return);
    ASSERT_TRUE(title.DifficultyOpen());
    const int decides = SoundCalls("effect 0 play");
    int presses = 0;
    while (title.TweenProgress() < 1.0f) {
        Tap(VirtualKey::Return);
        ++presses;
        ASSERT_FALSE(title.leaving) << "chosen at " << title.TweenProgress() << " of the glide";
    }

    Tap(VirtualKey::Left);
    ASSERT_LT(title.TweenProgress(), 1.0f) << "a turn moves them again";
    RunFrames(1);
    while (title.TweenProgress() < 1.0f) {
        Tap(VirtualKey::Return);
        ++presses;
        ASSERT_FALSE(title.leaving) << "chosen at " << title.TweenProgress() << " of the turn";
    }
    EXPECT_GE(presses, 45);
    EXPECT_EQ(SoundCalls("effect 0 play"), decides);

    Tap(VirtualKey::Return);
    EXPECT_TRUE(title.leaving) << "at rest, Enter chooses";
    EXPECT_EQ(Scenes().stage.group, 3);
}

// The volume keys work on the title and the select with the aids, and the
// level shows there; without them only a game takes them, as it always did.
TEST_F(TitleScene, WithTheAidsTheVolumeKeysWorkOnTheTitleAndTheSelect)
{
    Settings& settings = Context().settings;
    const int before = settings.musicLevel;
    Open();
    Tap(VirtualKey::Minus);
    EXPECT_EQ(settings.musicLevel, before) << "without the aids";

    settings.assists = true;
    Open();
    Tap(VirtualKey::Minus);
    EXPECT_EQ(settings.musicLevel, before - 10);
    const std::vector<DrawRecord> frame = NextFrameDraws();
    EXPECT_TRUE(std::any_of(frame.begin(), frame.end(), [&](const DrawRecord& draw) {
        return draw.kind == DrawRecord::Kind::Text && draw.name == "music " + std::to_string(before - 10);
    })) << "the level shows";
    Build<Select>(SceneId::Select);
    RunFrames(90);
    Tap(VirtualKey::Equals);
    EXPECT_EQ(settings.musicLevel, before);
}

}  // namespace
