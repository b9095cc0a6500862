#pragma once

#include <optional>
#include <string>

#include "render/Material.h"

// A place to draw into: the back buffer or the first level of a render-target
// texture. The device switches between them; nothing else touches framebuffers.
struct Surface {
    unsigned framebuffer = 0;
    int width = 0;
    int height = 0;
    // Texture targets store the image top row first, as loaded images do, so
    // sampling them needs no flip; the window's own framebuffer is bottom-up.
    bool topRowFirst = true;
    // How the draw log names it: "backbuffer", "sceneTarget", "blur0a" ...
    std::string name;
    // Set while every pixel is known to hold this colour (after a clear, or a
    // pass whose result the device could tell in advance); lets passes over
    // plain targets be skipped or turned into clears.
    std::optional<Color> solid;
};
