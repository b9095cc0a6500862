#include <gtest/gtest.h>

#include "app/SceneManager.h"
#include "assets/AssetFiles.h"
#include "game/BlockBurst.h"
#include "scenes/Game.h"
#include "game/GameFixture.h"
#include "game/GamePrinters.h"
#include "game/Player.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/VirtualKey.h"
#include "rules/BlockKind.h"
#include "sound/SoundPlayer.h"
#include "support/TestWav.h"

namespace {

using namespace BlockKind;

class GameFlow : public GameFixture {
protected:
    // Twelve white blocks: the stage is cleared on its first frame.
    void WriteClearedStage()
    {
        std::vector<TestBlock> blocks;
        for (int i = 0; i < 12; ++i)
            blocks.push_back({2 + i % 6, 0, 2 + i / 6, White});
        WriteStage(blocks);
    }
    // A black block with white blocks on all four sides can never turn.
    void WriteLostStage()
    {
        WriteStage({{5, 0, 5, Black}, {4, 0, 5, White}, {6, 0, 5, White}, {5, 0, 4, White}, {5, 0, 6, White}});
    }
    void WriteSound(const std::string& file, int frames)
    {
        const std::vector<std::uint8_t> bytes = WavBytes(2, AudioDevice::SampleRate, SquareWave(frames, 1000));
        directory.Write(file, std::string(bytes.begin(), bytes.end()));
    }
};

TEST_F(GameFlow, AClearedTwelveBlockStageBurnsOneBlockEveryTenFramesThenOpensTheMenu)
{
    WriteClearedStage();
    Game& game = Start();
    RunFrames(1);
    ASSERT_TRUE(game.Cleared());
    EXPECT_EQ(ResultText(), "score:0") << "an empty clear is no best score";

    RunFrames(49);
    EXPECT_EQ(game.ClearFrame(), 50);
    EXPECT_EQ(SoundCalls("effect 14 play"), 3);
    EXPECT_EQ(SoundCalls("effect 15 play"), 1);
    EXPECT_EQ(SoundCalls("effect 16 play"), 1);
    EXPECT_EQ(SoundCalls("music 0 volume -750"), 1);

    RunFrames(10);
    EXPECT_EQ(game.BurnTimer(), 10);
    EXPECT_TRUE(game.Blocks()[0]->bursting);
    EXPECT_FALSE(game.Blocks()[1]->bursting);
    RunFrames(110);
    EXPECT_TRUE(game.Blocks()[11]->bursting);
    RunFrames(89);
    EXPECT_EQ(game.BurnTimer(), 209);
    EXPECT_FALSE(game.MenuOpen());
    RunFrames(1);
    EXPECT_EQ(game.BurnTimer(), 210);
    EXPECT_TRUE(game.MenuOpen());
    EXPECT_EQ(SoundCalls("effect 17 play"), 12) << "each block's burst sound, once";

    // M does not close the menu of a cleared stage.
    Tap(VirtualKey::M);
    EXPECT_TRUE(game.MenuOpen());
}

TEST_F(GameFlow, TheBurningWaitsForTheClearJingleEvenWhileItsPositionStillReadsZero)
{
    WriteClearedStage();
    WriteSound(SoundFile::ClearJingle, AudioDevice::SampleRate);
    Game& game = Start();
    RunFrames(60);
    // The loopback device only mixes when told: the jingle has started but not moved.
    EXPECT_EQ(game.Sounds().GetEffectPosition(16), 0u);
    EXPECT_EQ(game.BurnTimer(), 0);
    App().Audio().Advance(std::chrono::seconds(2));
    RunFrames(1);
    EXPECT_EQ(game.BurnTimer(), 1);
}

TEST_F(GameFlow, ALostStageSlowsTheMusicToHalfThenOpensTheMenuAt260)
{
    WriteLostStage();
    WriteSound(SoundFile::GameMusic, AudioDevice::SampleRate);
    Game& game = Start();
    ASSERT_TRUE(game.GameOver()) << "decided when the stage loads";

    RunFrames(120);
    EXPECT_EQ(game.GameOverFrame(), 120);
    EXPECT_EQ(SoundCalls("music 0 frequency 22050"), 1);
    EXPECT_EQ(SoundCalls("music 0 volume -33"), 1);
    EXPECT_EQ(SoundCalls("music 0 volume -2000"), 1);
    EXPECT_EQ(SoundCalls("music 0 stop"), 1);

    record.Clear();
    RunFrames(50);
    EXPECT_EQ(SoundCalls("effect 13 play"), 1);
    EXPECT_EQ(SoundCalls("music 0 volume -300"), 1);
    EXPECT_EQ(SoundCalls("music 0 play"), 1) << "again, still at half speed";
    RunFrames(89);
    EXPECT_FALSE(game.MenuOpen());
    RunFrames(1);
    EXPECT_TRUE(game.MenuOpen());
    EXPECT_EQ(game.GameOverFrame(), 260);

    Hold(VirtualKey::Return);
    RunFrames(1);
    Release(VirtualKey::Return);
    EXPECT_TRUE(game.leaving);
    Leave();
    EXPECT_EQ(Scenes().CurrentId(), SceneId::Game) << "the first item is the next stage";
    EXPECT_EQ(Scenes().stage.number, 2);
}

TEST_F(GameFlow, MClosesTheMenuDuringTheGameOverSequenceAndTheSequenceGoesOn)
{
    WriteLostStage();
    Game& game = Start();
    RunFrames(50);
    Tap(VirtualKey::M);
    EXPECT_TRUE(game.MenuOpen());
    Tap(VirtualKey::M);
    EXPECT_FALSE(game.MenuOpen());
    EXPECT_EQ(game.GameOverFrame(), 54);
}

TEST_F(GameFlow, TheMenuCursorWrapsAroundBothWays)
{
    WriteStage({{5, 0, 5, Black}, {6, 0, 5, White}});
    Game& game = Start();
    Tap(VirtualKey::M);
    ASSERT_TRUE(game.MenuOpen());
    EXPECT_EQ(game.MenuCursor(), 0);
    Tap(VirtualKey::Up);
    EXPECT_EQ(game.MenuCursor(), 3);
    Tap(VirtualKey::Down);
    EXPECT_EQ(game.MenuCursor(), 0);
    Tap(VirtualKey::Down);
    Tap(VirtualKey::Down);
    EXPECT_EQ(game.MenuCursor(), 2);
    EXPECT_EQ(SoundCalls("effect 4 play"), 4);
    // Held, the key acts once.
    Hold(VirtualKey::Down);
    RunFrames(5);
    Release(VirtualKey::Down);
    RunFrames(1);
    EXPECT_EQ(game.MenuCursor(), 3);
    Tap(VirtualKey::M);
    EXPECT_FALSE(game.MenuOpen());
    Tap(VirtualKey::M);
    EXPECT_EQ(game.MenuCursor(), 0) << "opening the menu puts the cursor on the first item";
}

// The menu row, the scene it leads to, and the stage number then (the stage
// select always starts on stage 1).
struct MenuChoice {
    int downs;
    SceneId scene;
    int stageAfter;
};

class GameMenuChoice : public GameFlow, public ::testing::WithParamInterface<MenuChoice> {};

TEST_P(GameMenuChoice, EnterFadesOutAndBuildsTheChosenScene)
{
    const MenuChoice choice = GetParam();
    WriteStage({{5, 0, 5, Black}, {6, 0, 5, White}}, 6);
    WriteStage({{5, 0, 5, Black}, {6, 0, 5, White}}, 1);
    Scenes().stage.number = 6;
    Game& game = Start();
    Tap(VirtualKey::M);
    for (int i = 0; i < choice.downs; ++i)
        Tap(VirtualKey::Down);
    Hold(VirtualKey::Return);
    RunFrames(1);
    Release(VirtualKey::Return);
    ASSERT_TRUE(game.leaving);
    EXPECT_EQ(SoundCalls("effect 5 play"), 1);
    Leave();
    const SceneManager& scenes = Scenes();
    EXPECT_EQ(scenes.CurrentId(), choice.scene);
    EXPECT_EQ(scenes.stage.number, choice.stageAfter);
    EXPECT_EQ(SoundCalls("music 0 stop"), 1);
}

INSTANTIATE_TEST_SUITE_P(FourItems, GameMenuChoice,
                         ::testing::Values(MenuChoice{0, SceneId::Game, 1}, MenuChoice{1, SceneId::Select, 1},
                                           MenuChoice{2, SceneId::Title, 6}, MenuChoice{3, SceneId::Game, 6}));

TEST_F(GameFlow, MFreezesAShotInFlightAndRetryStartsAFreshStage)
{
    WriteStage({{5, 0, 5, Black}, {6, 0, 5, White}});
    Game& game = Start();
    FireToward(VirtualKey::Right);
    ASSERT_TRUE(game.Flight().inFlight);
    Tap(VirtualKey::M);
    ASSERT_TRUE(game.MenuOpen());
    const float x = game.Blocks().back()->transform.position.x;
    RunFrames(10);
    EXPECT_EQ(game.Blocks().back()->transform.position.x, x);

    Tap(VirtualKey::Up);
    Hold(VirtualKey::Return);
    RunFrames(1);
    Release(VirtualKey::Return);
    Leave();
    Game& retry = Current();
    EXPECT_EQ(retry.GetPlayer().score, 0);
    EXPECT_EQ(retry.Blocks().size(), 2u);
    EXPECT_FALSE(retry.Flight().inFlight);
    Hold(VirtualKey::Space);
    RunFrames(1);
    EXPECT_EQ(retry.GetPlayer().state, PlayerState::Charging);
}

}  // namespace
