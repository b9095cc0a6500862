#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/SceneManager.h"
#include "platform/VirtualKey.h"
#include "scenes/SceneFixture.h"
#include "scenes/Select.h"

namespace {

class SelectScene : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        SceneManager::Instance().stageGroup = 2;
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
    int Stage() const { return SceneManager::Instance().stageNumber; }
};

TEST_F(SelectScene, ReadsTheGroupsScoresAsWrittenAndReportsAMissingFile)
{
    WriteScore(2, 1, "score:3\nscore:12");
    WriteScore(2, 2, "score:-3");
    WriteScore(2, 3, "nothing to read");
    std::filesystem::remove(directory.Path() / "Resource/BData/STAGE2/Result5.txt");
    SceneManager::Instance().stageNumber = 4;
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
    const auto one = SpritesOf(frame, "Resource/Texture/Number_Symbol/1_W2.png");
    const auto two = SpritesOf(frame, "Resource/Texture/Number_Symbol/2_W2.png");
    ASSERT_EQ(one.size(), 1u) << "the stage number is a _W image, the score _W2";
    ASSERT_EQ(two.size(), 1u);
    ExpectAt(one[0], 110, 450, 1.5f);
    // The glyph for 1 is 22 wide; 0's rectangle and centre serve every digit.
    ExpectAt(two[0], 110 + 1.7f * 1 * 22, 450, 1.5f);
    EXPECT_EQ(two[0].centre[0], 10);
    EXPECT_EQ(two[0].source[2], 20);
    // "shots" after two digits of the _W set's 0 width (20).
    const auto shot = SpritesOf(frame, "Resource/Texture/Shot.png");
    ASSERT_EQ(shot.size(), 1u);
    ExpectAt(shot[0], 110 + 20 * 1.7f * 2, 450, 1.5f);
    EXPECT_EQ(shot[0].centre[0], 0);
    EXPECT_EQ(shot[0].centre[1], 20);
    EXPECT_TRUE(SpritesOf(frame, "Resource/Texture/NotCleared.png").empty());
    ExpectAt(SpritesOf(frame, "Resource/Texture/Number_Symbol/1_W.png").at(0), 430, 125, 1.5f);
}

TEST_F(SelectScene, ANegativeScoreShowsNoDigitsAndNotClearedShowsItsLabel)
{
    WriteScore(2, 1, "score:-3");
    Open();
    auto frame = NextFrameDraws();
    ExpectAt(SpritesOf(frame, "Resource/Texture/Shot.png").at(0), 110, 450, 1.5f);
    EXPECT_TRUE(SpritesOf(frame, "Resource/Texture/Number_Symbol/3_W2.png").empty());

    WriteScore(2, 1, "score:0");
    Open();
    frame = NextFrameDraws();
    EXPECT_TRUE(SpritesOf(frame, "Resource/Texture/Shot.png").empty());
    ExpectAt(SpritesOf(frame, "Resource/Texture/NotCleared.png").at(0), 30 + 30, 450);
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
    EXPECT_EQ(SceneManager::Instance().CurrentId(), SceneId::Game);
    EXPECT_EQ(Stage(), 3);
}

}  // namespace
