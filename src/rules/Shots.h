#pragma once

#include <vector>

#include "math/Vector3.h"
#include "rules/MapPosition.h"

class StageGrid;

// Where a shot appears, where it comes to rest, and what its landing turns
// over. All moves are horizontal; y only names the layer.

// The cell next to cell toward direction (Direction codes).
MapPosition NextCell(const MapPosition& cell, int direction);

// The cell next to the player's cell in the facing direction, where a shot appears.
MapPosition LaunchCell(const Vector3& playerPosition, int facing);
// Whether a shot can appear in the cell: inside the field and empty.
bool CanLaunch(const StageGrid& grid, const MapPosition& cell);

// Where a shot fired from launch toward direction comes to rest: it moves on
// while the cell ahead is inside the field and empty, as a flying block's
// collision test lets it frame by frame.
MapPosition LandingCell(const StageGrid& grid, const MapPosition& launch, int direction);

// The cells of every straight run of blocks that turn over (BlockKind::TurnsOver)
// that starts next to landingCell and is closed by a White block: directions
// +x, -x, +z, -z, and within one the farthest cell first. Empty when the
// landing closes no run.
std::vector<MapPosition> ClosedRuns(const StageGrid& grid, const MapPosition& landingCell);

// One block a landing turns over: its place in the grid's block list, its
// cell, and the kind it becomes.
struct TurnedPiece {
    int index = 0;
    MapPosition cell;
    int becomes = 0;
    friend bool operator==(const TurnedPiece&, const TurnedPiece&) = default;
};

// The turning over a shot that came to rest in landingCell makes: every
// block of the runs it closes, in ClosedRuns' order, with what it becomes.
// Empty when it closes none: the shot dissolves. The grid is the board
// without the shot.
std::vector<TurnedPiece> TurnOver(const StageGrid& grid, const MapPosition& landingCell);
