#pragma once

// The faces the device writes text in: the fixed-pitch one of the game's
// first design, the proportional one of the aids' words (the game's images
// are set in it too), and its bold at the size of the images' own lines.
enum class TextFace { Mono, Sans, Heading };
