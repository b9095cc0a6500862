#pragma once

#include <optional>
#include <string>

#include "formats/Material.h"
#include "render/ScreenRect.h"

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
    // pass whose result the device could tell in advance), except inside dirty
    // when that is set. Lets passes over plain targets be skipped, turned into
    // clears, or confined to the part that holds something.
    std::optional<Color> solid;
    std::optional<ScreenRect> dirty;

    // Forgets what was known, after a draw whose extent is unknown.
    void Forget()
    {
        solid.reset();
        dirty.reset();
    }
    // After a draw that touched only area: it joins the part that may differ.
    void Touch(const ScreenRect& area)
    {
        if (!solid)
            return;
        const ScreenRect clamped = ClampTo(area, width, height);
        if (clamped.Empty())
            return;
        dirty = dirty ? Union(*dirty, clamped) : clamped;
        if (dirty->Covers(width, height))
            Forget();
    }
};
