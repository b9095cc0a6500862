#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "game/CellShard.h"
#include "game/FlameBlock.h"
#include "game/FlipBatch.h"
#include "scenes/Game.h"
#include "game/GameFixture.h"
#include "game/GamePrinters.h"
#include "game/Player.h"
#include "platform/VirtualKey.h"
#include "rules/BlockKind.h"
#include "stage/ResultFile.h"

namespace {

using namespace BlockKind;

// A black block next to a white one, far from the player: the stage always
// has a useful target, so it is never lost by accident.
const TestBlock FarBlack{5, 0, 5, Black};
const TestBlock FarWhite{6, 0, 5, White};

class GameRules : public GameFixture {};

TEST_F(GameRules, ATwoBlockRunTurnsOverNearestFirstAndClearsTheStage)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, Black}, {4, 0, 0, White}});
    Game& game = Start();
    const std::shared_ptr<Block> near = BlockAt(2, 0, 0);
    const std::shared_ptr<Block> far = BlockAt(3, 0, 0);

    FireToward(VirtualKey::Right);
    ASSERT_EQ(game.GetPlayer().score, 1);
    ASSERT_EQ(game.Blocks().size(), 4u) << "the shot rests at (1, 0, 0)";
    EXPECT_EQ(game.Blocks().back()->mapCell, (MapPosition{1, 0, 0}));
    const FlipBatch& flips = game.Flips();
    ASSERT_EQ(flips.entries.size(), 2u);
    EXPECT_EQ(flips.entries[0].block.lock(), near) << "the farthest is queued first, so the nearest stands in front";
    EXPECT_EQ(flips.entries[1].block.lock(), far);
    EXPECT_EQ(flips.entries[0].height, 1);
    EXPECT_EQ(flips.entries[1].height, 2);
    EXPECT_EQ(SoundCalls("effect 2 play"), 1);
    EXPECT_EQ(SoundCalls("music 0 volume -500"), 1);

    // 16 frames on, the front block has risen one cell and the second, 5
    // frames behind, is on its way to two.
    RunFrames(16);
    EXPECT_FLOAT_EQ(near->transform.position.y, 25.0f + 50.0f * (1.0f - 1.0f / 1024.0f));
    EXPECT_FLOAT_EQ(far->transform.position.y, 25.0f + 100.0f * (1.0f - 1.0f / 64.0f));
    EXPECT_EQ(near->state, BlockState::Flipping);

    // The batch ends on its 78th frame (the second entry waits one frame when
    // the first is taken out); the last flip clears the stage.
    RunFrames(60);
    EXPECT_FALSE(game.Cleared());
    RunFrames(1);
    EXPECT_TRUE(game.Cleared());
    EXPECT_EQ(near->kind, White);
    EXPECT_EQ(far->kind, White);
    EXPECT_FLOAT_EQ(far->transform.position.y, 25.0f);
    EXPECT_EQ(SoundCalls("effect 8 play"), 1);
    EXPECT_EQ(SoundCalls("effect 9 play"), 1);
    EXPECT_EQ(ResultText(), "score:1");

    // Written once: a later best score in the file is not touched again.
    directory.Write("Resource/BData/STAGE1/Result1.txt", "score:9");
    RunFrames(30);
    EXPECT_EQ(ResultText(), "score:9");
    EXPECT_TRUE(messages.empty());
}

TEST_F(GameRules, AClearWithoutAResultFileSaysSoAndKeepsTheScoreInANewOne)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    std::filesystem::remove(directory.Path() / ResultFile::Path(1, 1));
    Game& game = Start();
    FireToward(VirtualKey::Right);
    RunFrames(80);
    ASSERT_TRUE(game.Cleared());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "ファイルがありません");
    EXPECT_EQ(ResultText(), "score:1");
}

TEST_F(GameRules, SixFlipsRotateTheFiveEndSoundsAndHardBlackBecomesBlack)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, Black}, {4, 0, 0, HardBlack}, {5, 0, 0, Black}, {6, 0, 0, Black},
                {7, 0, 0, Black}, {8, 0, 0, White}, FarBlack, FarWhite});
    Game& game = Start();
    FireToward(VirtualKey::Right);
    RunFrames(5 * 6 + 71);
    ASSERT_TRUE(game.Flips().IsEmpty());

    const std::set<std::string> endSounds = {"effect 8 play", "effect 9 play", "effect 10 play", "effect 11 play",
                                             "effect 12 play"};
    std::vector<std::string> ends;
    std::string lastVolume;
    for (const std::string& call : record.sounds) {
        if (endSounds.contains(call))
            ends.push_back(call);
        if (call.starts_with("music 0 volume"))
            lastVolume = call;
    }
    const std::vector<std::string> expected = {"effect 8 play",  "effect 9 play",  "effect 10 play",
                                               "effect 11 play", "effect 12 play", "effect 8 play"};
    EXPECT_EQ(ends, expected);
    EXPECT_EQ(BlockAt(4, 0, 0)->kind, Black);
    EXPECT_EQ(BlockAt(3, 0, 0)->kind, White);
    EXPECT_EQ(lastVolume, "music 0 volume 0") << "back to full volume after the batch";
}

