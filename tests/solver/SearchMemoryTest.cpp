#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <new>
#include <random>
#include <thread>

#include "rules/BlockKind.h"
#include "solver/BackgroundSolve.h"
#include "solver/PlayField.h"
#include "solver/PositionTable.h"
#include "solver/StageSolver.h"

namespace {

using namespace BlockKind;

// Fifteen short lines of black that can be turned in many orders: tens of
// thousands of positions.
std::vector<Piece> FifteenPairs()
{
    std::vector<Piece> pieces;
    for (int x = 0; x < 8; ++x) {
        pieces.push_back({{x, 0, 8}, Black, false});
        pieces.push_back({{x, 0, 9}, White, false});
    }
    for (int z = 0; z < 7; ++z) {
        pieces.push_back({{8, 0, z}, Black, false});
        pieces.push_back({{9, 0, z}, White, false});
    }
    return pieces;
}

TEST(SearchMemory, AStageTooLargeForTheBudgetGivesUpSayingSoWithinIt)
{
    constexpr std::size_t Budget = 48 << 10;
    const Solution small = StageSolver::Solve(FifteenPairs(), StageSolver::DefaultStateLimit, {}, Budget);
    EXPECT_EQ(small.verdict, Solution::Verdict::GaveUp);
    EXPECT_TRUE(small.TooLarge()) << small.reason;
    EXPECT_LE(small.statesVisited * sizeof(PositionTable::Node), Budget);

    // With room enough the same stage is solved.
    const Solution roomy = StageSolver::Solve(FifteenPairs());
    ASSERT_EQ(roomy.verdict, Solution::Verdict::Solved) << roomy.reason;
    EXPECT_EQ(roomy.shots.size(), 4u);
    EXPECT_GT(roomy.statesVisited, small.statesVisited);
}

// Budgets of every size, so that each of the table's steps (a new block of
// positions, the slots doubling) is at some budget the one that meets it.
TEST(SearchMemory, ATableNeverHoldsMoreThanItsBudgetAndKeepsEveryPositionOnce)
{
    std::mt19937 random(7);
    for (std::size_t budget = 512 << 10; budget <= 4 << 20; budget += 96 << 10) {
        PositionTable table(budget);
        std::size_t added = 0;
        for (;;) {
            PositionTable::Node node;
            for (std::uint8_t& byte : node.position)
                byte = static_cast<std::uint8_t>(random() % 4);
            const PositionTable::Added result = table.Add(node);
            if (result == PositionTable::Added::Full)
                break;
            if (result == PositionTable::Added::New) {
                ASSERT_EQ(table[added].position, node.position);
                ++added;
                ASSERT_EQ(table.Add(node), PositionTable::Added::Seen) << "added twice";
            }
        }
        EXPECT_LE(table.PeakBytes(), budget);
        EXPECT_GE(table.PeakBytes(), table.Bytes());
        EXPECT_EQ(table.Size(), added);
        EXPECT_GT(added, budget / 64) << "a position should take well under 64 bytes";
    }
}

// Whatever the stage holds, a position comes back from its packed form as it
// was: blocks above the bottom layer, a block hidden by a later one in its
// cell, and shots that stayed.
TEST(SearchMemory, APackedPositionUnpacksToTheSamePosition)
{
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::vector<Piece> stage;
        const int count = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            const int y = random() % 5 == 0 ? 1 : 0;
            stage.push_back({{static_cast<int>(random() % 10), y, static_cast<int>(random() % 10)},
                             static_cast<int>(1 + random() % 3), false});
        }
        PlayField field(stage);
        PlayField::Position position = field.Start();
        for (std::size_t i = 0; i < stage.size(); ++i) {
            if (field.Grid().IndexAt(stage[i].cell.x, 0, stage[i].cell.z) == static_cast<int>(i) && stage[i].cell.y == 0)
                position.kinds[i] = static_cast<std::uint8_t>(1 + random() % 3);
        }
        for (int cell = 0; cell < PlayField::Cells; ++cell) {
            const MapPosition at = PlayField::CellAt(cell);
            if (field.Grid().CellAt(at) <= Empty && random() % 4 == 0)
                position.shots.set(static_cast<std::size_t>(cell));
        }
        position.player = static_cast<int>(random() % 100);

        const PlayField::Packed packed = field.Pack(position);
        const PlayField::Position back = field.Unpack(packed);
        ASSERT_EQ(back.kinds, position.kinds) << "round " << round;
        ASSERT_EQ(back.shots, position.shots) << "round " << round;
        ASSERT_EQ(back.player, position.player) << "round " << round;
        for (std::size_t i = 0; i < stage.size(); ++i)
            ASSERT_EQ(field.KindIn(packed, i), position.kinds[i]) << "round " << round << ", block " << i;
    }
}

TEST(SearchMemory, ASearchThatRunsOutOfMemoryGivesUpAsTooLarge)
{
    BackgroundSolve solve([](std::stop_token) -> Solution { throw std::bad_alloc(); },
                          BackgroundSolve::Pace::Waited);
    const std::optional<Solution> result = solve.Result(true);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->TooLarge());
}

// The frame that drops a search (a shot, the scene leaving) must not wait
// for it to stop and free what it holds.
TEST(SearchMemory, DroppingASearchDoesNotWaitForItsThread)
{
    std::promise<void> dropped;
    // The thread outlives this test's frame: what it touches, it owns.
    const auto heard = std::make_shared<std::promise<bool>>();
    std::future<bool> heardDrop = heard->get_future();
    {
        BackgroundSolve solve(
            [dropDone = dropped.get_future().share(), heard](std::stop_token stop) {
                while (!stop.stop_requested())
                    std::this_thread::yield();
                // Still busy when the owner has gone: had it waited here, the drop would never have come.
                heard->set_value(dropDone.wait_for(std::chrono::seconds(10)) == std::future_status::ready);
                return Solution{};
            },
            BackgroundSolve::Pace::BesideFrames);
    }
    dropped.set_value();
    EXPECT_TRUE(heardDrop.get());
}

}  // namespace
