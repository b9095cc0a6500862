#include <gtest/gtest.h>

#include "game/FlightState.h"
#include "game/GamePrinters.h"
#include "game/MoveSearch.h"
#include "game/Reverse.h"
#include "game/StageGrid.h"
#include "support/DeviceFixture.h"

namespace {

using namespace BlockKind;

// The searches on a grid built from a block list, as the Game builds it.
class MoveSearch : public DeviceFixture {
protected:
    void SetUp() override
    {
        StartDevice(false);
        FlightState::Reset();
        reverse = std::make_unique<Reverse>();
    }
    void TearDown() override
    {
        FlightState::Reset();
        DeviceFixture::TearDown();
    }
    void Place(std::initializer_list<std::array<int, 4>> cells)
    {
        for (const auto& c : cells)
            blocks.push_back(std::make_shared<Block>(MapPosition{c[0], c[1], c[2]}, c[3]));
        grid.Rebuild(blocks, player);
    }
    std::vector<MapPosition> Queued() const
    {
        std::vector<MapPosition> cells;
        for (const ReverseEntry& entry : reverse->entries)
            cells.push_back(entry.block.lock()->mapCell);
        return cells;
    }

    Vector3 player{25.0f, 25.0f, 25.0f};
    BlockList blocks;
    StageGrid grid;
    std::unique_ptr<Reverse> reverse;
};

TEST_F(MoveSearch, ARunClosedAcrossABurstingBlockTurnsOnlyItsBlackBlocks)
{
    Place({{{4, 0, 5, Black}}, {{5, 0, 5, Bursting}}, {{6, 0, 5, White}}});
    FindReversals(grid, blocks, {3, 0, 5}, *reverse);
    EXPECT_EQ(Queued(), (std::vector<MapPosition>{{4, 0, 5}}));
    EXPECT_TRUE(FlightState::Instance().reversalFound);
}

TEST_F(MoveSearch, RunsEndingInAnEmptyCellTheEdgeOrThePlayerTurnNothing)
{
    // +x ends empty, +z at the field edge, -z at the player; -x has no white.
    Place({{{4, 0, 5, Black}}, {{5, 0, 5, Black}}, {{2, 0, 5, Black}}, {{3, 0, 6, Black}}, {{3, 0, 7, Black}},
           {{3, 0, 8, Black}}, {{3, 0, 9, Black}}, {{3, 0, 4, HardBlack}}, {{3, 0, 3, Black}}, {{3, 0, 2, Black}},
           {{3, 0, 1, Black}}});
    player = {175.0f, 25.0f, 25.0f};
    grid.Rebuild(blocks, player);
    FindReversals(grid, blocks, {3, 0, 5}, *reverse);
    EXPECT_TRUE(reverse->IsEmpty());
    EXPECT_FALSE(FlightState::Instance().reversalFound);
    FindReversals(grid, blocks, {3, 10, 5}, *reverse);
    EXPECT_TRUE(reverse->IsEmpty());
}

TEST_F(MoveSearch, DirectionsAreSearchedPlusXMinusXPlusZMinusZ)
{
    Place({{{4, 0, 5, Black}}, {{5, 0, 5, White}}, {{2, 0, 5, HardBlack}}, {{1, 0, 5, White}}, {{3, 0, 6, Black}},
           {{3, 0, 7, White}}, {{3, 0, 4, Black}}, {{3, 0, 3, White}}});
    FindReversals(grid, blocks, {3, 0, 5}, *reverse);
    EXPECT_EQ(Queued(), (std::vector<MapPosition>{{3, 0, 4}, {3, 0, 6}, {2, 0, 5}, {4, 0, 5}}));
}

TEST_F(MoveSearch, AWalledInPlayerHasNoMoveWhateverTheTargets)
{
    Place({{{1, 0, 0, White}}, {{0, 0, 1, Black}}, {{3, 0, 1, Black}}, {{4, 0, 1, White}}});
    const std::vector<MapPosition> targets = RebuildTargets(blocks, grid);
    ASSERT_TRUE(IsUsefulTarget(grid, {2, 0, 1}));
    EXPECT_FALSE(HasMove(grid, player, targets));
    EXPECT_TRUE(HasMove(grid, {75.0f, 25.0f, 75.0f}, targets));
}

TEST_F(MoveSearch, ATargetNeedsAFreeNeighbourAndARunClosedByWhite)
{
    Place({{{5, 0, 5, Black}}, {{6, 0, 5, Black}}, {{7, 0, 5, White}}, {{5, 0, 8, Black}}, {{5, 0, 9, Black}}});
    EXPECT_TRUE(IsUsefulTarget(grid, {4, 0, 5}));
    EXPECT_FALSE(IsUsefulTarget(grid, {5, 0, 7})) << "the run leaves the field";
    EXPECT_FALSE(IsUsefulTarget(grid, {5, 0, 6}));
    EXPECT_FALSE(IsUsefulTarget(grid, {-1, 0, 5}));
    const std::vector<MapPosition> targets = RebuildTargets(blocks, grid);
    EXPECT_TRUE(HasMove(grid, player, targets));
    blocks[2]->kind = Black;
    grid.Rebuild(blocks, player);
    EXPECT_FALSE(HasMove(grid, player, RebuildTargets(blocks, grid)));
}

TEST_F(MoveSearch, ABlackBlockBoxedInByWhiteMakesTheStageUnwinnable)
{
    Place({{{5, 0, 5, Black}}, {{4, 0, 5, White}}, {{6, 0, 5, White}}, {{5, 0, 4, White}}, {{5, 0, 6, White}}});
    bool unwinnable = false;
    EXPECT_TRUE(InitialTargets(blocks, grid, unwinnable).empty());
    EXPECT_TRUE(unwinnable);
    blocks[4]->kind = HardBlack;
    grid.Rebuild(blocks, player);
    EXPECT_EQ(InitialTargets(blocks, grid, unwinnable), (std::vector<MapPosition>{}));
    EXPECT_FALSE(unwinnable);
}

TEST_F(MoveSearch, TheGridKeepsEveryLookupInsideTheField)
{
    Place({{{9, 9, 9, Black}}, {{0, 0, 0, White}}});
    EXPECT_EQ(grid.CellAt(9, 9, 9), Black);
    EXPECT_EQ(grid.CellAt(0, 0, 0), White) << "a block in the player's cell wins";
    EXPECT_EQ(grid.CellAt(10, 0, 0), Empty);
    EXPECT_EQ(grid.CellAt(0, 0, -1), Empty);
    EXPECT_EQ(grid.IndexAt(9, 9, 9), 0);
    EXPECT_EQ(grid.IndexAt(0, 10, 0), -1);
    blocks[0]->transform.position = {25.0f, 25.0f, 525.0f};
    grid.Rebuild(blocks, player);
    EXPECT_EQ(grid.CellAt(0, 1, 0), Empty) << "a block outside the field is left out, not aliased";
}

}  // namespace
