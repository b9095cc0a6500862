#pragma once

#include "Signal.h"

// The three music loops, all in C major / A minor so that the jingles sit with
// them: calm on the title, playful on the stage select, unhurried for thinking
// in the game (which also has to sound right at half speed, an octave down).
// Each loops seamlessly.
StereoBuffer TitleMusic();
StereoBuffer SelectMusic();
StereoBuffer GameMusic();
