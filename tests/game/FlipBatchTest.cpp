#include <gtest/gtest.h>


#include "game/FlipBatch.h"
#include "game/GamePrinters.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/FrameRecord.h"
#include "render/Surface.h"
#include "render/Texture.h"
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
    flips->Add(block, BlockKind::White);
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
    flips->Add(kept, BlockKind::Black);
    flips->Add(gone, BlockKind::White);
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

}  // namespace