TEST_F(GameRules, HardBlackNeedsTwoLandings)
{
    WriteStage({{2, 0, 2, HardBlack}, {3, 0, 2, White}, {2, 0, 3, White}});
    Game& game = Start();
    WalkOne(VirtualKey::Up);
    WalkOne(VirtualKey::Up);
    FireToward(VirtualKey::Right);
    RunFrames(80);
    const std::shared_ptr<Block> armoured = BlockAt(2, 0, 2);
    ASSERT_NE(armoured, nullptr);
    EXPECT_EQ(armoured->kind, Black);
    EXPECT_FALSE(game.Cleared());

    WalkOne(VirtualKey::Down);
    WalkOne(VirtualKey::Down);
    WalkOne(VirtualKey::Right);
    WalkOne(VirtualKey::Right);
    ASSERT_EQ(game.GetPlayer().transform.position, (Vector3{125.0f, 25.0f, 25.0f}));
    FireToward(VirtualKey::Up);
    RunFrames(80);
    EXPECT_EQ(armoured->kind, White);
    EXPECT_TRUE(game.Cleared());
    EXPECT_EQ(ResultText(), "score:2");
}

TEST_F(GameRules, AShotIntoTheFieldEdgeDissolvesIntoShardsAndStillCounts)
{
    WriteStage({FarBlack, FarWhite});
    Game& game = Start();
    FireToward(VirtualKey::Right);
    ASSERT_EQ(game.Blocks().size(), 3u);
    EXPECT_TRUE(Current().Flight().inFlight);

    // 5 units a frame from x = 75 to 475; the next step would leave the field.
    RunFrames(79);
    EXPECT_EQ(game.Blocks().back()->transform.position.x, 475.0f);
    EXPECT_TRUE(Current().Flight().inFlight);
    RunFrames(1);
    EXPECT_FALSE(Current().Flight().inFlight);
    EXPECT_EQ(game.Blocks().size(), 2u) << "the shot is gone";
    EXPECT_EQ(game.GetPlayer().score, 1);
    for (const CellShard& shard : game.Shards())
        ASSERT_TRUE(shard.visible);
    // Face 0, row 0, column 0: the -x, -y corner of the +z side, one shard up.
    EXPECT_EQ(game.Shards()[0].position, (Vector3{450.0f, 10.0f, 50.0f}) + game.Shards()[0].velocity);
    EXPECT_EQ(game.Shards()[50].rotation, (Vector3{0.0f, 0.0f, 90.0f}) + game.Shards()[50].spin);
    EXPECT_FALSE(game.GameOver());

    // No charging while shards fly.
    Hold(VirtualKey::Space);
    RunFrames(2);
    EXPECT_EQ(game.GetPlayer().state, PlayerState::Idle);
    Release(VirtualKey::Space);
    RunFrames(30);
    Hold(VirtualKey::Space);
    RunFrames(1);
    EXPECT_EQ(game.GetPlayer().state, PlayerState::Charging);
    EXPECT_TRUE(game.Flame().visible);
}

TEST_F(GameRules, HoldingUpWalksCellAfterCellUntilABlockStopsIt)
{
    WriteStage({{0, 0, 3, White}, FarBlack, FarWhite});
    Game& game = Start();
    const Vector3& at = game.GetPlayer().transform.position;
    Hold(VirtualKey::Up);
    RunFrames(1);
    EXPECT_EQ(at.z, 35.0f);
    RunFrames(9);
    EXPECT_EQ(at.z, 80.0f) << "ten moving frames, 55 units";
    RunFrames(1);
    EXPECT_EQ(at.z, 75.0f) << "the eleventh frame snaps to the centre";
    // The held arrow restarts a 10-frame turn on the walk's last frame, so the
    // next walk starts 20 frames after the one before.
    RunFrames(9);
    EXPECT_EQ(at.z, 75.0f);
    RunFrames(1);
    EXPECT_EQ(at.z, 85.0f);
    EXPECT_EQ(SoundCalls("effect 0 play"), 2);

    // The block two cells ahead stops the second walk short: it still ends on
    // the centre of the cell the player stands in.
    RunFrames(30);
    EXPECT_EQ(at.z, 125.0f);
    EXPECT_EQ(game.GetPlayer().state, PlayerState::Idle);
    Release(VirtualKey::Up);
}

