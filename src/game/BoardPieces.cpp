#include "game/BoardPieces.h"

#include "rules/Field.h"
#include "rules/StageGrid.h"

std::vector<Piece> PiecesOf(const BlockList& blocks)
{
    std::vector<Piece> pieces;
    pieces.reserve(blocks.size());
    for (const auto& block : blocks)
        pieces.push_back({Field::CellOf(block->transform.position), block->kind, block->launched == 1});
    return pieces;
}

void RebuildGrid(StageGrid& grid, const BlockList& blocks, const Vector3& playerPosition)
{
    grid.Rebuild(PiecesOf(blocks), Field::CellOf(playerPosition));
}
