#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/BlockKind.h"
#include "rules/BoardPosition.h"
#include "rules/RulePrinters.h"

namespace {

using namespace BlockKind;

struct Kind {
    int x, z, kind;
};

BoardPosition Position(std::vector<Kind> blocks, MapPosition player, int facing)
{
    BoardPosition position;
    for (const Kind& block : blocks)
        position.pieces.push_back({{block.x, 0, block.z}, block.kind, false});
    position.player = player;
    position.facing = facing;
    return position;
}

// One shot, worked out by hand on paper: the board, where the player stands
// and faces, and everything the shot does.
struct Case {
    std::string what;
    BoardPosition position;
    bool fired;
    MapPosition landing;
    std::vector<TurnedPiece> turned;
    Standing standing;
};

TEST(BoardPositionShot, SmallBoardsWorkedOutByHand)
{
    const std::vector<Case> cases = {
        {"a landing in the corner of two lines closes both, and a third: +x, -x, +z, -z in turn",
         Position({{4, 5, Black}, {5, 5, White}, {3, 6, Black}, {3, 7, White}, {3, 4, HardBlack}, {3, 3, White}},
                  {0, 0, 5}, Direction::PlusX),
         true,
         {3, 0, 5},
         {{0, {4, 0, 5}, White}, {2, {3, 0, 6}, White}, {4, {3, 0, 4}, Black}},
         {false, LossReason::NoUsefulShot}},
        {"an armoured block in the middle of a run turns black, its neighbours white, the farthest first",
         Position({{3, 2, Black}, {4, 2, HardBlack}, {5, 2, Black}, {6, 2, White}}, {0, 0, 2}, Direction::PlusX),
         true,
         {2, 0, 2},
         {{2, {5, 0, 2}, White}, {1, {4, 0, 2}, Black}, {0, {3, 0, 2}, White}},
         {false, LossReason::NoUsefulShot}},
        {"a white block on the board's last cell closes the run",
         Position({{8, 5, Black}, {9, 5, White}, {2, 2, Black}, {2, 3, White}}, {0, 0, 5}, Direction::PlusX),
         true,
         {7, 0, 5},
         {{0, {8, 0, 5}, White}},
         {false, LossReason::None}},
        {"a run that reaches the board's edge unclosed turns nothing: the shot dissolves and still counts",
         Position({{8, 5, Black}, {9, 5, Black}, {2, 2, Black}, {2, 3, White}}, {0, 0, 5}, Direction::PlusX),
         true,
         {7, 0, 5},
         {},
         {false, LossReason::None}},
        {"a shot into a block right in front is never fired",
         Position({{3, 2, Black}, {4, 2, White}}, {2, 0, 2}, Direction::PlusX),
         false,
         {},
         {},
         {false, LossReason::None}},
        {"a shot into the field's edge is never fired",
         Position({{3, 2, Black}, {4, 2, White}}, {9, 0, 2}, Direction::PlusX),
         false,
         {},
         {},
         {false, LossReason::None}},
        {"the shot that stays beside the player walls it in",
         Position({{2, 0, Black}, {3, 0, White}, {0, 1, White}, {5, 5, Black}, {6, 5, White}}, {0, 0, 0},
                  Direction::PlusX),
         true,
         {1, 0, 0},
         {{0, {2, 0, 0}, White}},
         {false, LossReason::WalledIn}},
        {"nothing left to turn: the board is cleared, whatever else holds",
         Position({{3, 2, Black}, {4, 2, White}}, {0, 0, 2}, Direction::PlusX),
         true,
         {2, 0, 2},
         {{0, {3, 0, 2}, White}},
         {true, LossReason::None}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ShotOutcome shot = Shoot(c.position);
        EXPECT_EQ(shot.fired, c.fired);
        EXPECT_EQ(shot.standing, c.standing);
        if (!c.fired) {
            EXPECT_EQ(shot.next, c.position) << "nothing was fired, nothing counted";
            continue;
        }
        EXPECT_EQ(shot.landing, c.landing);
        EXPECT_EQ(shot.turned, c.turned);

        BoardPosition next = c.position;
        ++next.shots;
        for (const TurnedPiece& turned : c.turned)
            next.pieces[static_cast<std::size_t>(turned.index)].kind = turned.becomes;
        if (!c.turned.empty())
            next.pieces.push_back({c.landing, White, false});
        EXPECT_EQ(shot.next, next);
    }
}

TEST(BoardPositionShot, TheStartIsLostOnlyWithABlackBlockWhiteOnAllFourSides)
{
    EXPECT_TRUE(BlackBoxedIn(Position({{4, 4, Black}, {3, 4, White}, {5, 4, White}, {4, 3, White}, {4, 5, White}},
                                      {0, 0, 0}, Direction::MinusZ)));
    EXPECT_FALSE(BlackBoxedIn(Position(
        {{4, 4, HardBlack}, {3, 4, White}, {5, 4, White}, {4, 3, White}, {4, 5, White}, {7, 7, Black}, {8, 7, White}},
        {0, 0, 0}, Direction::MinusZ)))
        << "an armoured block so boxed in is left to the first frame's test";
}

}  // namespace