TEST_F(GameRules, AWalkStoppedShortByABlockTwoCellsAwayEndsOnACentre)
{
    WriteStage({{0, 0, 3, White}, {1, 0, 3, White}, FarBlack, FarWhite});
    Game& game = Start();
    const Player& player = game.GetPlayer();
    WalkOne(VirtualKey::Up);
    WalkOne(VirtualKey::Up);
    ASSERT_EQ(player.transform.position, (Vector3{25.0f, 25.0f, 125.0f}));

    // The wall stands right ahead: no shot appears behind it.
    Hold(VirtualKey::Space);
    RunFrames(2);
    EXPECT_FALSE(game.Flame().visible);
    Release(VirtualKey::Space);
    RunFrames(2);
    EXPECT_EQ(player.score, 0);
    EXPECT_EQ(game.Blocks().size(), 4u);

    // A sideways walk tests this row, not the wall's.
    WalkOne(VirtualKey::Right);
    EXPECT_EQ(player.transform.position, (Vector3{75.0f, 25.0f, 125.0f}));
}

TEST_F(GameRules, TurningWhileChargingRedirectsTheShot)
{
    WriteStage({FarBlack, FarWhite});
    Game& game = Start();
    ASSERT_EQ(game.GetPlayer().facing, 1);
    Hold(VirtualKey::Space);
    RunFrames(1);
    EXPECT_EQ(game.GetPlayer().state, PlayerState::Charging);
    EXPECT_FALSE(game.Flame().visible) << "facing -z from cell 0 there is no launch cell";
    Hold(VirtualKey::Left);
    RunFrames(1);
    Release(VirtualKey::Left);
    Hold(VirtualKey::Up);
    RunFrames(12);
    Release(VirtualKey::Up);
    EXPECT_EQ(game.GetPlayer().transform.position, (Vector3{25.0f, 25.0f, 25.0f})) << "charging turns, never walks";
    EXPECT_EQ(game.GetPlayer().facing, 0);
    EXPECT_EQ(game.Flame().transform.position, (Vector3{25.0f, 25.0f, 75.0f}));
    Release(VirtualKey::Space);
    RunFrames(1);
    ASSERT_TRUE(Current().Flight().inFlight);
    EXPECT_EQ(Current().Flight().direction, 0);
    EXPECT_EQ(game.Blocks().back()->transform.position, (Vector3{25.0f, 25.0f, 80.0f}));
    EXPECT_EQ(SoundCalls("effect 6 loop"), 1);
    EXPECT_EQ(SoundCalls("effect 7 play"), 1);
}

TEST_F(GameRules, AWalledInPlayerLosesAtTheEndOfTheTurningOver)
{
    WriteStage({{0, 0, 1, White}, {2, 0, 0, Black}, {3, 0, 0, White}, FarBlack, FarWhite});
    Game& game = Start();
    FireToward(VirtualKey::Right);
    ASSERT_FALSE(game.Flips().IsEmpty());
    RunFrames(70);
    EXPECT_FALSE(game.GameOver()) << "the player is walled in, but blocks still turn over";
    RunFrames(1);
    EXPECT_TRUE(game.GameOver());
    EXPECT_FALSE(game.Cleared());
}

// Nothing left to turn: the only white beside the black is diagonal to it, so
// no landing closes a run. The stage is lost on its first frame, and a
// turning over that leaves such a board loses it too.
TEST_F(GameRules, ABoardWhereNoLandingClosesARunIsLostAtTheStartAndAfterATurningOver)
{
    WriteStage({{5, 0, 5, Black}, {4, 0, 4, White}});
    Game& atStart = Start();
    RunFrames(1);
    EXPECT_TRUE(atStart.GameOver());
    EXPECT_EQ(atStart.Loss(), LossReason::NoUsefulShot);

    WriteStage({{5, 0, 5, Black}, {6, 0, 5, White}});
    Game& inLine = Start();
    RunFrames(1);
    EXPECT_FALSE(inLine.GameOver()) << "a white in line closes the run";

    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}, {5, 0, 5, Black}, {4, 0, 4, White}});
    Game& afterShot = Start();
    RunFrames(1);
    ASSERT_FALSE(afterShot.GameOver());
    FireToward(VirtualKey::Right);
    RunFrames(80);
    ASSERT_EQ(BlockAt(2, 0, 0)->kind, White);
    EXPECT_TRUE(afterShot.GameOver());
    EXPECT_EQ(afterShot.Loss(), LossReason::NoUsefulShot);
    EXPECT_FALSE(afterShot.Cleared());
}

}  // namespace
