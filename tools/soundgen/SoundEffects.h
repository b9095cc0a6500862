#pragma once

#include "Signal.h"

// The game's sound effects. Lengths follow their use: a cue that the game
// restarts every 160 ms (the clear swing, the block burst) is silent again
// before then, so a restart never cuts it off mid-sound; the cube-turn whoosh
// is over before the turn ends and stops it.

StereoBuffer WalkStep();
StereoBuffer BlockLanding();
// Starts a batch of blocks turning over: about a second.
StereoBuffer FlipBatchStart();
// One block has turned; up to five ring in turn, 80 ms apart.
StereoBuffer FlipDone();
StereoBuffer MenuCursor();
StereoBuffer TitleCursor();
StereoBuffer Decide();
// Played looping while a shot charges: each pass is one swell, silent at the
// seam, so it starts without a click and repeats without one.
StereoBuffer ChargeLoop();
StereoBuffer Shot();
// A shot the game will not fire: a short, low knock that sinks in pitch,
// heard as "no" and never mistaken for the shot or a cursor.
StereoBuffer Refused();
StereoBuffer GameOverSting();
StereoBuffer ClearFanfare();
StereoBuffer ClearSwing();
StereoBuffer ClearStrum();
// The blocks start to burn once this has played 200 000 bytes (1.13 s), on its final chord.
StereoBuffer ClearJingle();
StereoBuffer BlockBurst();
StereoBuffer CubeTurn();
