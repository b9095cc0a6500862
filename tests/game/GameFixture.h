#pragma once

#include <string>
#include <vector>

#include "game/Block.h"
#include "platform/FrameRecord.h"
#include "support/DeviceFixture.h"

class Game;

// A stage block for a test: cell and kind.
struct TestBlock {
    int x, y, z, kind;
};

// Plays a Game scene frame by frame on the headless device, in a temporary
// folder holding the block model, the stage file (group 1, stage 1) and its
// result file. Sounds are silent entries (no sound files) on the loopback
// device; every sound call and message box lands in record.
class GameFixture : public DeviceFixture {
protected:
    // A headless device and a small model under every name the game draws.
    void SetUp() override;
    void TearDown() override;
    // The device (with GL or not), loopback sound and the scene table, for group 1, stage 1.
    void StartGame(bool withGl);

    // Writes the stage file of group 1 the Game will load, and its result file holding score:0.
    void WriteStage(const std::vector<TestBlock>& blocks, int stage = 1);
    // Builds the Game through the scene table, as the frame loop does.
    Game& Start();
    Game& Current();
    // Runs whole frames of the real frame loop.
    void RunFrames(int count);

    void Hold(int virtualKey);
    void Release(int virtualKey);
    // Down for one frame, up for the next.
    void Tap(int virtualKey);
    // Lets the fade-out run until the scene manager has built the next scene.
    void Leave();
    // Holds the key for one frame, then lets the rest of the walk (and the
    // turn) run out: 12 frames, after which the next press is taken.
    void WalkOne(int virtualKey);
    // Turns toward the arrow while charging (no walk), then fires.
    void FireToward(int arrowKey);

    // How many sound calls equal call ("effect 8 play", "music 0 volume -500").
    int SoundCalls(const std::string& call) const;
    std::string ResultText() const;
    // The block standing in the cell, or null.
    std::shared_ptr<Block> BlockAt(int x, int y, int z);

    FrameRecord record;
};
