#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "game/Block.h"
#include "game/CellShard.h"
#include "game/FlameBlock.h"
#include "game/FlightState.h"
#include "game/Player.h"
#include "rules/BoardPosition.h"
#include "rules/StageGrid.h"

class FlipBatch;
class GraphicsDevice;

// What the shot being charged will do, shown before it is fired.
struct AimPreview {
    MapPosition landing;
    // What it will turn over; empty when it will dissolve.
    std::vector<TurnedPiece> turned;
};

// What stands on the board in play, as it moves frame by frame: the blocks,
// the player, the launch marker, the shot in flight, the blocks turning over
// and the shards of a shot that dissolved, with the grid the rules read. The
// Game runs it, its view draws it, and undo lays it out from a position.
struct PlayBoard {
    // Makes the flip batch's glow target on device.
    explicit PlayBoard(GraphicsDevice& device);
    ~PlayBoard();

    // The position as the rules see it: the blocks in the cells they lie
    // in, the player's cell and facing, the shots fired.
    BoardPosition Position() const;
    // No shot in flight or waiting to be resolved, and nothing turning over.
    bool AtRest() const;
    // While the player charges on a board at rest and the shot can be
    // launched: where it will land and what it will turn over.
    std::optional<AimPreview> Aim() const;
    // The grid rebuilt from the blocks and the player where they stand now.
    void RebuildGrid();
    // The blocks and the player as position and pose have them, at rest:
    // nothing in flight, no shard, no launch marker. Blocks are only ever
    // appended (a shot that stays) or taken off the end (one that
    // dissolves), so the blocks of another position of the same stage are
    // the first ones, or these and the shots that stayed since.
    void Lay(const BoardPosition& position, const PlayerPose& pose);

    StageGrid grid;
    Player player;
    BlockList blocks;
    // The kinds of the stage's blocks as it started; a block whose kind has
    // changed since has turned over, and keeps the tilt its spin left it.
    std::vector<int> startKinds;
    FlameBlock flame;
    std::shared_ptr<FlipBatch> flips;
    ShardArray shards;
    FlightState flight;
    bool shardsFlying = false;
};
