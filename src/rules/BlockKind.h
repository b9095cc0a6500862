#pragma once

// What a cell of the StageGrid holds, and the kind of a Block (1 to 3).
// Kinds are names, never an order: ask what a kind does with the tests below.
namespace BlockKind {
constexpr int PlayerCell = -1;
constexpr int Empty = 0;
constexpr int White = 1;
constexpr int Black = 2;
// Armoured: it takes two turnings over to become white.
constexpr int HardBlack = 3;

// Every kind a stage may hold, numbered from 1 up as stage files name them.
constexpr int Kinds[] = {White, Black, HardBlack};

constexpr bool IsBlock(int kind)
{
    for (const int block : Kinds) {
        if (kind == block)
            return true;
    }
    return false;
}

// The kind as the stage tools and the solver's reasons name it.
constexpr const char* Name(int kind)
{
    switch (kind) {
    case White:
        return "white";
    case Black:
        return "black";
    case HardBlack:
        return "armoured";
    default:
        return "unknown";
    }
}

// A kind a closed run turns over: every block of a run is one of these.
constexpr bool TurnsOver(int kind)
{
    return kind == Black || kind == HardBlack;
}

// What a block that TurnsOver becomes when it is turned over.
constexpr int TurnedOver(int kind)
{
    return kind == HardBlack ? Black : White;
}
}  // namespace BlockKind
