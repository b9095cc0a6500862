#pragma once

#include "Color.h"

// The one set of colours every model and image is painted from.
namespace palette {

constexpr Color ink = Hex(0x262833);
constexpr Color inkSoft = Hex(0x5A5E6E);
constexpr Color paper = Hex(0xFBFAF6);
constexpr Color paperShade = Hex(0xECEAE3);
constexpr Color shadow = Hex(0x141828, 0.32f);
// Highlights shared by every group: cursor, arrows, the player.
constexpr Color coral = Hex(0xF26B5B);
constexpr Color coralDark = Hex(0xC2463A);
constexpr Color gold = Hex(0xF6C453);
constexpr Color goldDark = Hex(0xB7862B);
// The game's advice on the board: a cooler teal than the Easy group's, so a
// hint still stands out on the mint board.
constexpr Color hint = Hex(0x1FB3D1);
constexpr Color hintDark = Hex(0x0B5F78);

constexpr Color pearl = Hex(0xF4F1EA);
constexpr Color blockInk = Hex(0x2A2C34);
constexpr Color steel = Hex(0x59606E);
constexpr Color brass = Hex(0xC9A04E);

// One family of colours per stage group: light, main, dark.
struct GroupColors {
    Color light;
    Color main;
    Color dark;
};

constexpr GroupColors easy{Hex(0xBFEFE1), Hex(0x2DB59F), Hex(0x136B61)};
constexpr GroupColors normal{Hex(0xFFE3A6), Hex(0xF1A22E), Hex(0x9E5A0C)};
constexpr GroupColors hard{Hex(0xD9CCFA), Hex(0x7655DA), Hex(0x382C8C)};

// Groups are numbered 1 to 3 in the game.
constexpr const GroupColors& Group(int group) { return group == 1 ? easy : group == 2 ? normal : hard; }

}  // namespace palette
