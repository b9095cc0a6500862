#include <gtest/gtest.h>

#include <cstdlib>

#include "assets/AssetFiles.h"
#include "game/Block.h"
#include "game/BlockBurst.h"
#include "game/CellShard.h"
#include "game/GamePrinters.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/FrameRecord.h"
#include "render/XFiles.h"
#include "rules/StageGrid.h"
#include "sound/SoundPlayer.h"
#include "support/DeviceFixture.h"

namespace {

class Particles : public DeviceFixture {
protected:
    void SetUp() override
    {
        StartDevice(false);
        App().Audio().OpenLoopback();
        App().SetFrameRecord(&record);
        directory.Write(ModelFile::WhiteBlock, XFiles::Cube(25.0f, {1, 1, 1, 1, ""}));
        sound = SoundPlayer::Create(App());
    }
    // Silent entries: enough of them for the burst sound at 17, or not.
    void AddEffects(int effects)
    {
        for (int i = 0; i < effects; ++i)
            sound->AddEffect("missing.wav");
    }
    static std::shared_ptr<Block> BurstingBlock()
    {
        auto block = std::make_shared<Block>(MapPosition{2, 6, 4}, BlockKind::White);
        block->bursting = true;
        return block;
    }
    void Update(Block& block, int frames)
    {
        for (int i = 0; i < frames; ++i)
            block.Update(sound.get());
    }

    FrameRecord record;
    std::unique_ptr<SoundPlayer> sound;
};

TEST_F(Particles, ABurstingBlockJumpsRisesSpinsAndBurstsOnce)
{
    AddEffects(18);
    const auto block = BurstingBlock();
    Update(*block, 1);
    ASSERT_NE(block->burst, nullptr);
    EXPECT_EQ(block->burst->emitter->particles.size(), 64u);
    EXPECT_EQ(block->transform.position.y, 50.0f) << "from any height";
    Update(*block, 1);
    EXPECT_EQ(block->transform.position.y, 50.0f);
    Update(*block, 1);
    EXPECT_EQ(block->transform.position.y, 100.0f);
    Update(*block, 13);
    EXPECT_EQ(block->transform.position.y, 149.90234375f);
    EXPECT_EQ(block->mapCell, (MapPosition{2, 2, 4}));

    Update(*block, 49);
    EXPECT_EQ(block->burst->frame, 65);
    const Vector3 untouched = block->burst->emitter->particles[0]->position;
    Update(*block, 1);
    EXPECT_EQ(block->burst->frame, 66);
    EXPECT_NE(block->burst->emitter->particles[0]->position, untouched);
    // The 4 × 4 × 4 cube about the centre of cell (2, 2, 4), off-centre toward +x, +y, +z.
    EXPECT_EQ(block->burst->emitter->particles[0]->position, (Vector3{157.0f, 157.0f, 257.0f}));
    EXPECT_EQ(block->burst->emitter->particles[63]->position, (Vector3{119.0f, 119.0f, 219.0f}));
    EXPECT_TRUE(record.sounds.empty());

    // The first burst frame has no speed yet; then the particles rush out and shrink.
    Update(*block, 1);
    const auto& particles = block->burst->emitter->particles;
    EXPECT_EQ(particles[0]->position, (Vector3{157.0f, 157.0f, 257.0f}));
    EXPECT_EQ(particles[0]->life, 29);
    Update(*block, 1);
    EXPECT_GT(particles[0]->position.x, 157.0f);
    EXPECT_FLOAT_EQ(particles[0]->scale.x, 29.0f / 30.0f * 0.25f);
    EXPECT_EQ(record.sounds, (std::vector<std::string>{"effect 17 play"}));

    Update(*block, 27);
    EXPECT_EQ(particles.size(), 64u);
    Update(*block, 1);
    EXPECT_TRUE(particles.empty()) << "a burst lasts 30 frames";
    Update(*block, 5);
    EXPECT_EQ(block->burst->burstFrame, 35);
    EXPECT_EQ(record.sounds.size(), 1u);
}

TEST_F(Particles, TheBurstIsSilentWithoutItsSoundInTheList)
{
    AddEffects(17);
    const auto block = BurstingBlock();
    Update(*block, 70);
    EXPECT_TRUE(record.sounds.empty());
}

TEST_F(Particles, OnlyBurstingBlocksMove)
{
    auto block = std::make_shared<Block>(MapPosition{2, 6, 4}, BlockKind::Black);
    Update(*block, 70);
    EXPECT_EQ(block->transform.position, (Vector3{125.0f, 325.0f, 225.0f}));
    EXPECT_EQ(block->burst->frame, 0);
}

TEST_F(Particles, MeshParticleWorldIsScaleThenRotationThenTranslation)
{
    MeshParticle particle;
    particle.scale = {2.0f, 3.0f, 4.0f};
    particle.position = {10.0f, 20.0f, 30.0f};
    const Vector3 corner = TransformCoord({1.0f, 1.0f, 1.0f}, particle.WorldMatrix());
    EXPECT_EQ(corner, (Vector3{12.0f, 23.0f, 34.0f}));
}

TEST(CellShards, EachGroupOfFourRandomNumbersUsesThreeAndDropsTheFourth)
{
    // The generator is never seeded, which is the same as seeding it with 1.
    std::srand(1);
    const CellShard shard;
    const int afterShard = std::rand();
    std::srand(1);
    int r[10];
    for (int& v : r)
        v = std::rand();
    EXPECT_EQ(shard.lifetime, 20 + r[0] % 10);
    EXPECT_EQ(shard.velocity, (Vector3{(r[1] % 3 - 1) * 2.0f, (r[2] % 3 - 1) * 2.0f, (r[3] % 3 - 1) * 2.0f}));
    EXPECT_FLOAT_EQ(shard.spin.x, (r[5] % 100 + 1) * 0.01f);
    EXPECT_FLOAT_EQ(shard.spin.z, (r[7] % 100 + 1) * 0.01f);
    EXPECT_EQ(afterShard, r[9]) << "nine draws per shard";
}

TEST(CellShards, AFlyingShardFadesAndRestsAfterItsLifetime)
{
    ShardArray shards;
    LaunchShards(shards, Matrix::Translation(475.0f, 25.0f, 25.0f));
    CellShard& top = shards[4 * 25 + 5 * 2 + 3];
    EXPECT_EQ(top.position, (Vector3{480.0f, 50.0f, 20.0f})) << "face 4, row 2, column 3";
    EXPECT_EQ(shards[3 * 25 + 5 * 1 + 4].position, (Vector3{500.0f, 10.0f, 40.0f})) << "face 3 takes (row, column) as (y, z)";
    const Vector3 start = top.position;
    EXPECT_TRUE(StepShards(shards));
    EXPECT_EQ(top.position, start + top.velocity);
    EXPECT_FLOAT_EQ(top.alpha, 1.0f - 1.0f / static_cast<float>(top.lifetime));
    for (int i = 1; i < top.lifetime; ++i)
        StepShards(shards);
    EXPECT_FALSE(top.visible);
    EXPECT_EQ(top.frame, 0);
    for (int i = 0; i < 10; ++i)
        StepShards(shards);
    EXPECT_FALSE(StepShards(shards));
}

}  // namespace
