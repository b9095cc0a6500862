#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/AssetFiles.h"
#include "game/Block.h"
#include "game/BlockBurst.h"
#include "game/CellShard.h"
#include "game/FlipBatch.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "render/GraphicsDevice.h"
#include "render/ShaderManager.h"
#include "render/Texture.h"
#include "render/TextureCache.h"
#include "render/XFiles.h"
#include "rules/StageGrid.h"
#include "sound/SoundPlayer.h"
#include "support/DeviceFixture.h"
#include "support/DrawDescription.h"

namespace {

using namespace BlockKind;

const std::string WhiteMesh = "mesh " + std::string(ModelFile::WhiteBlock);
const std::string BlackMesh = "mesh " + std::string(ModelFile::BlackBlock);
const std::string HardMesh = "mesh " + std::string(ModelFile::HardBlock);
const std::string HardInvertedMesh = "mesh " + std::string(ModelFile::HardBlockInverted);

// Blocks, flipping blocks, bursts and shards drawn on the recording device.
class BlockDraw : public DeviceFixture {
protected:
    void SetUp() override
    {
        StartDevice(false);
        for (const char* model :
             {ModelFile::WhiteBlock, ModelFile::BlackBlock, ModelFile::HardBlock, ModelFile::HardBlockInverted})
            directory.Write(model, XFiles::Cube(25.0f, {1, 1, 1, 1, ""}));
    }

    static std::shared_ptr<Block> MakeBlock(int kind, int x = 2)
    {
        return std::make_shared<Block>(MapPosition{x, 0, 3}, kind);
    }

    // Queues a flipping block at the given frame of its animation.
    static void Queue(FlipBatch& flips, const std::shared_ptr<Block>& block, int frame, float pulse = 1.0f,
                      float glowPower = 1.5f)
    {
        flips.Add(block, BlockKind::TurnedOver(block->kind));
        FlipEntry& entry = flips.entries.front();
        entry.frame = frame;
        entry.pulse = pulse;
        entry.glowPower = glowPower;
        block->state = BlockState::Flipping;
    }

    std::vector<std::string> DrawFlips(const FlipBatch& flips, bool& glowReady)
    {
        GraphicsDevice& device = Device();
        device.SetRenderTarget(Shaders().sceneTarget->GetSurface());
        draws.clear();
        flips.Draw(Render(), Shaders().glowTarget, glowReady);
        return Described(draws);
    }

