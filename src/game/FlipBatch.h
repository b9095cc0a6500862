#pragma once

#include <deque>
#include <memory>

#include "game/Block.h"

class GraphicsDevice;
class SoundPlayer;
class Texture;
struct RenderContext;

// One block being turned over.
struct FlipEntry {
    std::weak_ptr<Block> block;
    // The kind it shows from the turn-over point on, and keeps.
    int becomes = 0;
    // Frames animated so far.
    int frame = 0;
    // The resting height it falls back to.
    float baseY = 0.0f;
    // Scale and strength of the block's glow copy.
    float pulse = 0.0f;
    float glowPower = 1.0f;
    // Cells it rises; set when the batch starts.
    int height = 0;
};

// The Game's queue of blocks a landing turns over. Each block rises, spins
// twice and falls back over 71 frames, the next one starting 5 frames after
// it, and then takes the kind the rules said it becomes: the batch animates,
// it decides nothing. The music is turned down while a batch runs.
class FlipBatch {
public:
    // The frames in which a flipping block casts its glow copy.
    static constexpr int FirstGlowFrame = 15;
    static constexpr int LastGlowFrame = 54;

    // Makes glowSource, a floating-point target of the back buffer's size.
    explicit FlipBatch(GraphicsDevice& device);
    ~FlipBatch();

    // How a block that has turned over rests: the spin stops a degree short
    // of its two full turns.
    static Matrix TurnedRotation();

    // Queues block at the front, to become the kind becomes: the last one
    // added animates first.
    void Add(const std::shared_ptr<Block>& block, int becomes);
    // One frame of the batch. False when nothing is (left) to turn over.
    bool Update(SoundPlayer& sound);
    bool IsEmpty() const { return entries.empty(); }
    void Clear() { entries.clear(); }
    // Into glowTarget: the glow of the blocks in their glowing frames, as what
    // outshines white in glowSource. Then the flipping blocks themselves into
    // the current target, black side up until the turn-over point. Raises
    // glowReady once glowTarget has been written; without a glowTarget it
    // does nothing at all.
    void Draw(const RenderContext& render, const std::shared_ptr<Texture>& glowTarget, bool& glowReady) const;

    // Newest first.
    std::deque<FlipEntry> entries;
    // Where the glow copies of the flipping blocks are drawn.
    std::shared_ptr<Texture> glowSource;

private:
    void DrawGlowCopies(const RenderContext& render) const;
    void Animate(FlipEntry& entry, Block& block);
    // The sound of a finished flip: five buffers of one sound in turn, so
    // quick flips overlap instead of cutting each other off.
    void PlayFlipDone(SoundPlayer& sound);

    int active = 0;
    int frameCounter = 0;
    int soundIndex = 0;
};
