#pragma once

#include <vector>

#include "rules/Field.h"
#include "rules/LossReason.h"
#include "rules/MapPosition.h"
#include "rules/Piece.h"
#include "rules/Shots.h"

// A position of play as the rules see it: the blocks in list order (the
// stage's own, then every shot that stayed), the player's cell and facing,
// and the shots fired so far. How the blocks and the player are drawn, and
// where in a step the player is, belong to whoever shows them.
struct BoardPosition {
    std::vector<Piece> pieces;
    MapPosition player;
    int facing = Direction::MinusZ;
    int shots = 0;
    friend bool operator==(const BoardPosition&, const BoardPosition&) = default;
};

// Where a position stands: cleared, lost (and why), or still in play.
struct Standing {
    bool cleared = false;
    LossReason loss = LossReason::None;
    friend bool operator==(const Standing&, const Standing&) = default;
};

// The test after every turning over: a board of white blocks is cleared;
// otherwise the player is lost when walled in, or when no landing anywhere
// could close a run.
Standing Judge(const BoardPosition& position);
// The test a stage makes once, before its first frame: a black block with
// white blocks on all four sides can never be reached.
bool BlackBoxedIn(const BoardPosition& position);

// What one shot does.
struct ShotOutcome {
    // False when the cell in front of the player is taken or past the field's
    // edge: nothing is fired and next is the position as it was.
    bool fired = false;
    MapPosition launch;
    MapPosition landing;
    // What the landing turns over; empty when the shot dissolved.
    std::vector<TurnedPiece> turned;
    // The position once every turned block has turned, the shot counted and,
    // unless it dissolved, staying White in its landing cell.
    BoardPosition next;
    Standing standing;
};

// The shot the player fires from its cell toward its facing.
ShotOutcome Shoot(const BoardPosition& position);
