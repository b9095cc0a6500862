#include "game/FlipBatch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/BlockModels.h"
#include "game/GameSounds.h"
#include "math/Angles.h"
#include "render/GraphicsDevice.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"
#include "render/ShaderManager.h"
#include "render/Surface.h"
#include "render/Texture.h"
#include "rules/Field.h"
#include "sound/SoundPlayer.h"

namespace {

constexpr int BatchMusicVolume = -500;
constexpr int FullVolume = 0;
constexpr int EntryInterval = 5;
constexpr int LastRiseFrame = 15;
constexpr int LastSpinFrame = 62;
constexpr int LastPulseUpFrame = 35;
constexpr int FirstFallFrame = 56;
constexpr int LastFrame = 70;
constexpr double Pi = std::numbers::pi;
// Up to this frame a flipping block shows the side it had; after, the other.
constexpr int TurnOverFrame = 35;
constexpr std::uint32_t TransparentBlack = 0x00000000;
constexpr std::uint32_t OpaqueWhite = 0xFFFFFFFF;

int Shorter(int a, std::size_t b)
{
    return std::min(a, static_cast<int>(b));
}

// Two turns about x, eased in and out over the spin's frames.
Matrix SpinRotation(int frame)
{
    const double s = std::sin((frame - LastRiseFrame) * Pi / 96.0);
    const int degrees = static_cast<int>(s * 720.0);
    return Matrix::RotationYawPitchRoll(0.0f, static_cast<float>(degrees) * DegreesToRadians, 0.0f);
}

}  // namespace

FlipBatch::FlipBatch(GraphicsDevice& device) : glowSource(std::make_shared<Texture>(device))
{
    glowSource->CreateRenderTarget(device.BackBufferWidth(), device.BackBufferHeight(), TextureFormat::A16B16G16R16F,
                                   "glowSource");
}

FlipBatch::~FlipBatch() = default;

Matrix FlipBatch::TurnedRotation()
{
    return SpinRotation(LastSpinFrame);
}

void FlipBatch::Add(const std::shared_ptr<Block>& block, int becomes)
{
    FlipEntry entry;
    entry.block = block;
    entry.becomes = becomes;
    entry.baseY = std::trunc(block->transform.position.y);
    entries.push_front(entry);
}

bool FlipBatch::Update(SoundPlayer& sound)
{
    // A block that is gone has nothing left to turn over.
    std::erase_if(entries, [](const FlipEntry& entry) { return entry.block.expired(); });
    if (entries.empty()) {
        frameCounter = 0;
        active = 0;
        sound.SetMusicVolume(0, FullVolume);
        return false;
    }
    active = Shorter(active, entries.size());

    for (std::size_t i = 0; i < entries.size(); ++i) {
        Block& block = *entries[i].block.lock();
        if (block.state != BlockState::Flipping) {
            block.state = BlockState::Flipping;
            if (entries[i].height == 0)
                entries[i].height = static_cast<int>(i) + 1;
        }
    }

    // An entry that finishes is erased, and the loop moves on past the one
    // that took its place: that one waits until the next frame.
    for (int i = 0; i < active; ++i) {
        FlipEntry& entry = entries[i];
        const std::shared_ptr<Block> block = entry.block.lock();
        Animate(entry, *block);
        if (entry.frame <= LastFrame)
            continue;
        block->kind = entry.becomes;
        block->launched = 0;
        block->state = BlockState::Resting;
        PlayFlipDone(sound);
        entries.erase(entries.begin() + i);
        active = Shorter(active, entries.size());
    }

    if (entries.empty()) {
        frameCounter = 0;
        active = 0;
        return false;
    }
    if (frameCounter % EntryInterval == 0) {
        ++active;
        if (active == 1) {
            sound.SetMusicVolume(0, BatchMusicVolume);
            sound.PlayEffect(GameSound::BatchStart, false);
        }
        active = Shorter(active, entries.size());
    }
    ++frameCounter;
    return true;
}

