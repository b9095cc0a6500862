#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <filesystem>
#include <string>

#include "app/SceneManager.h"
#include "assets/AssetFiles.h"
#include "math/Quaternion.h"
#include "platform/VirtualKey.h"
#include "scenes/SceneFixture.h"
#include "scenes/Select.h"
#include "support/MatrixNear.h"

namespace {

constexpr float SpinAngle = 0.0034906585f;
constexpr float HalfPi = 1.5707963f;

class SelectScene : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        Scenes().stage.group = 2;
        for (int stage = 1; stage <= 6; ++stage)
            directory.Write("Resource/BData/STAGE2/Stage00" + std::to_string(stage) + ".txt", "");
    }
    Select& Open() { return Build<Select>(SceneId::Select); }
    // Past the fade-in, when keys count.
    Select& OpenAndWait()
    {
        Select& select = Open();
        RunFrames(85);
        EXPECT_EQ(select.Fade(), 0);
        return select;
    }
    int Stage() { return Scenes().stage.number; }
};

TEST_F(SelectScene, ReadsTheGroupsScoresAsWrittenAndReportsAMissingFile)
{
    WriteScore(2, 1, "score:3\nscore:12");
    WriteScore(2, 2, "score:-3");
    WriteScore(2, 3, "nothing to read");
    std::filesystem::remove(directory.Path() / "Resource/BData/STAGE2/Result5.txt");
    Scenes().stage.number = 4;
    Select& select = Open();
    EXPECT_EQ(select.Scores(), (std::array<int, 6>{12, -3, 0, 0, 0, 0})) << "the last line decides";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "ファイルがありません");
    EXPECT_EQ(messages[0].caption, "読み込みエラー");
    EXPECT_EQ(Stage(), 1) << "the select screen always starts on stage 1";
}

TEST_F(SelectScene, ThePanelShowsTheScoreInDigitsEachSteppedByTheOneBefore)
{
    WriteScore(2, 1, "score:12");
    Open();
    const auto frame = NextFrameDraws();
    const auto one = SpritesOf(frame, ImageFile::DarkDigit(1));
    const auto two = SpritesOf(frame, ImageFile::DarkDigit(2));
    ASSERT_EQ(one.size(), 1u) << "the stage number is a _W image, the score _W2";
    ASSERT_EQ(two.size(), 1u);
    ExpectAt(one[0], 110, 450, 1.5f);
    // The glyph for 1 is 22 wide; 0's rectangle and centre serve every digit.
    ExpectAt(two[0], 110 + 1.7f * 1 * 22, 450, 1.5f);
    EXPECT_EQ(two[0].centre[0], 10);
    EXPECT_EQ(two[0].source[2], 20);
    // "shots" after two digits of the _W set's 0 width (20).
    const auto shot = SpritesOf(frame, ImageFile::ShotsWord);
    ASSERT_EQ(shot.size(), 1u);
    ExpectAt(shot[0], 110 + 20 * 1.7f * 2, 450, 1.5f);
    EXPECT_EQ(shot[0].centre[0], 0);
    EXPECT_EQ(shot[0].centre[1], 20);
    EXPECT_TRUE(SpritesOf(frame, ImageFile::NotCleared).empty());
    ExpectAt(SpritesOf(frame, ImageFile::Digit(1)).at(0), 430, 125, 1.5f);
}

TEST_F(SelectScene, ANegativeScoreShowsNoDigitsAndNotClearedShowsItsLabel)
{
    WriteScore(2, 1, "score:-3");
    Open();
    auto frame = NextFrameDraws();
    ExpectAt(SpritesOf(frame, ImageFile::ShotsWord).at(0), 110, 450, 1.5f);
    EXPECT_TRUE(SpritesOf(frame, ImageFile::DarkDigit(3)).empty());

    WriteScore(2, 1, "score:0");
    Open();
    frame = NextFrameDraws();
    EXPECT_TRUE(SpritesOf(frame, ImageFile::ShotsWord).empty());
    ExpectAt(SpritesOf(frame, ImageFile::NotCleared).at(0), 30 + 30, 450);
}

