#pragma once

#include "assets/AssetFiles.h"
#include "rules/BlockKind.h"

// The block models, and which one each kind shows.
namespace BlockModel {
constexpr const char* White = ModelFile::WhiteBlock;
constexpr const char* Black = ModelFile::BlackBlock;
constexpr const char* HardBlack = ModelFile::HardBlock;
// The hard block's armour in the light colours of the game-over look.
constexpr const char* HardBlackInverted = ModelFile::HardBlockInverted;

// The model of a White, Black or HardBlack block; null for any other kind.
inline const char* Of(int kind)
{
    switch (kind) {
    case BlockKind::White:
        return White;
    case BlockKind::Black:
        return Black;
    case BlockKind::HardBlack:
        return HardBlack;
    default:
        return nullptr;
    }
}

// The game-over look: each kind in the opposite colour; null for any other kind.
inline const char* InvertedOf(int kind)
{
    switch (kind) {
    case BlockKind::White:
        return Black;
    case BlockKind::Black:
        return White;
    case BlockKind::HardBlack:
        return HardBlackInverted;
    default:
        return nullptr;
    }
}
}  // namespace BlockModel
