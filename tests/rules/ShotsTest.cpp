#include <gtest/gtest.h>

#include "rules/BlockKind.h"
#include "rules/Board.h"
#include "rules/Field.h"
#include "rules/RulePrinters.h"
#include "rules/Shots.h"

namespace {

using namespace BlockKind;

TEST(Shots, ARunClosedAcrossAnArmouredBlockHoldsItAndEndsAtTheWhite)
{
    const Board board({{4, 0, 5, Black}, {5, 0, 5, HardBlack}, {6, 0, 5, White}});
    EXPECT_EQ(ClosedRuns(board.grid, {3, 0, 5}), (std::vector<MapPosition>{{5, 0, 5}, {4, 0, 5}}))
        << "the farthest cell first";
}

TEST(Shots, RunsEndingInAnEmptyCellTheEdgeOrThePlayerCloseNothing)
{
    // +x ends empty, +z at the field edge, -z at the player; -x has no white.
    const Board board({{4, 0, 5, Black}, {5, 0, 5, Black}, {2, 0, 5, Black}, {3, 0, 6, Black}, {3, 0, 7, Black},
                       {3, 0, 8, Black}, {3, 0, 9, Black}, {3, 0, 4, HardBlack}, {3, 0, 3, Black}, {3, 0, 2, Black},
                       {3, 0, 1, Black}},
                      {3, 0, 0});
    EXPECT_TRUE(ClosedRuns(board.grid, {3, 0, 5}).empty());
    EXPECT_TRUE(ClosedRuns(board.grid, {3, 10, 5}).empty()) << "a landing outside the field";
}

TEST(Shots, DirectionsAreSearchedPlusXMinusXPlusZMinusZ)
{
    const Board board({{4, 0, 5, Black}, {5, 0, 5, White}, {2, 0, 5, HardBlack}, {1, 0, 5, White}, {3, 0, 6, Black},
                       {3, 0, 7, White}, {3, 0, 4, Black}, {3, 0, 3, White}});
    EXPECT_EQ(ClosedRuns(board.grid, {3, 0, 5}),
              (std::vector<MapPosition>{{4, 0, 5}, {2, 0, 5}, {3, 0, 6}, {3, 0, 4}}));
}

TEST(Shots, AShotAppearsInFrontOfThePlayerAndRestsBeforeTheFirstBlockOrAtTheEdge)
{
    const Board board({{6, 0, 2, Black}}, {2, 0, 2});
    const Vector3 player = Field::Centre(MapPosition{2, 0, 2});
    EXPECT_EQ(LaunchCell(player, Direction::PlusX), (MapPosition{3, 0, 2}));
    EXPECT_EQ(LaunchCell(player, Direction::MinusZ), (MapPosition{2, 0, 1}));
    EXPECT_EQ(LaunchCell(Field::Centre(MapPosition{0, 0, 0}), Direction::MinusX), (MapPosition{-1, 0, 0}));
    EXPECT_FALSE(CanLaunch(board.grid, {-1, 0, 0}));
    EXPECT_FALSE(CanLaunch(board.grid, {6, 0, 2}));
    EXPECT_EQ(LandingCell(board.grid, {3, 0, 2}, Direction::PlusX), (MapPosition{5, 0, 2}));
    EXPECT_EQ(LandingCell(board.grid, {3, 0, 2}, Direction::PlusZ), (MapPosition{3, 0, 9}));
}

}  // namespace