TEST_F(SelectScene, KeysWaitForTheFadeInAndTheStagesGoRound)
{
    Open();
    Hold(VirtualKey::Left);
    RunFrames(84);
    Release(VirtualKey::Left);
    RunFrames(1);
    EXPECT_EQ(Stage(), 1) << "keys during the fade-in are ignored";
    Tap(VirtualKey::Left);
    EXPECT_EQ(Stage(), 6);
    Tap(VirtualKey::Right);
    EXPECT_EQ(Stage(), 1);
    EXPECT_EQ(SoundCalls("effect 1 play"), 2);
}

TEST_F(SelectScene, HeldRightTurnsOnceAndWinsOverLeft)
{
    OpenAndWait();
    Hold(VirtualKey::Right);
    RunFrames(5);
    Hold(VirtualKey::Left);
    RunFrames(5);
    Release(VirtualKey::Right);
    Release(VirtualKey::Left);
    RunFrames(1);
    EXPECT_EQ(Stage(), 2);
}

TEST_F(SelectScene, ATurnEndsOnItsThirtiethUpdateAndCutsItsSound)
{
    Select& select = OpenAndWait();
    Hold(VirtualKey::Right);
    RunFrames(1);
    Release(VirtualKey::Right);
    RunFrames(28);
    EXPECT_LT(select.TweenT(), 1.0f);
    EXPECT_EQ(SoundCalls("effect 1 stop"), 1) << "only the first turn's end at construction";
    RunFrames(1);
    EXPECT_EQ(select.TweenT(), 1.0f);
    EXPECT_EQ(SoundCalls("effect 1 stop"), 2);
}

TEST_F(SelectScene, EnterStopsTheMusicAndFadesOutToTheChosenStage)
{
    Select& select = OpenAndWait();
    Tap(VirtualKey::Right);
    Tap(VirtualKey::Right);
    Hold(VirtualKey::Return);
    RunFrames(1);
    ASSERT_TRUE(select.leaving);
    EXPECT_EQ(SoundCalls("music 0 stop"), 1);
    EXPECT_EQ(SoundCalls("effect 0 play"), 1);
    RunFrames(85);
    EXPECT_EQ(Scenes().CurrentId(), SceneId::Game);
    EXPECT_EQ(Stage(), 3);
}

// A block in cell (1, 0, 3) of each stage, placed on that stage's face: the
// first frame shows the cube unturned, so each block's world place is its
// position on the face.
TEST_F(SelectScene, EachStagesBlocksStandOnItsOwnFace)
{
    for (int stage = 1; stage <= 6; ++stage)
        directory.Write("Resource/BData/STAGE2/Stage00" + std::to_string(stage) + ".txt",
                        "x:1,y:0,z:3,sf:2,af:0,pf:0\n");
    Open();
    std::vector<Vector3> places;
    for (const DrawRecord& draw : NextFrameDraws()) {
        if (draw.kind == DrawRecord::Kind::Mesh && draw.name == ModelFile::BlackBlock)
            places.push_back(draw.matrix.TranslationRow());
    }
    // 50·gx − 225 = −175, 50·gz − 225 = −75; the height gy = 0 puts the face
    // at +275 on faces 1 to 3 and at −275 on faces 4 to 6.
    const std::vector<Vector3> expected = {{-175, 275, -75}, {-175, -75, 275},  {275, -175, -75},
                                           {-175, -75, -275}, {-275, -175, -75}, {-175, -275, -75}};
    ASSERT_EQ(places.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(places[i].x, expected[i].x, 1e-3f) << "stage " << i + 1;
        EXPECT_NEAR(places[i].y, expected[i].y, 1e-3f) << "stage " << i + 1;
        EXPECT_NEAR(places[i].z, expected[i].z, 1e-3f) << "stage " << i + 1;
    }
}

