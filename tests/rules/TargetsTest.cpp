#include <gtest/gtest.h>

#include <array>
#include <vector>

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

// Worked by hand: a landing is useful only where a run of one or more
// non-white blocks leads from it to a White block, and a shot can get there.
TEST(Targets, ALandingIsUsefulOnlyWhereARunOfBlackBlocksEndsInWhite)
{
    struct Case {
        const char* what;
        std::vector<std::array<int, 4>> blocks;
        MapPosition cell;
        bool useful;
        MapPosition player = {0, 0, 0};
    };
    const Case cases[] = {
        {"a white right beside it, no black between", {{4, 0, 4, White}}, {4, 0, 5}, false},
        {"beside a black whose only white is diagonal", {{5, 0, 5, Black}, {4, 0, 4, White}}, {4, 0, 5}, false},
        {"the same black from below", {{5, 0, 5, Black}, {4, 0, 4, White}}, {5, 0, 4}, false},
        {"one black, then white", {{5, 0, 5, Black}, {6, 0, 5, White}}, {4, 0, 5}, true},
        {"black and armoured, then white", {{5, 0, 5, Black}, {6, 0, 5, HardBlack}, {7, 0, 5, White}}, {4, 0, 5},
         true},
        {"the run ends in an empty cell", {{5, 0, 5, Black}, {6, 0, 5, Black}}, {4, 0, 5}, false},
        {"the run ends at the field's edge", {{8, 0, 5, Black}, {9, 0, 5, Black}}, {7, 0, 5}, false},
        {"the run ends at the player", {{1, 0, 5, Black}}, {0, 0, 5}, false, {2, 0, 5}},
        {"no free cell beside it to come from",
         {{5, 0, 5, Black}, {6, 0, 5, White}, {3, 0, 5, White}, {4, 0, 4, White}, {4, 0, 6, White}},
         {4, 0, 5},
         false},
        {"the only free cell beside it is the player's",
         {{5, 0, 5, Black}, {6, 0, 5, White}, {4, 0, 4, White}, {4, 0, 6, White}},
         {4, 0, 5},
         true,
         {3, 0, 5}},
    };
    for (const Case& c : cases) {
        Board board({}, c.player);
        for (const auto& block : c.blocks)
            board.pieces.push_back({{block[0], block[1], block[2]}, block[3], false});
        board.Rebuild();
        EXPECT_EQ(IsUsefulTarget(board.grid, c.cell), c.useful) << c.what;
    }
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
