#pragma once

// The faces the device writes text in: the fixed-pitch one of the game's
// first design, and the proportional one of the aids' words (the game's
// images are set in it too).
enum class TextFace { Mono, Sans };
