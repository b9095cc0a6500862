#include "game/CellShard.h"
#include "math/Angles.h"

#include <algorithm>
#include <cstdlib>

#include "render/DrawQuadXZ.h"
#include "render/GraphicsDevice.h"
#include "rules/Field.h"

namespace {

constexpr int MinLifetime = 20;
constexpr int LifetimeSpread = 10;
constexpr float ShardSpacing = 10.0f;
constexpr float FaceOffset = 25.0f;
constexpr int ShardsPerRow = 5;
constexpr int ShardsPerFace = ShardsPerRow * ShardsPerRow;
constexpr int FaceCount = 6;
constexpr int ShardSize = 10;
// The part of the texture one shard shows: a fifth of it each way.
constexpr float TextureCell = 0.2f;
constexpr float Opaque = 255.0f;

// Random numbers come in groups of four; the game uses three of each.
std::array<int, 3> DrawThree()
{
    const int a = std::rand();
    const int b = std::rand();
    const int c = std::rand();
    std::rand();
    return {a, b, c};
}

struct Face {
    Vector3 corner;    // direction of the face's corner from the block centre
    Vector3 rotation;  // degrees
};

// The +z and -z sides stand up, -x and +x are rolled, top and bottom lie flat.
const Face Faces[FaceCount] = {
    {{-1, -1, 1}, {90, 0, 0}},  {{-1, -1, -1}, {90, 0, 0}}, {{-1, -1, -1}, {0, 0, 90}},
    {{1, -1, -1}, {0, 0, 90}},  {{-1, 1, -1}, {0, 0, 0}},   {{-1, -1, -1}, {0, 0, 0}},
};

// Where shard (row, column) lies on face f, in shard widths.
Vector3 GridOffset(int f, int row, int column)
{
    const float r = static_cast<float>(row);
    const float k = static_cast<float>(column);
    if (f < 2)
        return {k, r + 1.0f, 0.0f};
    if (f < 4)
        return {0.0f, r, k};
    return {k, 0.0f, r};
}

}  // namespace

CellShard::CellShard()
{
    lifetime = MinLifetime + std::rand() % LifetimeSpread;
    Randomize();
}

void CellShard::Randomize()
{
    const std::array<int, 3> r = DrawThree();
    velocity = {static_cast<float>((r[0] % 3 - 1) * 2), static_cast<float>((r[1] % 3 - 1) * 2),
                static_cast<float>((r[2] % 3 - 1) * 2)};
    const std::array<int, 3> s = DrawThree();
    spin = {static_cast<float>((s[0] % 100 + 1) * 0.01), static_cast<float>((s[1] % 100 + 1) * 0.01),
            static_cast<float>((s[2] % 100 + 1) * 0.01)};
}

void CellShard::Draw(GraphicsDevice& device, const std::shared_ptr<Texture>& texture, int u, int v) const
{
    if (!visible)
        return;
    device.SetTexture(texture.get());
    const Matrix world = Matrix::RotationYawPitchRoll(rotation.y * DegreesToRadians, rotation.x * DegreesToRadians,
                                                      rotation.z * DegreesToRadians) *
                         Matrix::Translation(position);
    const float left = static_cast<float>(u) * TextureCell;
    const float top = static_cast<float>(v) * TextureCell;
    DrawQuadXZ(device, {0, 0, ShardSize, ShardSize}, world, {left, top, left + TextureCell, top + TextureCell}, alpha * Opaque);
}

void LaunchShards(ShardArray& shards, const Matrix& blockWorld)
{
    for (CellShard& shard : shards)
        shard.Randomize();
    const Vector3 centre = blockWorld.TranslationRow();
    for (int f = 0; f < FaceCount; ++f) {
        for (int row = 0; row < ShardsPerRow; ++row) {
            for (int column = 0; column < ShardsPerRow; ++column) {
                CellShard& shard = shards[ShardsPerFace * f + ShardsPerRow * row + column];
                shard.position = centre + FaceOffset * Faces[f].corner + ShardSpacing * GridOffset(f, row, column);
                shard.rotation = Faces[f].rotation;
                shard.visible = true;
            }
        }
    }
}

bool StepShards(ShardArray& shards)
{
    bool anyVisible = false;
    for (CellShard& shard : shards) {
        if (!shard.visible)
            continue;
        anyVisible = true;
        shard.position += shard.velocity;
        shard.rotation += shard.spin;
        ++shard.frame;
        shard.alpha = std::min(1.0f, 1.0f - static_cast<float>(shard.frame) / static_cast<float>(shard.lifetime));
        if (shard.frame >= shard.lifetime) {
            shard.frame = 0;
            shard.visible = false;
        }
    }
    return anyVisible;
}

void DrawShards(GraphicsDevice& device, const ShardArray& shards, const std::shared_ptr<Texture>& texture)
{
    for (int f = 0; f < FaceCount; ++f) {
        // The x sides are rolled a quarter turn, so they take the texture
        // with row and column swapped.
        const bool rolled = f == 2 || f == 3;
        for (int row = 0; row < ShardsPerRow; ++row) {
            for (int column = 0; column < ShardsPerRow; ++column) {
                const CellShard& shard = shards[ShardsPerFace * f + ShardsPerRow * row + column];
                shard.Draw(device, texture, rolled ? row : column, rolled ? column : row);
            }
        }
    }
}
