#pragma once

#include "rules/BlockKind.h"

// The block models, and which one each kind shows.
namespace BlockModel {
constexpr const char* White = "Resource/Data/WhiteBlock/Model.x";
constexpr const char* Black = "Resource/Data/BlackBlock/Model.x";
constexpr const char* HardBlack = "Resource/Data/BlackBlock/HardBlack.x";
// The hard block's armour in the light colours of the game-over look.
constexpr const char* HardBlackInverted = "Resource/Data/BlackBlock/HardBlack2.x";

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
