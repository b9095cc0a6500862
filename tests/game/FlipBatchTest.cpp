#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

#include "game/BoardPieces.h"
#include "game/FlightState.h"
#include "game/FlipBatch.h"
#include "game/GamePrinters.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/FrameRecord.h"
#include "render/Surface.h"
#include "render/Texture.h"
#include "rules/StageGrid.h"
#include "sound/SoundPlayer.h"
#include "support/DeviceFixture.h"

namespace {

class FlipBatchTest : public DeviceFixture {
protected:
    void SetUp() override
    {
        StartDevice(false);
        App().Audio().OpenLoopback();
        App().SetFrameRecord(&record);
        sound = SoundPlayer::Create(App());
        flips = std::make_unique<FlipBatch>(Device());
    }

    // The batch's glow target goes before the device it lives on.
    void TearDown() override
    {
        flips.reset();
        DeviceFixture::TearDown();
    }

    FrameRecord record;
    std::unique_ptr<SoundPlayer> sound;
    std::unique_ptr<FlipBatch> flips;
};

TEST_F(FlipBatchTest, OneBlackBlockRisesSpinsFallsAndTurnsWhiteAfter71Frames)
{
    EXPECT_EQ(flips->glowSource->GetSurface()->name, "glowSource");
    EXPECT_EQ(flips->glowSource->GetSurface()->width, 1280);

    auto block = std::make_shared<Block>(MapPosition{3, 2, 4}, BlockKind::Black);
    flips->Add(block);
    EXPECT_TRUE(flips->Update(*sound));
    EXPECT_EQ(record.sounds, (std::vector<std::string>{"music 0 volume -500", "effect 2 play"}));
    EXPECT_EQ(block->state, BlockState::Flipping);
    EXPECT_EQ(flips->entries[0].frame, 0) << "the first entry starts on the second call";

    for (int i = 0; i < 16; ++i)
        flips->Update(*sound);
    EXPECT_FLOAT_EQ(block->transform.position.y, 125.0f + 50.0f * (1.0f - 1.0f / 1024.0f));
    for (int i = 0; i < 20; ++i)
        flips->Update(*sound);
    EXPECT_FLOAT_EQ(flips->entries[0].pulse, 1.1f) << "the pulse peaks at frame 35";
    EXPECT_FLOAT_EQ(flips->entries[0].glowPower, 2.0f);

    for (int i = 0; i < 34; ++i)
        EXPECT_TRUE(flips->Update(*sound));
    EXPECT_EQ(block->kind, BlockKind::Black);
    EXPECT_FALSE(flips->Update(*sound)) << "the 71st animated frame turns it";
    EXPECT_EQ(block->kind, BlockKind::White);
    EXPECT_EQ(block->state, BlockState::Resting);
    EXPECT_FLOAT_EQ(block->transform.position.y, 125.0f);
    // Two full turns less a degree leave it at 719 degrees about x: level again to the eye.
    EXPECT_NEAR(block->transform.rotation(1, 1), 1.0f, 1e-3f);
    EXPECT_EQ(record.sounds.back(), "effect 8 play");

    record.Clear();
    EXPECT_FALSE(flips->Update(*sound));
    EXPECT_EQ(record.sounds, (std::vector<std::string>{"music 0 volume 0"}));
}

TEST_F(FlipBatchTest, AnEntryWhoseBlockIsGoneIsDropped)
{
    auto kept = std::make_shared<Block>(MapPosition{1, 0, 0}, BlockKind::HardBlack);
    auto gone = std::make_shared<Block>(MapPosition{2, 0, 0}, BlockKind::Black);
    flips->Add(kept);
    flips->Add(gone);
    flips->Update(*sound);
    gone.reset();
    for (int i = 0; i < 70; ++i)
        ASSERT_TRUE(flips->Update(*sound));
    ASSERT_EQ(flips->entries.size(), 1u);
    // The survivor took the front place and animates; it rises two cells, as queued second.
    EXPECT_EQ(flips->entries[0].height, 2);
    EXPECT_EQ(kept->kind, BlockKind::HardBlack);
    EXPECT_FALSE(flips->Update(*sound));
    EXPECT_EQ(kept->kind, BlockKind::Black);
    EXPECT_TRUE(flips->IsEmpty());
}

// A landing queues the Black and HardBlack blocks of the runs it closes, each
// at the front: the nearest block of the last direction searched animates
// first. A Bursting block closes a run but is not queued.
TEST_F(FlipBatchTest, ALandingQueuesTheTurnableBlocksOfItsRunsTheLastFoundFirst)
{
    using namespace BlockKind;
    BlockList blocks;
    for (const auto& [x, z, kind] : std::initializer_list<std::array<int, 3>>{
             {4, 5, Black}, {5, 5, White}, {2, 5, HardBlack}, {1, 5, White}, {3, 6, Bursting}, {3, 7, White},
             {3, 4, Black}, {3, 3, White}})
        blocks.push_back(std::make_shared<Block>(MapPosition{x, 0, z}, kind));
    StageGrid grid;
    RebuildGrid(grid, blocks, {25.0f, 25.0f, 25.0f});
    FlightState flight;
    EXPECT_TRUE(FindReversals(grid, blocks, {3, 0, 5}, *flips, flight));
    EXPECT_TRUE(flight.reversalFound);
    std::vector<MapPosition> queued;
    for (const FlipEntry& entry : flips->entries)
        queued.push_back(entry.block.lock()->mapCell);
    EXPECT_EQ(queued, (std::vector<MapPosition>{{3, 0, 4}, {2, 0, 5}, {4, 0, 5}}));

    flips->Clear();
    flight.reversalFound = false;
    EXPECT_FALSE(FindReversals(grid, blocks, {8, 0, 8}, *flips, flight));
    EXPECT_FALSE(flight.reversalFound);
    EXPECT_TRUE(flips->IsEmpty());
}

}  // namespace
