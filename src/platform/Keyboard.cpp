#include "platform/Keyboard.h"

void Keyboard::Press(int virtualKey)
{
    if (!Valid(virtualKey) || down[virtualKey])
        return;
    down[virtualKey] = true;
    pressedSincePoll[virtualKey] = true;
}

void Keyboard::Release(int virtualKey)
{
    if (Valid(virtualKey))
        down[virtualKey] = false;
}

void Keyboard::ReleaseAll()
{
    down.fill(false);
    pressedSincePoll.fill(false);
}

void Keyboard::ReleaseAllExcept(const std::vector<int>& stillDown)
{
    std::array<bool, KeyCount> keep{};
    for (const int key : stillDown) {
        if (Valid(key))
            keep[key] = true;
    }
    for (int key = 0; key < KeyCount; ++key)
        down[key] = down[key] && keep[key];
}

std::uint16_t Keyboard::Poll(int virtualKey)
{
    if (!Valid(virtualKey))
        return 0;
    std::uint16_t state = 0;
    if (down[virtualKey])
        state |= DownBit;
    if (pressedSincePoll[virtualKey])
        state |= PressedBit;
    pressedSincePoll[virtualKey] = false;
    return state;
}

bool Keyboard::IsDown(int virtualKey) const
{
    return Valid(virtualKey) && down[virtualKey];
}
