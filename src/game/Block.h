#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "game/BlockState.h"
#include "math/Vector3.h"
#include "render/Transform.h"
#include "rules/BlockKind.h"
#include "rules/MapPosition.h"

class BlockBurst;
class SoundPlayer;
class StageGrid;
struct FlightState;
struct RenderContext;

// One block of the stage: loaded from the stage file, fired by the player or
// laid by the editor. Always owned through shared pointers; its BlockBurst and
// FlipBatch entries keep weak links back.
class Block : public std::enable_shared_from_this<Block> {
public:
    // A cell of the field, as grid coordinates.
    using MapPosition = ::MapPosition;

    // A resting block at the centre of cell, its world matrix already set.
    Block(const MapPosition& cell, int kind);
    ~Block();

    // A frame of the shot's flight, when this block is the shot in flight: it
    // moves on, or stops at the first occupied cell or the field edge, snaps
    // to that cell's centre and returns the cell it came to rest in.
    std::optional<MapPosition> Fly(const StageGrid& grid, const FlightState& flight, SoundPlayer* sound);
    // Once a frame, after Fly: makes the burst on the first call, runs it
    // once bursting, and recomputes the world matrix and mapCell. Without
    // sound (the editor's blocks) it plays nothing.
    void Update(SoundPlayer* sound);
    // For a flight toward direction: 1 when candidate is free, 0 when the
    // block must stop (at the field edge candidate is clamped).
    int Collide(const StageGrid& grid, int direction, Vector3& candidate) const;

    // The block's own look, glowing at full strength; a bursting block draws
    // its burst instead. A block the FlipBatch holds is left to the FlipBatch.
    void Draw(const RenderContext& render) const;
    // The game-over look: the opposite colour's model, toon-shaded, flipping
    // or not. A bursting block draws nothing.
    void DrawInverted(const RenderContext& render) const;

    Transform transform;
    std::unique_ptr<BlockBurst> burst;
    int kind = BlockKind::White;
    int launched = 0;
    int state = BlockState::Resting;
    // Set by the clear sequence: the block rises and bursts into particles.
    bool bursting = false;
    // Movement records of the stage file: carried and saved, not played.
    std::vector<Vector3> moves;
    std::vector<int> frames;
    MapPosition mapCell;
};

using BlockList = std::vector<std::shared_ptr<Block>>;
