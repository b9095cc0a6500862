#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The key state the scenes poll once per frame, fed from window events (or by
// the harness). Reading the live key state alone would lose a tap that starts
// and ends between two frames, so presses are latched until the key is polled.
class Keyboard {
public:
    static constexpr std::uint16_t DownBit = 0x8000;     // the key is down now
    static constexpr std::uint16_t PressedBit = 0x0001;  // went down since it was last polled

    // A key went down. A press of a key that is already down (auto-repeat) changes nothing.
    void Press(int virtualKey);
    void Release(int virtualKey);
    // Every key up and no press pending.
    void ReleaseAll();
    // Every key up but those in stillDown, as when the window gets the focus
    // back: what was let go meanwhile is let go now. Pending presses stay.
    void ReleaseAllExcept(const std::vector<int>& stillDown);

    // DownBit and PressedBit of the key; clears its PressedBit.
    std::uint16_t Poll(int virtualKey);
    bool IsDown(int virtualKey) const;

private:
    static bool Valid(int virtualKey) { return virtualKey >= 0 && virtualKey < KeyCount; }

    static constexpr int KeyCount = 256;
    std::array<bool, KeyCount> down{};
    std::array<bool, KeyCount> pressedSincePoll{};
};
