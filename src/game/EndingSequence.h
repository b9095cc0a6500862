#pragma once

#include "game/Block.h"

class SoundPlayer;

// How a stage ends, frame by frame. A clear: three swings of the banner,
// a strum, the jingle, then the blocks catch fire one by one and burst. A
// game over: the music slows to half its speed and fades, stops, and the
// sting plays before the menu opens.
class EndingSequence {
public:
    // One frame of the clear; true on every frame once the last block has
    // burned out.
    bool Clear(const BlockList& blocks, SoundPlayer& sound);
    // One frame of the game over, the music slowing from musicFrequency;
    // true on the frame the menu opens.
    bool GameOver(SoundPlayer& sound, unsigned musicFrequency);

    int ClearFrame() const { return clearFrame; }
    int BurnTimer() const { return burnTimer; }
    int GameOverFrame() const { return gameOverFrame; }

private:
    int clearFrame = 0;
    int burnTimer = 0;
    int burnLimit = 0;
    int burnIndex = 0;
    int gameOverFrame = 0;
};
