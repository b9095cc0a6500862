#include "rules/StageGrid.h"

void StageGrid::Clear()
{
    kinds.fill(BlockKind::Empty);
    indices.fill(0);
    playerAddress = -1;
}

void StageGrid::Set(const MapPosition& cell, int kind, int index)
{
    if (!Field::Inside(cell.x, cell.y, cell.z))
        return;
    kinds[Address(cell.x, cell.y, cell.z)] = kind;
    indices[Address(cell.x, cell.y, cell.z)] = index;
}

void StageGrid::Rebuild(std::span<const Piece> pieces, const MapPosition& player)
{
    Clear();
    PlacePlayer(player);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!pieces[i].launched)
            Set(pieces[i].cell, pieces[i].kind, static_cast<int>(i));
    }
}

void StageGrid::RebuildAll(std::span<const Piece> pieces)
{
    Clear();
    for (std::size_t i = 0; i < pieces.size(); ++i)
        Set(pieces[i].cell, pieces[i].kind, static_cast<int>(i));
}

void StageGrid::PlacePlayer(const MapPosition& player)
{
    if (playerAddress >= 0 && kinds[playerAddress] == BlockKind::PlayerCell)
        kinds[playerAddress] = BlockKind::Empty;
    playerAddress = -1;
    // A block in the player's cell keeps it.
    if (!Field::Inside(player.x, player.y, player.z) || kinds[Address(player.x, player.y, player.z)] != BlockKind::Empty)
        return;
    playerAddress = Address(player.x, player.y, player.z);
    Set(player, BlockKind::PlayerCell, 0);
}

int StageGrid::IndexAt(int x, int y, int z) const
{
    if (!Field::Inside(x, y, z) || !BlockKind::IsBlock(kinds[Address(x, y, z)]))
        return -1;
    return indices[Address(x, y, z)];
}
