#pragma once

#include "platform/Application.h"
#include "platform/Keyboard.h"

// The game counts a key only while it is held: a tap that starts and ends
// between two frames is no move on the field.
inline bool GameKeyDown(int virtualKey)
{
    return (Application::Instance().Keys().Poll(virtualKey) & Keyboard::DownBit) != 0;
}

// The title and the editor also count a tap that started and ended between two
// frames: either bit of the key.
inline bool MenuKeyPressed(int virtualKey)
{
    return Application::Instance().Keys().Poll(virtualKey) != 0;
}
