#pragma once

// What a cell of the StageGrid holds, and the kind of a Block (1 to 4).
namespace BlockKind {
constexpr int PlayerCell = -1;
constexpr int Empty = 0;
constexpr int White = 1;
constexpr int Black = 2;
constexpr int HardBlack = 3;
// Set by the clear sequence; the block rises and bursts into particles.
constexpr int Bursting = 4;

// What a Black or HardBlack block becomes when it is turned over.
constexpr int TurnedOver(int kind)
{
    return kind == Black ? White : Black;
}
}  // namespace BlockKind