void FlipBatch::Draw(const RenderContext& render, const std::shared_ptr<Texture>& glowTarget, bool& glowReady) const
{
    if (!glowTarget || !glowTarget->GetSurface())
        return;
    GraphicsDevice& device = render.device;
    Surface* entryTarget = device.GetRenderTarget();
    if (entries.empty()) {
        device.SetRenderTarget(glowTarget->GetSurface());
        device.Clear(true, false, TransparentBlack, 1.0f);
        device.SetRenderTarget(entryTarget);
    }
    ShaderManager& shaders = render.shaders;
    shaders.modelShader.SetLighting(true);

    // Without its source the glow target is never written, so it must never be added.
    if (glowSource->GetSurface()) {
        glowReady = true;
        // Only what the copies add beyond white survives the bright filter.
        device.SetRenderTarget(glowSource->GetSurface());
        device.Clear(true, false, OpaqueWhite, 1.0f);
        DrawGlowCopies(render);
        device.SetRenderTarget(entryTarget);

        device.SetRenderTarget(glowTarget->GetSurface());
        shaders.filterShader.DrawTechnique("BrightFiltering", *glowSource);
        device.SetRenderTarget(entryTarget);
    }

    for (const FlipEntry& entry : entries) {
        const std::shared_ptr<Block> block = entry.block.lock();
        if (!block)
            continue;
        shaders.modelShader.SetWorld(block->transform.world);
        const int shown = entry.frame <= TurnOverFrame ? block->kind : entry.becomes;
        shaders.modelShader.DrawToon(render.meshes.Get(BlockModel::Of(shown)));
    }
}

// Every copy is the white block's shape, whatever the block's kind, scaled
// about its own centre by the pulse; the depth test hides it behind what the
// frame has drawn so far. Its technique writes no depth: the copy is larger
// than its block, which is drawn after it.
void FlipBatch::DrawGlowCopies(const RenderContext& render) const
{
    ModelShader& shader = render.shaders.modelShader;
    for (const FlipEntry& entry : entries) {
        const std::shared_ptr<Block> block = entry.block.lock();
        if (!block || entry.frame < FirstGlowFrame || entry.frame > LastGlowFrame)
            continue;
        shader.SetWorld(Matrix::Scaling(entry.pulse, entry.pulse, entry.pulse) * block->transform.world);
        shader.DrawColor(render.meshes.Get(BlockModel::White), Color(1.0f), entry.glowPower);
    }
}

void FlipBatch::Animate(FlipEntry& entry, Block& block)
{
    const int f = entry.frame;
    const double rise = entry.height * Field::CellSize;
    Vector3& position = block.transform.position;
    if (f <= LastRiseFrame) {
        const int e = -10 * f / 15;
        position.y = static_cast<float>(rise * (1.0 - std::pow(2.0, e)) + entry.baseY);
    }
    if (f > LastRiseFrame && f <= LastSpinFrame) {
        block.transform.rotation = SpinRotation(f);
        if (f <= LastPulseUpFrame) {
            const double b = std::sin((f - LastRiseFrame) * Pi / 40.0);
            entry.pulse = static_cast<float>(0.6 * b + 0.5);
            entry.glowPower = static_cast<float>(0.5 * b + 1.5);
        } else {
            const double d = std::sin((f - LastPulseUpFrame) * Pi / 54.0);
            entry.pulse = static_cast<float>(1.1 - 0.6 * d);
            entry.glowPower = static_cast<float>(2.0 - 0.5 * d);
        }
    }
    if (f >= FirstFallFrame) {
        const double g = ((f - 55) / 15.0 - 1.0) * 10.0;
        position.y = static_cast<float>(std::trunc(rise + entry.baseY - rise * std::pow(2.0, g)));
    }
    block.transform.UpdateWorld();
    ++entry.frame;
}

void FlipBatch::PlayFlipDone(SoundPlayer& sound)
{
    sound.PlayEffect(GameSound::FirstFlipDone + soundIndex, false);
    soundIndex = (soundIndex + 1) % GameSound::FlipDoneCount;
}
