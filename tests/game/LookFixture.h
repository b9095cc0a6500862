#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameFixture.h"

// Whole frames of the real scenes with the real content through the software
// renderer, read back as the window shows them. With ORB_LOOK_DIR set, the
// pictures looked at are written there.
class LookFixture : public GameFixture {
protected:
    using Picture = std::vector<std::uint8_t>;

    void SetUp() override;

    // One whole frame, drawn and presented.
    Picture Frame(const std::string& name);

    // A picture drawn with the device's shortcuts against the one every pass
    // drawn in full gives: alike to within two levels, bar a few pixels.
    static void ExpectSamePicture(const Picture& withShortcuts, const Picture& full);
};
