#include <gtest/gtest.h>

#include <random>

#include "rules/BlockKind.h"
#include "rules/Board.h"

namespace {

using namespace BlockKind;

TEST(StageGrid, EveryLookupStaysInsideTheField)
{
    Board board({{9, 9, 9, Black}, {0, 0, 0, White}});
    EXPECT_EQ(board.grid.CellAt(9, 9, 9), Black);
    EXPECT_EQ(board.grid.CellAt(0, 0, 0), White) << "a block in the player's cell wins";
    EXPECT_EQ(board.grid.CellAt(10, 0, 0), Empty);
    EXPECT_EQ(board.grid.CellAt(0, 0, -1), Empty);
    EXPECT_EQ(board.grid.IndexAt(9, 9, 9), 0);
    EXPECT_EQ(board.grid.IndexAt(0, 10, 0), -1);
    board.pieces[0].cell = {0, 0, 10};
    board.Rebuild();
    EXPECT_EQ(board.grid.CellAt(0, 1, 0), Empty) << "a block outside the field is left out, not aliased";
}

TEST(StageGrid, TheShotInFlightIsLeftOutButNotByTheEditorsView)
{
    Board board({{4, 0, 4, White}});
    board.pieces[0].launched = true;
    board.Rebuild();
    EXPECT_EQ(board.grid.CellAt(4, 0, 4), Empty);
    board.grid.RebuildAll(board.pieces);
    EXPECT_EQ(board.grid.CellAt(4, 0, 4), White);
    EXPECT_EQ(board.grid.CellAt(0, 0, 0), Empty) << "the editor has no player";
}

TEST(StageGrid, MovingThePlayersMarkGivesTheGridARebuildWouldGive)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> cell(0, 99);
    for (int round = 0; round < 50; ++round) {
        std::vector<Piece> pieces;
        for (int i = 0; i < 40; ++i) {
            const int at = cell(random);
            pieces.push_back({{at / 10, 0, at % 10}, i % 3 + 1, false});
        }
        const int from = cell(random);
        const int to = cell(random);
        StageGrid moved;
        moved.Rebuild(pieces, {from / 10, 0, from % 10});
        moved.PlacePlayer({to / 10, 0, to % 10});
        StageGrid rebuilt;
        rebuilt.Rebuild(pieces, {to / 10, 0, to % 10});
        for (int x = 0; x < 10; ++x) {
            for (int z = 0; z < 10; ++z) {
                ASSERT_EQ(moved.CellAt(x, 0, z), rebuilt.CellAt(x, 0, z)) << "round " << round;
                ASSERT_EQ(moved.IndexAt(x, 0, z), rebuilt.IndexAt(x, 0, z)) << "round " << round;
            }
        }
    }
}

}  // namespace
