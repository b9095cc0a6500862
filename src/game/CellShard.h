#pragma once

#include <array>
#include <memory>

#include "math/Matrix.h"
#include "math/Vector3.h"

class GraphicsDevice;
class Texture;

// One of the 150 squares (5 × 5 on each of the six faces) into which a shot
// that turned nothing over dissolves: it drifts, tumbles and fades for its
// lifetime. The Game owns them all, indexed face × 25 + row × 5 + column.
struct CellShard {
    // Draws its lifetime (20 to 29 frames, kept for good), then Randomize.
    CellShard();

    // A new velocity (each axis -2, 0 or 2) and spin (0.01 to 1 degree a frame).
    void Randomize();
    // While flying: the 10 × 10 square showing cell (u, v) of the texture's
    // 5 × 5 division, faded by alpha.
    void Draw(GraphicsDevice& device, const std::shared_ptr<Texture>& texture, int u, int v) const;

    Vector3 position{0.0f};
    // Degrees: x pitch, y yaw, z roll.
    Vector3 rotation{0.0f};
    Vector3 velocity{0.0f};
    Vector3 spin{0.0f};
    int frame = 0;
    int lifetime = 20;
    float alpha = 0.0f;
    bool visible = false;
};

constexpr int ShardCount = 150;
using ShardArray = std::array<CellShard, ShardCount>;

// Breaks the block whose world matrix is given into shards: new random motion
// for all, then each takes its place on its face. Shards still flying from an
// earlier launch keep counting their frames.
void LaunchShards(ShardArray& shards, const Matrix& blockWorld);
// One frame of every flying shard. True when any was flying at the start.
bool StepShards(ShardArray& shards);
// Every flying shard, in index order, each with its own cell of the texture.
void DrawShards(GraphicsDevice& device, const ShardArray& shards, const std::shared_ptr<Texture>& texture);
