#include <gtest/gtest.h>

#include "rules/BlockKind.h"
#include "rules/Board.h"
#include "rules/RulePrinters.h"
#include "rules/Targets.h"

namespace {

using namespace BlockKind;

TEST(Targets, AWalledInPlayerHasNoMoveWhateverTheTargets)
{
    Board board({{1, 0, 0, White}, {0, 0, 1, Black}, {3, 0, 1, Black}, {4, 0, 1, White}});
    const std::vector<MapPosition> targets = RebuildTargets(board.pieces, board.grid);
    ASSERT_TRUE(IsUsefulTarget(board.grid, {2, 0, 1}));
    EXPECT_TRUE(IsWalledIn(board.grid, board.player));
    EXPECT_FALSE(HasMove(board.grid, board.player, targets));
    board.player = {1, 0, 1};
    board.Rebuild();
    EXPECT_TRUE(HasMove(board.grid, board.player, targets));
}

TEST(Targets, ATargetNeedsAFreeNeighbourAndARunClosedByWhite)
{
    Board board({{5, 0, 5, Black}, {6, 0, 5, Black}, {7, 0, 5, White}, {5, 0, 8, Black}, {5, 0, 9, Black}});
    EXPECT_TRUE(IsUsefulTarget(board.grid, {4, 0, 5}));
    EXPECT_FALSE(IsUsefulTarget(board.grid, {5, 0, 7})) << "the run leaves the field";
    EXPECT_FALSE(IsUsefulTarget(board.grid, {5, 0, 6}));
    EXPECT_FALSE(IsUsefulTarget(board.grid, {-1, 0, 5}));
    EXPECT_TRUE(HasMove(board.grid, board.player, RebuildTargets(board.pieces, board.grid)));
    board.pieces[2].kind = Black;
    board.Rebuild();
    EXPECT_FALSE(HasMove(board.grid, board.player, RebuildTargets(board.pieces, board.grid)));
}

TEST(Targets, ABlackBlockBoxedInByWhiteMakesTheStageUnwinnable)
{
    Board board({{5, 0, 5, Black}, {4, 0, 5, White}, {6, 0, 5, White}, {5, 0, 4, White}, {5, 0, 6, White}});
    bool unwinnable = false;
    EXPECT_TRUE(InitialTargets(board.pieces, board.grid, unwinnable).empty());
    EXPECT_TRUE(unwinnable);
    board.pieces[4].kind = HardBlack;
    board.Rebuild();
    EXPECT_EQ(InitialTargets(board.pieces, board.grid, unwinnable), (std::vector<MapPosition>{}));
    EXPECT_FALSE(unwinnable);
}

}  // namespace
