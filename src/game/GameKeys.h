#pragma once

#include "platform/Keyboard.h"

// The game counts a key only while it is held: a tap that starts and ends
// between two frames is no move on the field.
inline bool GameKeyDown(Keyboard& keys, int virtualKey)
{
    return (keys.Poll(virtualKey) & Keyboard::DownBit) != 0;
}

// The title and the editor also count a tap that started and ended between two
// frames: either bit of the key.
inline bool MenuKeyPressed(Keyboard& keys, int virtualKey)
{
    return keys.Poll(virtualKey) != 0;
}
