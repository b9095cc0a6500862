#pragma once

#include <vector>

#include "game/Block.h"
#include "rules/Piece.h"

class StageGrid;

// The blocks as the rules see them: each at the cell its position lies in.
std::vector<Piece> PiecesOf(const BlockList& blocks);
// StageGrid::Rebuild with the blocks and the player where they stand now.
void RebuildGrid(StageGrid& grid, const BlockList& blocks, const Vector3& playerPosition);
