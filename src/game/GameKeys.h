#pragma once

#include "platform/Application.h"
#include "platform/Keyboard.h"

// The game counts a key only while it is held: a tap that starts and ends
// between two frames is no move on the field.
inline bool GameKeyDown(int virtualKey)
{
    return (Application::Instance().Keys().Poll(virtualKey) & Keyboard::DownBit) != 0;
}
