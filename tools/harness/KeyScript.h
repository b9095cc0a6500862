#pragma once

#include <istream>
#include <string>
#include <vector>

// One scripted key change: before frame's update the key goes down or up.
struct KeyChange {
    int frame = 0;
    int virtualKey = 0;
    bool down = false;
};

// Reads a key script: one change per line, "FRAME KEY down" or "FRAME KEY up",
// '#' starts a comment, blank lines are skipped. KEY is one of Up Down Left
// Right Space Enter Escape M L P C X 1 2 3, of the play aids' H Z Backspace
// F1 V T, or the volume keys Minus Equals LeftBracket RightBracket. Changes
// come back ordered by frame,
// lines of the same frame in file order. On a bad line: false, with the line
// number and the reason in error.
bool ParseKeyScript(std::istream& in, std::vector<KeyChange>& changes, std::string& error);

// The virtual-key code of a script key name, or -1.
int KeyByName(const std::string& name);
// Every script key but Escape, the aids' only with them: what a random player may press.
std::vector<int> PlayKeys(bool assists);
