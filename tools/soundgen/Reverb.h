#pragma once

#include "Signal.h"

// A small room: the classic arrangement of eight damped comb filters and four
// all-passes per channel (Schroeder and Moorer, as in Freeverb), which gives
// the dry synthetic voices a space to sit in.
struct ReverbSettings {
    double roomSize = 0.6;  // 0 to 1: how long the tail rings
    double damping = 0.5;   // 0 to 1: how fast the tail loses its highs
    double wet = 0.25;
    double width = 1.0;
};

// Adds the reverberation of the buffer to itself. A looping buffer is treated
// as endless repetition of itself, so the tail of the end rings on into the
// start and the loop point stays seamless.
void ApplyReverb(StereoBuffer& buffer, const ReverbSettings& settings, bool loop);

// Echoes that bounce between left and right: each repeat delaySeconds later,
// feedback times as loud. Looping buffers wrap as ApplyReverb does.
void ApplyPingPongEcho(StereoBuffer& buffer, double delaySeconds, double feedback, double wet, bool loop);
