#pragma once

#include <memory>
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

    // Once a frame: makes the burst on the first call, moves the launched
    // block (it stops at the first occupied cell or the field edge and the
    // scene is told through flight), runs the burst while Bursting, and
    // recomputes the world matrix and mapCell. Without sound (the editor's
    // blocks) it plays nothing.
    void Update(const StageGrid& grid, FlightState& flight, SoundPlayer* sound);
    // For a flight toward direction: 1 when candidate is free, 0 when the
    // block must stop (at the field edge candidate is clamped).
    int Collide(const StageGrid& grid, int direction, Vector3& candidate) const;

    // The block's own look, glowing at full strength; a Bursting block draws
    // its burst instead. A block the FlipBatch holds is left to the FlipBatch.
    void Draw(const RenderContext& render) const;
    // The game-over look: the opposite colour's model, toon-shaded, flipping
    // or not. A Bursting block draws nothing.
    void DrawInverted(const RenderContext& render) const;

    Transform transform;
    std::unique_ptr<BlockBurst> burst;
    int kind = BlockKind::White;
    int launched = 0;
    int state = BlockState::Resting;
    // Movement records of the stage file: carried and saved, not played.
    std::vector<Vector3> moves;
    std::vector<int> frames;
    MapPosition mapCell;
};

using BlockList = std::vector<std::shared_ptr<Block>>;
