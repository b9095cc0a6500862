#pragma once

#include <array>

#include "game/Block.h"
#include "game/FieldGeometry.h"
#include "math/Vector3.h"

// The field cell by cell: which kind of block stands in each cell (0 empty,
// -1 the player) and where that block is in the block list. Rebuilt from
// scratch whenever the scene needs it; every lookup is bounds-checked.
class StageGrid {
public:
    StageGrid() { Clear(); }

    void Clear();
    // The player's cell, then every block that is not in flight, in list order
    // (so a block in the player's cell wins). Blocks outside the field are left out.
    void Rebuild(const BlockList& blocks, const Vector3& playerPosition);
    // Every block in list order, launched or not, with no player's mark: the
    // editor's view of its stage. Blocks outside the field are left out.
    void RebuildAll(const BlockList& blocks);
    // Moves the player's mark as a Rebuild with the same blocks would place it.
    void PlacePlayer(const Vector3& playerPosition);

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
    void Set(int x, int y, int z, int kind, int index);

    std::array<int, 1000> kinds;
    std::array<int, 1000> indices;
    // Where the player's mark was put, or -1.
    int playerAddress = -1;
};
