#include "solver/StagePieces.h"

#include <iterator>

#include "rules/BlockKind.h"

// A stage file names a block's kind by the rules' own number.
static_assert(StageFile::MinKind == 1 && StageFile::MaxKind == static_cast<int>(std::size(BlockKind::Kinds)));

std::vector<Piece> PiecesOf(const std::vector<BlockRecord>& records)
{
    std::vector<Piece> pieces;
    pieces.reserve(records.size());
    for (const BlockRecord& record : records)
        pieces.push_back({{record.x, record.y, record.z}, record.kind, record.launched == 1});
    return pieces;
}
