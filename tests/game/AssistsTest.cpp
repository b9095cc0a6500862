#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "JsonWriter.h"
#include "SceneTrace.h"
#include "app/SceneManager.h"
#include "app/Settings.h"
#include "assets/AssetFiles.h"
#include "game/Assists.h"
#include "game/FlipBatch.h"
#include "scenes/Game.h"
#include "game/GameFixture.h"
#include "game/GameKeys.h"
#include "game/Player.h"
#include "platform/Application.h"
#include "platform/VirtualKey.h"
#include "rules/BlockKind.h"
#include "rules/BoardPosition.h"
#include "rules/Field.h"
#include "solver/PlayField.h"
#include "solver/StageSolver.h"

namespace {

using namespace BlockKind;

// Three lines to turn, one of them armoured, so a solution has flips of two
// lengths and shots from several cells; the second row stays free for a
// shot that dissolves at the field's edge.
const std::vector<TestBlock> Board{{2, 0, 0, Black},     {3, 0, 0, White}, {0, 0, 3, Black}, {0, 0, 4, White},
                                   {4, 0, 4, HardBlack}, {4, 0, 5, White}, {5, 0, 4, White}};

// A trace but for what redo holds: a shot taken back can be replayed until
// another is fired.
std::string WithoutRedo(std::string trace)
{
    const std::regex redoDepth("\"redoDepth\":[0-9]+,");
    return std::regex_replace(trace, redoDepth, "");
}

// Frame by frame, the first that differs.
void ExpectSameFrames(const std::vector<std::string>& played, const std::vector<std::string>& again)
{
    ASSERT_EQ(played.size(), again.size());
    for (std::size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(WithoutRedo(played[i]), WithoutRedo(again[i])) << "frame " << i;
}

class Assisted : public GameFixture {
protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        Context().settings.assists = true;
        // As the harness does: a search's answer never depends on the machine's speed.
        Context().settings.waitForSearches = true;
    }

    Game& StartStage(const std::vector<TestBlock>& blocks)
    {
        WriteStage(blocks);
        Game& game = Start();
        RunFrames(90);
        return game;
    }

    // The game's trace, as the harness writes it.
    std::string Trace()
    {
        JsonWriter json;
        json.BeginObject();
        WriteSceneTrace(Current(), Scenes(), json);
        json.EndObject();
        return json.Text();
    }

    void Step(int frames, std::vector<std::string>* traces)
    {
        for (int i = 0; i < frames; ++i) {
            RunFrames(1);
            if (traces)
                traces->push_back(Trace());
        }
    }

    bool AtRest()
    {
        const Game& game = Current();
        return !game.Flight().inFlight && game.Flips().IsEmpty() && game.GetPlayer().state == PlayerState::Idle;
    }

    // A shot as a player plays it: the walk a cell at a time (and a wait for
    // a dissolved shot's shards, which hold a charge up), then the turn while
    // charging, the release, and the frames until everything is at rest.
    void Walk(const SolutionShot& shot)
    {
        for (const int step : shot.walk) {
            Hold(ArrowKeyOf(step));
            RunFrames(1);
            Release(ArrowKeyOf(step));
            RunFrames(11);
        }
        while (Current().ShardsFlying())
            RunFrames(1);
    }
    std::vector<std::string> Fire(const SolutionShot& shot)
    {
        std::vector<std::string> traces;
        Hold(VirtualKey::Space);
        Step(1, &traces);
        Hold(ArrowKeyOf(shot.direction));
        Step(1, &traces);
        Release(ArrowKeyOf(shot.direction));
        Step(10, &traces);
        Release(VirtualKey::Space);
        Step(2, &traces);
        for (int i = 0; i < 400 && !AtRest(); ++i)
            Step(1, &traces);
        return traces;
    }
    void Play(const SolutionShot& shot)
    {
        Walk(shot);
        Fire(shot);
    }

    void Press(int key)
    {
        Hold(key);
        RunFrames(1);
        Release(key);
    }
};

TEST_F(Assisted, UndoTakesEachShotBackToTheFrameBeforeItsChargeAndFiringItAgainGivesTheSameFrames)
{
    Game& game = StartStage(Board);
    const int par = *game.Aids()->Par();
    // First a shot along the empty second row, which dissolves at the far edge:
    // it counts, and goes back too. Then a shortest way on from wherever the player is.
    const SolutionShot dissolving{{Direction::PlusZ}, {0, 0, 1}, Direction::PlusX, {9, 0, 1}, 0};
    int depth = 0;
    while (!game.Cleared() && depth <= par) {
        SCOPED_TRACE("shot " + std::to_string(depth + 1));
        const SolutionShot shot = depth == 0 ? dissolving : game.Aids()->Known()->shots.front();
        Walk(shot);
        const std::string before = Trace();
        const std::vector<std::string> first = Fire(shot);
        if (game.Cleared())
            break;
        EXPECT_EQ(game.Aids()->UndoDepth(), depth + 1);
        Press(depth == 1 ? VirtualKey::Back : VirtualKey::Z);
        EXPECT_EQ(WithoutRedo(Trace()), WithoutRedo(before));
        ExpectSameFrames(first, Fire(shot));
        ++depth;
    }
    EXPECT_TRUE(game.Cleared());
    EXPECT_EQ(game.GetPlayer().score, par + 1);
}

// Shot after shot at random, the board the Game comes to rest on is the
// rules' next position for that shot, and the Game ends the stage when, and
// as, they say.
TEST_F(Assisted, TheBoardTheGameRestsOnIsTheRulesNextPositionOverRandomPlay)
{
    std::mt19937 random(11);
    int shots = 0;
    for (int round = 0; round < 3; ++round) {
        Game& game = StartStage(Board);
        for (int played = 0; played < 6 && !game.Cleared() && !game.GameOver(); ++played) {
            const BoardPosition before = game.Position();
            const int start = PlayField::IndexOf(before.player);
            PlayField field(before.pieces);
            field.Start(start);
            std::vector<SolutionShot> fired;
            for (const int cell : field.Region(start)) {
                for (int direction = 0; direction < 4; ++direction) {
                    if (Shoot({before.pieces, PlayField::CellAt(cell), direction}).fired)
                        fired.push_back({field.Walk(start, cell), PlayField::CellAt(cell), direction, {}, 0});
                }
            }
            ASSERT_FALSE(fired.empty());
            const SolutionShot& shot = fired[std::uniform_int_distribution<std::size_t>(0, fired.size() - 1)(random)];
            Play(shot);
            const ShotOutcome expected = Shoot({before.pieces, shot.from, shot.direction, before.shots});
            ASSERT_EQ(game.Position().pieces, expected.next.pieces) << "shot " << shots;
            EXPECT_EQ(game.GetPlayer().score, expected.next.shots);
            EXPECT_EQ(game.Cleared(), expected.standing.cleared);
            EXPECT_EQ(game.Loss(), expected.standing.loss);
            ++shots;
        }
    }
    EXPECT_GE(shots, 12);
}

// Undo, redo (Y, or Shift+Z) and restart (R) walk one history of positions:
// a restart is a step back an undo takes back, and a new shot forgets what
// redo could have replayed.
TEST_F(Assisted, RedoReplaysWhatUndoTookBackAndRestartIsOneMoreStepOfTheHistory)
{
    Game& game = StartStage(Board);
    const BoardPosition start = game.Position();
    Play(game.Aids()->Known()->shots.front());
    const BoardPosition afterOne = game.Position();
    ASSERT_EQ(afterOne.shots, 1);

    Tap(VirtualKey::Z);
    EXPECT_EQ(game.Position(), start);
    EXPECT_EQ(game.Aids()->RedoDepth(), 1);
    Tap(VirtualKey::Y);
    EXPECT_EQ(game.Position(), afterOne);
    EXPECT_EQ(game.GetPlayer().score, 1);
    EXPECT_EQ(game.Aids()->RedoDepth(), 0);

    Tap(VirtualKey::Z);
    Hold(VirtualKey::Shift);
    Tap(VirtualKey::Z);
    Release(VirtualKey::Shift);
    EXPECT_EQ(game.Position(), afterOne) << "Shift+Z redoes";

    Tap(VirtualKey::R);
    EXPECT_EQ(game.Position(), start);
    EXPECT_EQ(game.GetPlayer().score, 0) << "the shots go back to the start";
    const int refusedBefore = SoundCalls("effect 18 play");
    Tap(VirtualKey::R);
    EXPECT_EQ(SoundCalls("effect 18 play"), refusedBefore + 1) << "nothing to restart at the start";
    Tap(VirtualKey::Z);
    EXPECT_EQ(game.Position(), afterOne) << "undo takes the restart back";

    Tap(VirtualKey::Z);
    ASSERT_EQ(game.Aids()->RedoDepth(), 2) << "the restart, then the first shot";
    Play(game.Aids()->Known()->shots.front());
    EXPECT_EQ(game.Aids()->RedoDepth(), 0) << "a new shot forgets the undone one";
    Tap(VirtualKey::Y);
    EXPECT_EQ(SoundCalls("effect 18 play"), refusedBefore + 2) << "nothing to redo";
}

// Presses made while the player is busy are kept, the latest alone, and played
// once it is free: two taps during one walk, a turn asked for during a turn
// while charging, a menu key while a clear plays out.
TEST_F(Assisted, AKeyPressedWhileThePlayerIsBusyIsPlayedWhenItIsFree)
{
    Game& game = StartStage(Board);
    const Player& player = game.GetPlayer();
    Hold(VirtualKey::Up);
    RunFrames(3);
    Release(VirtualKey::Up);
    RunFrames(4);
    Hold(VirtualKey::Up);
    RunFrames(3);
    Release(VirtualKey::Up);
    EXPECT_EQ(player.PendingMove(), Direction::PlusZ);
    RunFrames(30);
    EXPECT_EQ(player.transform.position.z, Field::Centre(2)) << "two presses, two cells";
    EXPECT_FALSE(player.PendingMove());

    Hold(VirtualKey::Space);
    RunFrames(1);
    Press(VirtualKey::Right);
    RunFrames(2);
    Press(VirtualKey::Left);
    RunFrames(20);
    EXPECT_EQ(player.state, PlayerState::Charging);
    EXPECT_EQ(player.facing, Direction::MinusX) << "the second turn was kept";
    Release(VirtualKey::Space);
    RunFrames(2);

    Game& clearing = StartStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    Play(clearing.Aids()->Known()->shots.front());
    ASSERT_TRUE(clearing.Cleared());
    ASSERT_FALSE(clearing.MenuOpen());
    Press(VirtualKey::Down);
    EXPECT_EQ(clearing.EarlyMenuKey(), VirtualKey::Down);
    for (int frame = 0; frame < 1000 && !clearing.MenuOpen(); ++frame)
        RunFrames(1);
    RunFrames(1);
    EXPECT_EQ(clearing.MenuCursor(), 1) << "Down pressed during the clear moved the cursor";
}

// The charged shot says what it will do: where it lands, which blocks it
// turns and into what, or that it turns nothing.
TEST_F(Assisted, TheAimShowsTheBlocksTheChargedShotWillTurnOrThatItWillDissolve)
{
    Game& game = StartStage(Board);
    EXPECT_FALSE(game.Aim()) << "nothing charged";
    Hold(VirtualKey::Space);
    RunFrames(1);
    Press(VirtualKey::Up);
    RunFrames(10);
    std::optional<AimPreview> aim = game.Aim();
    ASSERT_TRUE(aim);
    EXPECT_EQ(aim->landing, (MapPosition{0, 0, 2}));
    EXPECT_EQ(aim->turned, (std::vector<TurnedPiece>{{2, {0, 0, 3}, White}}));

    Press(VirtualKey::Right);
    RunFrames(10);
    aim = game.Aim();
    ASSERT_TRUE(aim);
    EXPECT_EQ(aim->landing, (MapPosition{1, 0, 0}));
    EXPECT_EQ(aim->turned, (std::vector<TurnedPiece>{{0, {2, 0, 0}, White}}));
    Release(VirtualKey::Space);
    for (int i = 0; i < 200 && !AtRest(); ++i)
        RunFrames(1);

    WalkOne(VirtualKey::Up);
    Hold(VirtualKey::Space);
    RunFrames(1);
    Press(VirtualKey::Right);
    RunFrames(10);
    aim = game.Aim();
    ASSERT_TRUE(aim);
    EXPECT_EQ(aim->landing, (MapPosition{9, 0, 1}));
    EXPECT_TRUE(aim->turned.empty()) << "the empty row: the shot will dissolve";
    Release(VirtualKey::Space);
}

// Tab shows the board from straight above, the far rows up the screen as in
// the usual view; Tab again returns.
TEST_F(Assisted, TabShowsThePlanFromStraightAboveAndTabAgainReturns)
{
    Game& game = StartStage(Board);
    const auto seen = [this](const Vector3& point) {
        return TransformCoord(point, Device().GetTransform(TransformState::View));
    };
    const Vector3 middle{250.0f, 0.0f, 250.0f};
    const Vector3 usual = seen(middle);
    Tap(VirtualKey::Tab);
    ASSERT_TRUE(game.PlanShown());
    const Vector3 above = seen(middle);
    EXPECT_NEAR(above.x, 0.0f, 0.01f);
    EXPECT_NEAR(above.y, 0.0f, 0.01f) << "the board's middle in the middle of the picture";
    const Vector3 farRow = seen({250.0f, 0.0f, 475.0f});
    const Vector3 nearRow = seen({250.0f, 0.0f, 25.0f});
    EXPECT_NEAR(farRow.z, nearRow.z, 0.01f) << "every row as far from the eye";
    EXPECT_GT(farRow.y, nearRow.y) << "the far rows up the screen";

    Tap(VirtualKey::Tab);
    EXPECT_FALSE(game.PlanShown());
    EXPECT_NEAR(seen(middle).z, usual.z, 0.01f);
}

// A stage left in the middle is kept after every shot and offered on the next
// visit, standing as it was; "Start again" forgets it, and so do a clear, a
// retry and a kept file that no longer fits the stage.
TEST_F(Assisted, AStageLeftInTheMiddleIsOfferedAgainAsItWasAndStartAgainForgetsIt)
{
    Context().settings.keepUnfinished = true;
    Game& first = StartStage(Board);
    const BoardPosition start = first.Position();
    ASSERT_FALSE(first.Unfinished()->Asking()) << "nothing kept yet";
    const std::size_t shotsToGo = first.Aids()->Known()->shots.size();
    Play(first.Aids()->Known()->shots.front());
    const BoardPosition left = first.Position();
    ASSERT_EQ(left.shots, 1);

    Game& again = StartStage(Board);
    ASSERT_TRUE(again.Unfinished()->Asking());
    EXPECT_EQ(again.Position(), left) << "the board stands as it was left";
    Tap(VirtualKey::Return);
    EXPECT_FALSE(again.Unfinished()->Asking());
    EXPECT_EQ(again.Position(), left);
    EXPECT_EQ(again.GetPlayer().score, 1);
    ASSERT_TRUE(again.Aids()->Known());
    EXPECT_EQ(again.Aids()->Known()->shots.size(), shotsToGo - 1) << "searched from where it stands";

    Game& third = StartStage(Board);
    ASSERT_TRUE(third.Unfinished()->Asking());
    Tap(VirtualKey::Right);
    EXPECT_TRUE(third.Unfinished()->StartAgainChosen());
    Tap(VirtualKey::Return);
    EXPECT_EQ(third.Position(), start);
    EXPECT_FALSE(StartStage(Board).Unfinished()->Asking()) << "start again forgot it";

    Game& cleared = StartStage(Board);
    Play(cleared.Aids()->Known()->shots.front());
    while (!cleared.Cleared())
        Play(cleared.Aids()->Known()->shots.front());
    EXPECT_FALSE(StartStage(Board).Unfinished()->Asking()) << "a clear forgets it";

    Game& changed = StartStage(Board);
    Play(changed.Aids()->Known()->shots.front());
    EXPECT_FALSE(StartStage({{2, 0, 0, Black}, {3, 0, 0, White}}).Unfinished()->Asking())
        << "kept for another version of the stage";
}

// An armoured block that only one landing can reach: no way to clear from
// the start, so H has nothing to show, and says so.
TEST_F(Assisted, AHintAskedAtADeadEndIsRefusedWithItsSound)
{
    Game& game = StartStage({{3, 0, 2, HardBlack}, {4, 0, 2, White}});
    ASSERT_TRUE(game.Aids()->DeadEnd());
    const int refused = SoundCalls("effect 18 play");
    Tap(VirtualKey::H);
    EXPECT_EQ(SoundCalls("effect 18 play"), refused + 1);
    EXPECT_FALSE(game.Aids()->Hint());
}

TEST_F(Assisted, UndoIsRefusedWithItsSoundWhileAShotFliesAndWithNothingToTakeBack)
{
    Game& game = StartStage(Board);
    record.Clear();
    Press(VirtualKey::Z);
    EXPECT_EQ(SoundCalls("effect 18 play"), 1);

    FireToward(VirtualKey::Right);
    ASSERT_TRUE(game.Flight().inFlight || !game.Flips().IsEmpty());
    Press(VirtualKey::Z);
    EXPECT_EQ(SoundCalls("effect 18 play"), 2);
    EXPECT_EQ(game.GetPlayer().score, 1);
    EXPECT_EQ(game.Aids()->UndoDepth(), 1);
}

TEST_F(Assisted, ARefusedShotHasItsOwnSoundAndMarkAndLeavesThePlayerIdle)
{
    Game& game = StartStage(Board);
    record.Clear();
    // The player starts facing the near edge: nothing can be launched there.
    Hold(VirtualKey::Space);
    RunFrames(5);
    Release(VirtualKey::Space);
    RunFrames(1);
    EXPECT_EQ(SoundCalls("effect 18 play"), 1);
    EXPECT_EQ(SoundCalls("effect 7 play"), 0);
    EXPECT_EQ(game.GetPlayer().state, PlayerState::Idle);
    ASSERT_TRUE(game.Aids()->RefusedMark());
    EXPECT_EQ(*game.Aids()->RefusedMark(), (MapPosition{0, 0, -1}));
    draws.clear();
    RunFrames(1);
    EXPECT_TRUE(std::any_of(draws.begin(), draws.end(),
                            [](const DrawRecord& draw) { return draw.texture == ImageFile::RefusedCell; }));
    RunFrames(Assists::RefusedMarkFrames);
    EXPECT_FALSE(game.Aids()->RefusedMark());
}

TEST_F(Assisted, AHintShowsTheNextShotOfAShortestWayUntilItIsFiredAndTheClearRemembersIt)
{
    Game& game = StartStage(Board);
    const int par = *game.Aids()->Par();
    Press(VirtualKey::H);
    ASSERT_TRUE(game.Aids()->Hint());
    const SolutionShot hint = *game.Aids()->Hint();
    EXPECT_EQ(hint.from, game.Aids()->Known()->shots.front().from);
    draws.clear();
    RunFrames(1);
    EXPECT_TRUE(std::any_of(draws.begin(), draws.end(),
                            [](const DrawRecord& draw) { return draw.texture == ImageFile::HintArrow; }));

    Play(hint);
    EXPECT_FALSE(game.Aids()->Hint());
    while (!game.Cleared()) {
        Press(VirtualKey::H);
        ASSERT_TRUE(game.Aids()->Hint());
        Play(*game.Aids()->Hint());
    }
    EXPECT_EQ(game.GetPlayer().score, par);
    EXPECT_TRUE(game.Aids()->HintsUsed());
    EXPECT_EQ(ResultText(), "score:" + std::to_string(par)) << "a clear with hints still keeps its score";
}

TEST_F(Assisted, ALossSaysWhy)
{
    Game& walledIn = StartStage({{1, 0, 0, White}, {0, 0, 1, White}, {5, 0, 5, Black}, {6, 0, 5, White}});
    EXPECT_TRUE(walledIn.GameOver());
    EXPECT_EQ(walledIn.Loss(), LossReason::WalledIn);

    // A lone black can never be closed in by white.
    Game& noShot = StartStage({{5, 0, 5, Black}});
    EXPECT_TRUE(noShot.GameOver());
    EXPECT_EQ(noShot.Loss(), LossReason::NoUsefulShot);
    RunFrames(200);
    draws.clear();
    RunFrames(1);
    EXPECT_TRUE(std::any_of(draws.begin(), draws.end(),
                            [](const DrawRecord& draw) { return draw.name == ImageFile::NoUsefulShot; }));
}

TEST_F(Assisted, TheKeyLineShowsInAGroupsFirstStageAndF1DecidesForTheRestOfTheRun)
{
    WriteStage(Board, 2);
    Game& first = StartStage(Board);
    EXPECT_TRUE(first.KeyLineShown());
    Press(VirtualKey::F1);
    EXPECT_FALSE(first.KeyLineShown());
    Scenes().stage.number = 2;
    Game& second = Start();
    EXPECT_FALSE(second.KeyLineShown());
    Press(VirtualKey::F1);
    EXPECT_TRUE(second.KeyLineShown());
    EXPECT_EQ(Context().settings.keyLine, true);
}

TEST_F(GameFixture, WithoutThePlayAidsARefusedShotSoundsAsAShotAndWaits)
{
    WriteStage(Board);
    Game& game = Start();
    RunFrames(90);
    record.Clear();
    Hold(VirtualKey::Space);
    RunFrames(5);
    Release(VirtualKey::Space);
    Hold(VirtualKey::H);
    Hold(VirtualKey::Z);
    RunFrames(1);
    EXPECT_EQ(SoundCalls("effect 7 play"), 1);
    EXPECT_EQ(SoundCalls("effect 18 play"), 0);
    EXPECT_EQ(game.GetPlayer().state, PlayerState::Firing);
    EXPECT_EQ(game.Aids(), nullptr);
    EXPECT_FALSE(game.KeyLineShown());
}

TEST(AssistsKnowledge, AGivenUpSearchIsNeitherADeadEndNorAHintNorAPar)
{
    const std::vector<Piece> Pieces{{{2, 0, 0}, Black, false}, {{3, 0, 0}, White, false}};
    Solution gaveUp;
    gaveUp.verdict = Solution::Verdict::GaveUp;
    gaveUp.reason = Solution::TooLargeToSearch;
    Assists assists(BackgroundSolve::Pace::Waited);
    assists.NewPosition(Pieces, {0, 0, 0}, gaveUp);
    EXPECT_FALSE(assists.AskHint()) << "nothing to show, and it is known";
    EXPECT_FALSE(assists.DeadEnd());
    EXPECT_FALSE(assists.Solvable());
    EXPECT_TRUE(assists.TooLarge());
    EXPECT_FALSE(assists.Hint());
    EXPECT_FALSE(assists.Par());

    gaveUp.reason = "no answer within 10 positions";
    assists.NewPosition(Pieces, {0, 0, 0}, gaveUp);
    EXPECT_FALSE(assists.DeadEnd());
    EXPECT_FALSE(assists.TooLarge());
}

}  // namespace
