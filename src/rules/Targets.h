#pragma once

#include <span>
#include <vector>

#include "rules/MapPosition.h"
#include "rules/Piece.h"

class StageGrid;

// Whether the player still has a useful move: the tests that decide a stage is lost.

// Whether a white block coming to rest in cell could turn anything over: the
// cell has a free horizontal neighbour and starts a run that a White block closes.
bool IsUsefulTarget(const StageGrid& grid, const MapPosition& cell);

// False when the player is walled in or no target is useful.
bool HasMove(const StageGrid& grid, const MapPosition& player, const std::vector<MapPosition>& targets);
// Every horizontal neighbour of the player's cell is a block or the field edge.
bool IsWalledIn(const StageGrid& grid, const MapPosition& player);
// Some target is useful (see IsUsefulTarget).
bool AnyUsefulTarget(const StageGrid& grid, const std::vector<MapPosition>& targets);

// The free cells next to every non-white piece, thinned of neighbours in the
// same column. Only HasMove reads them, so their order does not matter.
std::vector<MapPosition> RebuildTargets(std::span<const Piece> pieces, const StageGrid& grid);

// The targets at the start of a stage, taken from Black pieces only. Sets
// unwinnable when a Black piece has White blocks on all four sides: nothing
// can ever land next to it.
std::vector<MapPosition> InitialTargets(std::span<const Piece> pieces, const StageGrid& grid, bool& unwinnable);
