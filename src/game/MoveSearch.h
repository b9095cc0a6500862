#pragma once

#include <vector>

#include "game/Block.h"
#include "math/Vector3.h"

class Reverse;
class StageGrid;

// The neighbourhood searches the rules rest on: which blocks a landing turns
// over, and whether the player still has a useful move. All moves are
// horizontal; y only names the layer.

// The cells of every straight run of non-white blocks that starts next to
// landingCell and is closed by a White block: directions +x, -x, +z, -z, and
// within one the farthest cell first. Empty when the landing closes no run.
std::vector<MapPosition> ClosedRuns(const StageGrid& grid, const MapPosition& landingCell);

// Queues into reverse every Black and HardBlack block of ClosedRuns, in its
// order. Sets FlightState::reversalFound when a run was found, and returns
// whether one was.
bool FindReversals(const StageGrid& grid, const BlockList& blocks, const MapPosition& landingCell, Reverse& reverse);

// Whether a white block coming to rest in cell could turn anything over: the
// cell has a free horizontal neighbour and starts a run that a White block closes.
bool IsUsefulTarget(const StageGrid& grid, const MapPosition& cell);

// False when the player is walled in or no target is useful.
bool HasMove(const StageGrid& grid, const Vector3& playerPosition, const std::vector<MapPosition>& targets);
// Every horizontal neighbour of the player's cell is a block or the field edge.
bool IsWalledIn(const StageGrid& grid, const Vector3& playerPosition);
// Some target is useful (see IsUsefulTarget).
bool AnyUsefulTarget(const StageGrid& grid, const std::vector<MapPosition>& targets);

// The free cells next to every non-white block, thinned of neighbours in the
// same column. Only HasMove reads them, so their order does not matter.
std::vector<MapPosition> RebuildTargets(const BlockList& blocks, const StageGrid& grid);

// The targets at the start of a stage, taken from Black blocks only. Sets
// unwinnable when a Black block has White blocks on all four sides: nothing
// can ever land next to it.
std::vector<MapPosition> InitialTargets(const BlockList& blocks, const StageGrid& grid, bool& unwinnable);
