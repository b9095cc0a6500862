#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

#include "rules/BlockKind.h"
#include "rules/Field.h"
#include "rules/RulePrinters.h"
#include "rules/Shots.h"
#include "solver/PlayField.h"
#include "solver/StageSolver.h"

namespace {

using namespace BlockKind;
using Verdict = Solution::Verdict;

// A bottom-layer stage from (x, z, kind) triples.
std::vector<Piece> Stage(std::initializer_list<std::array<int, 3>> blocks, int y = 0)
{
    std::vector<Piece> pieces;
    for (const auto& [x, z, kind] : blocks)
        pieces.push_back({{x, y, z}, kind, false});
    return pieces;
}

TEST(StageSolver, ARunClosedByAWhiteBlockTakesOneShotAlongIt)
{
    const Solution solution = StageSolver::Solve(Stage({{2, 0, Black}, {3, 0, Black}, {4, 0, White}}));
    ASSERT_EQ(solution.verdict, Verdict::Solved);
    ASSERT_EQ(solution.shots.size(), 1u);
    const SolutionShot& shot = solution.shots[0];
    EXPECT_TRUE(shot.walk.empty());
    EXPECT_EQ(shot.from, (MapPosition{0, 0, 0}));
    EXPECT_EQ(shot.direction, Direction::PlusX);
    EXPECT_EQ(shot.landing, (MapPosition{1, 0, 0}));
    EXPECT_EQ(shot.turned, 2);
}

TEST(StageSolver, AHardBlockTakesTwoLandingsAndTheFirstShotsBlockTakesItsPlace)
{
    // From below it turns black against the white above; its landing cell is
    // then taken, so the second turn comes from the left, against the white on the right.
    const Solution solution = StageSolver::Solve(Stage({{2, 2, HardBlack}, {2, 3, White}, {3, 2, White}}));
    ASSERT_EQ(solution.verdict, Verdict::Solved);
    ASSERT_EQ(solution.shots.size(), 2u);
    EXPECT_NE(solution.shots[0].landing, solution.shots[1].landing);
    for (const SolutionShot& shot : solution.shots)
        EXPECT_EQ(shot.turned, 1);
}

TEST(StageSolver, AShotThatWallsThePlayerInLosesUnlessItClears)
{
    // Boxed into (0, 0) and (1, 0): the one shot lands at (1, 0) and walls
    // the player in. Turning the last black over, it clears the stage...
    const Solution last = StageSolver::Solve(Stage({{0, 1, White}, {1, 1, White}, {2, 0, Black}, {3, 0, White}}));
    ASSERT_EQ(last.verdict, Verdict::Solved);
    EXPECT_EQ(last.shots.size(), 1u);

    // ... with a black left elsewhere, it loses, and there is no other shot.
    const Solution lost = StageSolver::Solve(
        Stage({{0, 1, White}, {1, 1, White}, {2, 0, Black}, {3, 0, White}, {5, 5, Black}, {6, 5, White}}));
    EXPECT_EQ(lost.verdict, Verdict::Unsolvable);
}

TEST(StageSolver, TellsWhyAStageIsLostBeforeTheFirstShot)
{
    const Solution boxedBlack =
        StageSolver::Solve(Stage({{5, 5, Black}, {4, 5, White}, {6, 5, White}, {5, 4, White}, {5, 6, White}}));
    EXPECT_EQ(boxedBlack.verdict, Verdict::LostAtStart);
    EXPECT_EQ(boxedBlack.reason, "a black block has white blocks on all four sides");

    const Solution walledIn = StageSolver::Solve(Stage({{1, 0, White}, {0, 1, White}, {5, 5, Black}, {6, 5, White}}));
    EXPECT_EQ(walledIn.verdict, Verdict::LostAtStart);
    EXPECT_EQ(walledIn.reason, "the player is walled in");

    const Solution noTarget = StageSolver::Solve(Stage({{5, 5, Black}}));
    EXPECT_EQ(noTarget.verdict, Verdict::LostAtStart);
    EXPECT_EQ(noTarget.reason, "no shot can turn anything over");
}

TEST(StageSolver, ABlackNoShotCanLandBesideIsUnsolvable)
{
    // A shot resting in (5, 4) would turn the black over, and the Game sees a
    // useful target there; but walls bar every way in, and the cell below it
    // is a pocket the player cannot stand in.
    const Solution solution = StageSolver::Solve(Stage(
        {{5, 5, Black}, {5, 6, White}, {4, 4, White}, {6, 4, White}, {4, 3, White}, {6, 3, White}, {5, 2, White}}));
    EXPECT_EQ(solution.verdict, Verdict::Unsolvable);
    EXPECT_EQ(solution.reason, "no sequence of shots turns the black block at (5, 5)");
    EXPECT_EQ(solution.statesVisited, 1u);
}

TEST(StageSolver, AnArmouredBlockTurnedOnlyOnceIsNamed)
{
    // Below it the first shot stays; no white stands beside it for a second.
    // The row by the start keeps play going after that first turn.
    const Solution solution =
        StageSolver::Solve(Stage({{4, 4, HardBlack}, {4, 5, White}, {2, 0, Black}, {3, 0, White}}));
    EXPECT_EQ(solution.verdict, Verdict::Unsolvable);
    EXPECT_EQ(solution.reason, "no sequence of shots turns the armoured block at (4, 4) twice");
}

TEST(StageSolver, ABlockAboveTheBottomLayerIsOutOfReach)
{
    std::vector<Piece> blocks = Stage({{2, 0, Black}, {3, 0, White}});
    for (const auto& block : Stage({{4, 4, Black}}, 1))
        blocks.push_back(block);
    const Solution solution = StageSolver::Solve(blocks);
    EXPECT_EQ(solution.verdict, Verdict::Unsolvable);
    EXPECT_EQ(solution.reason, "the block at (4, 1, 4) is above the bottom layer, out of reach");
}

TEST(StageSolver, AnAllWhiteStageNeedsNoShotAndASearchStopsAtItsLimit)
{
    const Solution white = StageSolver::Solve(Stage({{3, 3, White}}));
    EXPECT_EQ(white.verdict, Verdict::Solved);
    EXPECT_TRUE(white.shots.empty());

    const Solution cut = StageSolver::Solve(Stage({{2, 2, HardBlack}, {2, 3, White}, {3, 2, White}}), 2);
    EXPECT_EQ(cut.verdict, Verdict::GaveUp);
    EXPECT_EQ(cut.statesVisited, 2u);
}

TEST(PlayField, AWalkGoesAroundTheBlocksByTheShortestWay)
{
    // A wall across column 2 but for its top cell.
    std::vector<Piece> pieces;
    for (int z = 0; z < 9; ++z)
        pieces.push_back({{2, 0, z}, White, false});
    PlayField field(pieces);
    const PlayField::Position start = field.Start();
    const std::vector<int> walk = field.Walk(0, PlayField::IndexOf({4, 0, 0}));
    // Up nine, across four, down nine.
    ASSERT_EQ(walk.size(), 22u);
    MapPosition at{0, 0, 0};
    for (const int step : walk) {
        at = NextCell(at, step);
        EXPECT_FALSE(at.x == 2 && at.z < 9) << "through the wall at (" << at.x << ", " << at.z << ")";
    }
    EXPECT_EQ(at, (MapPosition{4, 0, 0}));
    EXPECT_EQ(field.Region(start.player).size(), 100u - 9u);
}

}  // namespace
