#pragma once

// Keys are addressed by the virtual-key codes the game was designed around, so
// the scenes read like their design: arrows, Enter, Space, Escape, letters and
// digits by their ASCII codes.
namespace VirtualKey {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Return = 13;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int F1 = 112;
// The keys right of the digits, by their place on a US keyboard: - = [ ].
constexpr int Minus = 0xBD;
constexpr int Equals = 0xBB;
constexpr int LeftBracket = 0xDB;
constexpr int RightBracket = 0xDD;
constexpr int Digit1 = '1';
constexpr int Digit2 = '2';
constexpr int Digit3 = '3';
constexpr int C = 'C';
constexpr int H = 'H';
constexpr int L = 'L';
constexpr int M = 'M';
constexpr int P = 'P';
constexpr int R = 'R';
constexpr int T = 'T';
constexpr int V = 'V';
constexpr int X = 'X';
constexpr int Y = 'Y';
constexpr int Z = 'Z';
}  // namespace VirtualKey
