#pragma once

#include <memory>

#include "game/ParticleEmitter3D.h"

class Block;
class SoundPlayer;
struct RenderContext;

// What a block does once the clear sequence sets it bursting: it jumps up,
// spins almost twice about x over 66 frames, then flies apart into 64 small
// cubes that rush outward and shrink away over 30 frames. Every block makes
// one on its first update; it runs only while the block is bursting.
class BlockBurst {
public:
    static constexpr int ParticleCount = 64;
    static constexpr int LastRiseFrame = 65;

    explicit BlockBurst(std::weak_ptr<Block> owner);

    // One frame of the rise-and-spin, or of the burst (with its sound, once,
    // when there is a sound object).
    void Update(SoundPlayer* sound);
    // While rising and spinning, the block as a white block under the world
    // matrix its Block::Draw has just set; after, the particles, each a small
    // white block.
    void Draw(const RenderContext& render) const;

    std::shared_ptr<ParticleEmitter3D> emitter;
    std::weak_ptr<Block> block;
    // Frames of the rise-and-spin; stays at 66 once the burst has begun.
    int frame = 0;
    int burstFrame = 0;
    bool soundPlayed = false;

private:
    void Rise(Block& owner);
    void Burst(const Block& owner, SoundPlayer* sound);
    // Lays the particles out as a 4 × 4 × 4 cube in the block's cell.
    void PlaceParticles(const Block& owner);
};
