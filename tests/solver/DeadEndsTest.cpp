#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "rules/BlockKind.h"
#include "rules/Field.h"
#include "rules/RulePrinters.h"
#include "rules/Shots.h"
#include "solver/DeadEnds.h"

namespace {

using namespace BlockKind;

std::vector<Piece> Stage(const std::vector<std::array<int, 3>>& blocks)
{
    std::vector<Piece> pieces;
    for (const auto& [x, z, kind] : blocks)
        pieces.push_back({{x, 0, z}, kind, false});
    return pieces;
}

// Whites along z = 6 from x = 0 to 4 and blacks at (5, 4) and (6, 5): the gap
// at (5, 5) is the one way between the floor below row 6 and the floor above,
// and the shot that turns (5, 4) lands in it. Below, (0, 1) walls the start
// in from above, so (1, 0) can be reached down column 1 or from (0, 0) itself.
//
// Worked by hand, the first shots that turn something:
// - to (1, 0) from (0, 0): the player is walled in with blacks left, and the
//   stage is lost at once; the game says so itself, so it is no trap;
// - to (1, 0) down column 1: then the gap from above, then (7, 5);
// - to (5, 5) along row 5 from below: shut below, (7, 5) is out of reach;
// - to (5, 5) down column 5 from above: shut above, (1, 0) is out of reach.
const std::vector<Piece> SplitFloorAndCorner = Stage({{0, 6, White},
                                                      {1, 6, White},
                                                      {2, 6, White},
                                                      {3, 6, White},
                                                      {4, 6, White},
                                                      {5, 3, White},
                                                      {7, 4, White},
                                                      {8, 4, White},
                                                      {9, 4, White},
                                                      {5, 4, Black},
                                                      {6, 5, Black},
                                                      {0, 1, White},
                                                      {2, 0, Black},
                                                      {3, 0, White}});

TEST(DeadEnds, TheTrapsAreTheShotsThatShutThePlayerOnEitherSideButNotOneThatLosesAtOnce)
{
    const std::vector<SolutionShot> traps = DeadEndFirstShots(SplitFloorAndCorner);
    struct Trap {
        MapPosition from;
        int direction;
    };
    // Of the shots that shut the player on one side, the first cell fired from.
    const Trap expected[] = {{{0, 0, 5}, Direction::PlusX}, {{5, 0, 6}, Direction::MinusZ}};
    ASSERT_EQ(traps.size(), std::size(expected));
    for (std::size_t i = 0; i < traps.size(); ++i) {
        EXPECT_EQ(traps[i].from, expected[i].from) << "trap " << i;
        EXPECT_EQ(traps[i].direction, expected[i].direction) << "trap " << i;
        EXPECT_EQ(traps[i].landing, (MapPosition{5, 0, 5})) << "trap " << i;
        EXPECT_EQ(traps[i].turned, 1) << "trap " << i;
        // The walk from the start leads over free floor to where it fires from.
        MapPosition at{0, 0, 0};
        for (const int step : traps[i].walk) {
            at = NextCell(at, step);
            for (const Piece& piece : SplitFloorAndCorner)
                ASSERT_NE(at, piece.cell) << "trap " << i << " walks into a block";
        }
        EXPECT_EQ(at, traps[i].from) << "trap " << i;
    }
}

}  // namespace
