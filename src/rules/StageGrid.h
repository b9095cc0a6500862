#pragma once

#include <array>
#include <span>

#include "rules/BlockKind.h"
#include "rules/Field.h"
#include "rules/MapPosition.h"
#include "rules/Piece.h"

// The field cell by cell: which kind of block stands in each cell (0 empty,
// -1 the player) and where that block is in the block list. Rebuilt from
// scratch whenever the scene needs it; every lookup is bounds-checked.
class StageGrid {
public:
    StageGrid() { Clear(); }

    void Clear();
    // The player's cell, then every piece that is not in flight, in list order
    // (so a piece in the player's cell wins). Pieces outside the field are left out.
    void Rebuild(std::span<const Piece> pieces, const MapPosition& player);
    // Every piece in list order, launched or not, with no player's mark: the
    // editor's view of its stage. Pieces outside the field are left out.
    void RebuildAll(std::span<const Piece> pieces);
    // Moves the player's mark as a Rebuild with the same pieces would place it.
    void PlacePlayer(const MapPosition& player);

    // The kind in the cell; 0 (empty) outside the field. Inline: the rules and
    // the solver ask it in every step.
    int CellAt(int x, int y, int z) const
    {
        return Field::Inside(x, y, z) ? kinds[Address(x, y, z)] : BlockKind::Empty;
    }
    int CellAt(const MapPosition& cell) const { return CellAt(cell.x, cell.y, cell.z); }
    // The list position of the block in the cell; -1 outside the field or with no block.
    int IndexAt(int x, int y, int z) const;

private:
    static int Address(int x, int y, int z) { return x * 100 + y * 10 + z; }
    void Set(const MapPosition& cell, int kind, int index);

    std::array<int, 1000> kinds;
    std::array<int, 1000> indices;
    // Where the player's mark was put, or -1.
    int playerAddress = -1;
};
