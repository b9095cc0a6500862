#pragma once

#include "Canvas.h"

// The icons a desktop shows for the game and for its stage editor: square,
// at any size, and bold enough to read at 16 pixels.
Canvas GameIcon(int size);
Canvas EditorIcon(int size);
