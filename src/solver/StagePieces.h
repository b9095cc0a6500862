#pragma once

#include <vector>

#include "rules/Piece.h"
#include "stage/StageFile.h"

// A stage file's records as the solver reads them: each block in its cell.
std::vector<Piece> PiecesOf(const std::vector<BlockRecord>& records);
