#include "game/StageGrid.h"

#include "game/FieldGeometry.h"

void StageGrid::Clear()
{
    kinds.fill(BlockKind::Empty);
    indices.fill(0);
    playerAddress = -1;
}

void StageGrid::Set(int x, int y, int z, int kind, int index)
{
    if (!Field::Inside(x, y, z))
        return;
    kinds[Address(x, y, z)] = kind;
    indices[Address(x, y, z)] = index;
}

void StageGrid::Rebuild(const BlockList& blocks, const Vector3& playerPosition)
{
    Clear();
    PlacePlayer(playerPosition);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Block& block = *blocks[i];
        if (block.launched == 1)
            continue;
        const Vector3& p = block.transform.position;
        Set(Field::CellOf(p.x), Field::CellOf(p.y), Field::CellOf(p.z), block.kind, static_cast<int>(i));
    }
}

void StageGrid::RebuildAll(const BlockList& blocks)
{
    Clear();
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Vector3& p = blocks[i]->transform.position;
        Set(Field::CellOf(p.x), Field::CellOf(p.y), Field::CellOf(p.z), blocks[i]->kind, static_cast<int>(i));
    }
}

void StageGrid::PlacePlayer(const Vector3& playerPosition)
{
    if (playerAddress >= 0 && kinds[playerAddress] == BlockKind::PlayerCell)
        kinds[playerAddress] = BlockKind::Empty;
    playerAddress = -1;
    const int x = Field::CellOf(playerPosition.x);
    const int y = Field::CellOf(playerPosition.y);
    const int z = Field::CellOf(playerPosition.z);
    // A block in the player's cell keeps it.
    if (!Field::Inside(x, y, z) || kinds[Address(x, y, z)] != BlockKind::Empty)
        return;
    playerAddress = Address(x, y, z);
    Set(x, y, z, BlockKind::PlayerCell, 0);
}

int StageGrid::IndexAt(int x, int y, int z) const
{
    if (!Field::Inside(x, y, z) || kinds[Address(x, y, z)] < BlockKind::White)
        return -1;
    return indices[Address(x, y, z)];
}