    std::vector<std::string> Draw(const Block& block, bool inverted)
    {
        draws.clear();
        if (inverted)
            block.DrawInverted(Render());
        else
            block.Draw(Render());
        return Described(draws);
    }
};

TEST_F(BlockDraw, EachKindDrawsItsOwnModelAndTheGameOverLookTheOppositeColour)
{
    struct Case {
        int kind;
        bool bursting;
        std::vector<std::string> normal, inverted;
    };
    const Case cases[] = {
        {White, false, {WhiteMesh + " Glow"}, {BlackMesh + " Toon"}},
        {Black, false, {BlackMesh + " Glow"}, {WhiteMesh + " Toon"}},
        {HardBlack, false, {HardMesh + " Glow"}, {HardInvertedMesh + " Toon"}},
        {White, true, {WhiteMesh + " Toon"}, {}},
        {7, false, {}, {}},
    };
    for (const Case& c : cases) {
        auto block = MakeBlock(c.kind);
        block->bursting = c.bursting;
        if (c.bursting)
            block->burst = std::make_unique<BlockBurst>(block);
        EXPECT_EQ(Draw(*block, false), c.normal) << "kind " << c.kind;
        EXPECT_EQ(Draw(*block, true), c.inverted) << "kind " << c.kind;
        if (!draws.empty()) {
            EXPECT_EQ(draws[0].matrix, Matrix::Translation(125, 25, 175));
        }
    }
}

TEST_F(BlockDraw, AFlippingBlockIsLeftToItsFlipBatchButShownInTheGameOverLook)
{
    auto block = MakeBlock(Black);
    block->state = BlockState::Flipping;
    EXPECT_TRUE(Draw(*block, false).empty());
    EXPECT_EQ(Draw(*block, true), std::vector<std::string>{WhiteMesh + " Toon"});
}

TEST_F(BlockDraw, GlowCopiesAreDrawnOnlyInTheGlowingFramesScaledAboutTheBlock)
{
    FlipBatch flips(Device());
    std::vector<std::shared_ptr<Block>> blocks;
    const int frames[] = {14, 15, 54, 55};
    const float pulses[] = {0.5f, 0.6f, 0.7f, 0.8f};
    for (int i = 0; i < 4; ++i) {
        blocks.push_back(MakeBlock(Black, i));
        Queue(flips, blocks.back(), frames[i], pulses[i], 1.5f + 0.1f * static_cast<float>(i));
    }
    bool glowReady = false;
    // Newest first: frames 55, 54, 15, 14.
    EXPECT_EQ(DrawFlips(flips, glowReady),
              (std::vector<std::string>{"target glowSource", WhiteMesh + " Color", WhiteMesh + " Color",
                                        "target sceneTarget", "target glowTarget", "quad BrightFiltering 1280x720",
                                        "target sceneTarget", WhiteMesh + " Toon", WhiteMesh + " Toon", BlackMesh + " Toon",
                                        BlackMesh + " Toon"}));
    EXPECT_TRUE(glowReady);
    EXPECT_EQ(draws[1].matrix, Matrix::Scaling(0.7f, 0.7f, 0.7f) * blocks[2]->transform.world);
    EXPECT_EQ(draws[2].matrix, Matrix::Scaling(0.6f, 0.6f, 0.6f) * blocks[1]->transform.world);
    const Effect& model = *Shaders().modelShader.effect;
    EXPECT_FLOAT_EQ(std::get<float>(*model.Find("g_MeshPow")), 1.6f) << "the last copy's strength";
    EXPECT_EQ(std::get<glm::vec4>(*model.Find("g_MeshColor")), glm::vec4(1.0f));
}

TEST_F(BlockDraw, AFlippingBlockShowsTheSideItHadUpToFrame35AndTheOtherSideAfter)
{
    FlipBatch flips(Device());
    std::vector<std::shared_ptr<Block>> blocks = {MakeBlock(HardBlack, 1), MakeBlock(HardBlack, 2), MakeBlock(Black, 3),
                                                  MakeBlock(Black, 4)};
    const int frames[] = {36, 35, 36, 35};
    for (std::size_t i = 0; i < blocks.size(); ++i)
        Queue(flips, blocks[i], frames[i]);
    bool glowReady = false;
    const auto all = DrawFlips(flips, glowReady);
    // After the bright filter: Black 35, Black 36, HardBlack 35, HardBlack 36.
    EXPECT_EQ(std::vector<std::string>(all.end() - 4, all.end()),
              (std::vector<std::string>{BlackMesh + " Toon", WhiteMesh + " Toon", HardMesh + " Toon", BlackMesh + " Toon"}));
    EXPECT_EQ(draws.back().matrix, blocks[0]->transform.world);
}

TEST_F(BlockDraw, WithNothingFlippingTheGlowIsEmptiedAndWithoutAGlowTargetNothingIsDrawn)
{
    FlipBatch flips(Device());
    bool glowReady = false;
    EXPECT_EQ(DrawFlips(flips, glowReady),
              (std::vector<std::string>{"target glowTarget", "target sceneTarget", "target glowSource",
                                        "target sceneTarget", "target glowTarget", "quad BrightFiltering 1280x720",
                                        "target sceneTarget"}));
    EXPECT_TRUE(glowReady);

    Shaders().glowTarget->Release();
    glowReady = false;
    Queue(flips, MakeBlock(Black), 20);
    EXPECT_TRUE(DrawFlips(flips, glowReady).empty());
    EXPECT_FALSE(glowReady);
}

TEST_F(BlockDraw, WithoutItsGlowSourceAFlippingBlockIsDrawnButNoGlowIsEverAdded)
{
    FlipBatch flips(Device());
    flips.glowSource->Release();
    const auto block = MakeBlock(Black);
    Queue(flips, block, 20);
    bool glowReady = false;
    EXPECT_EQ(DrawFlips(flips, glowReady), (std::vector<std::string>{BlackMesh + " Toon"}));
    EXPECT_FALSE(glowReady) << "the glow target was never written";
}

TEST_F(BlockDraw, ABurstingBlockRisesAsAWhiteBlockThenDrawsItsParticlesUntilTheyAreGone)
{
    App().Audio().OpenLoopback();
    const auto sound = SoundPlayer::Create(App());
    auto block = MakeBlock(White);
    block->bursting = true;
    block->Update(sound.get());
    EXPECT_EQ(Draw(*block, false), std::vector<std::string>{WhiteMesh + " Toon"});
    EXPECT_EQ(draws[0].matrix, block->transform.world);

    // Frame 66 places the particles: the next draw already shows them.
    for (int i = 1; i < 66; ++i)
        block->Update(sound.get());
    ASSERT_EQ(block->burst->frame, 66);
    const auto particles = Draw(*block, false);
    ASSERT_EQ(particles.size(), 64u);
    EXPECT_EQ(particles[0], WhiteMesh + " Glow");
    EXPECT_EQ(draws[0].matrix, block->burst->emitter->particles[0]->WorldMatrix());
    EXPECT_FLOAT_EQ(draws[0].matrix(0, 0), 0.25f);

    for (int i = 0; i < 30; ++i)
        block->Update(sound.get());
    EXPECT_TRUE(Draw(*block, false).empty()) << "a burst block is gone";
}

TEST_F(BlockDraw, EachShardShowsItsOwnCellOfTheTextureWithTheXSidesTurned)
{
    const auto texture = Textures().Get(ImageFile::ShardFace);
    ShardArray shards;
    LaunchShards(shards, Matrix::Translation(125, 25, 175));
    StepShards(shards);
    shards[0].visible = false;
    draws.clear();
    DrawShards(Device(), shards, texture);

    ASSERT_EQ(draws.size(), 149u);
    const auto cell = [&](int shard) {
        // Shard 0 is hidden, so shard n is draw n - 1.
        const DrawRecord& draw = draws[static_cast<std::size_t>(shard - 1)];
        EXPECT_EQ(Describe(draw), "fixed quadXZ");
        EXPECT_EQ(draw.texture, ImageFile::ShardFace);
        EXPECT_EQ(draw.argb >> 24, static_cast<std::uint32_t>(shards[shard].alpha * 255.0f));
        EXPECT_EQ(draw.matrix.TranslationRow(), shards[shard].position);
        return *draw.textureArea;
    };
    const auto near = [](const std::array<float, 4>& area, float l, float t) {
        EXPECT_NEAR(area[0], l, 1e-6f);
        EXPECT_NEAR(area[1], t, 1e-6f);
        EXPECT_NEAR(area[2], l + 0.2f, 1e-6f);
        EXPECT_NEAR(area[3], t + 0.2f, 1e-6f);
    };
    // Row 1, column 3: (u, v) = (column, row), but (row, column) on faces 2 and 3.
    near(cell(0 * 25 + 5 * 1 + 3), 0.6f, 0.2f);
    near(cell(2 * 25 + 5 * 1 + 3), 0.2f, 0.6f);
    near(cell(3 * 25 + 5 * 4 + 0), 0.8f, 0.0f);
    near(cell(5 * 25 + 5 * 4 + 0), 0.0f, 0.8f);
}

}  // namespace
