#include "solver/StagePieces.h"

#include "rules/BlockKind.h"

// A stage file names a block's kind by the rules' own number.
static_assert(StageFile::MinKind == BlockKind::White && StageFile::MaxKind == BlockKind::HardBlack);

std::vector<Piece> PiecesOf(const std::vector<BlockRecord>& records)
{
    std::vector<Piece> pieces;
    pieces.reserve(records.size());
    for (const BlockRecord& record : records)
        pieces.push_back({{record.x, record.y, record.z}, record.kind, record.launched == 1});
    return pieces;
}
