#pragma once

#include <initializer_list>

#include "platform/Keyboard.h"
#include "platform/VirtualKey.h"
#include "rules/Field.h"

// The game counts a key only while it is held: a tap that starts and ends
// between two frames is no move on the field.
inline bool GameKeyDown(Keyboard& keys, int virtualKey)
{
    return (keys.Poll(virtualKey) & Keyboard::DownBit) != 0;
}

// The first of candidates held down, asked in their order; 0 when none is.
inline int FirstGameKeyDown(Keyboard& keys, std::initializer_list<int> candidates)
{
    for (const int candidate : candidates) {
        if (GameKeyDown(keys, candidate))
            return candidate;
    }
    return 0;
}

// The title and the editor also count a tap that started and ended between two
// frames: either bit of the key.
inline bool MenuKeyPressed(Keyboard& keys, int virtualKey)
{
    return keys.Poll(virtualKey) != 0;
}

// Escape or Backspace: with the play aids, a way back one level.
inline bool BackKeyPressed(Keyboard& keys)
{
    const bool escape = MenuKeyPressed(keys, VirtualKey::Escape);
    return MenuKeyPressed(keys, VirtualKey::Back) || escape;
}

// The arrow that faces the player a Direction's way: Up is +z, Left is -x.
inline int ArrowKeyOf(int direction)
{
    switch (direction) {
    case Direction::PlusZ:
        return VirtualKey::Up;
    case Direction::MinusZ:
        return VirtualKey::Down;
    case Direction::MinusX:
        return VirtualKey::Left;
    default:
        return VirtualKey::Right;
    }
}