// Each turn brings the chosen stage's face up; once it has ended, every
// update turns the cube 0.2° about that face's own axis: the spin is applied
// first, in the cube's own frame.
TEST_F(SelectScene, OnceATurnHasEndedTheCubeSpinsAboutTheChosenFacesOwnAxis)
{
    Select& select = OpenAndWait();
    const Matrix spins[6] = {Matrix::RotationY(SpinAngle),  Matrix::RotationZ(SpinAngle),
                             Matrix::RotationX(SpinAngle),  Matrix::RotationZ(-SpinAngle),
                             Matrix::RotationX(-SpinAngle), Matrix::RotationY(-SpinAngle)};
    for (int stage = 1; stage <= 6; ++stage) {
        if (stage > 1) {
            Tap(VirtualKey::Right);
            RunFrames(30);
        }
        ASSERT_EQ(Stage(), stage);
        ASSERT_EQ(select.TweenT(), 1.0f);
        const Matrix before = select.CubeWorld();
        RunFrames(1);
        EXPECT_TRUE(MatrixNear(select.CubeWorld(), spins[stage - 1] * before, 1e-6f)) << "stage " << stage;
    }
}

// Halfway through a turn (15 updates of 1/30) the cube is as far turned from
// where it stood as from the face's pose; after the turn the chosen face (+z
// for stage 2) looks up, short of the pose by the last thirtieth of the turn.
TEST_F(SelectScene, HalfwayThroughATurnTheCubeIsBetweenItsTwoPosesAndAfterItTheFaceLooksUp)
{
    Select& select = OpenAndWait();
    const Matrix start = select.CubeWorld();
    const Matrix facing = Matrix::RotationYawPitchRoll(0, -HalfPi, 0);
    Tap(VirtualKey::Right);
    RunFrames(13);
    ASSERT_NEAR(select.TweenT(), 0.5f, 1e-6f);
    const Quaternion q = QuaternionFromMatrix(select.CubeWorld());
    EXPECT_NEAR(std::abs(glm::dot(q, QuaternionFromMatrix(start))),
                std::abs(glm::dot(q, QuaternionFromMatrix(facing))), 1e-5f);
    EXPECT_LT(std::abs(glm::dot(q, QuaternionFromMatrix(facing))), 0.99f);

    RunFrames(15);
    // The whole turn is a little over 90°: a thirtieth of it is about 3°, and
    // the spin about the face's own axis leaves the face where it is.
    EXPECT_GT(TransformNormal({0, 0, 1}, select.CubeWorld()).y, 0.998f);
}

// After n updates the arrows' phase is n mod 61; at 30 they stand farthest out.
TEST_F(SelectScene, TheArrowsBobOutwardTogether)
{
    Open();
    RunFrames(29);
    const auto frame = NextFrameDraws();
    ExpectAt(SpritesOf(frame, ImageFile::ArrowRight).at(0), 1230 + 25, 360);
    ExpectAt(SpritesOf(frame, ImageFile::ArrowLeft).at(0), 525 - 25, 360);
}

// With the aids the panel says how far the player has come in the group:
// stages cleared, and those cleared in their par.
TEST_F(SelectScene, WithTheAidsThePanelCountsTheStagesClearedAndThoseAtPar)
{
    Context().settings.assists = true;
    Context().settings.waitForSearches = true;
    // One black closed by a white: par 1 for stages 1 to 3.
    for (int stage = 1; stage <= 3; ++stage)
        directory.Write("Resource/BData/STAGE2/Stage00" + std::to_string(stage) + ".txt",
                        "x:2,y:0,z:0,sf:2,af:0,pf:0\nx:3,y:0,z:0,sf:1,af:0,pf:0\n");
    WriteScore(2, 1, "score:1");
    WriteScore(2, 2, "score:4");
    WriteScore(2, 3, "score:0");
    Select& select = OpenAndWait();
    EXPECT_EQ(select.GroupProgress().cleared, 2);
    EXPECT_EQ(select.GroupProgress().atPar, 1);
    const std::vector<DrawRecord> frame = NextFrameDraws();
    EXPECT_TRUE(std::any_of(frame.begin(), frame.end(), [](const DrawRecord& draw) {
        return draw.kind == DrawRecord::Kind::Text && draw.name == "2 of 6 cleared, 1 at par";
    }));
}

}  // namespace
