#pragma once

#include <array>
#include <initializer_list>
#include <vector>

#include "rules/Piece.h"
#include "rules/StageGrid.h"

// A board for a rule test: pieces by cell and kind, and the grid of them with
// the player in a cell.
struct Board {
    Board(std::initializer_list<std::array<int, 4>> cells, MapPosition playerCell = {0, 0, 0}) : player(playerCell)
    {
        for (const auto& c : cells)
            pieces.push_back({{c[0], c[1], c[2]}, c[3], false});
        Rebuild();
    }
    void Rebuild() { grid.Rebuild(pieces, player); }

    std::vector<Piece> pieces;
    MapPosition player;
    StageGrid grid;
};
