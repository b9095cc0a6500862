#pragma once

#include <memory>

#include "math/Matrix.h"
#include "render/Transform.h"

struct RenderContext;

// The sky behind the game: the stage group's sphere model, drawn through the
// fixed-function path with its texture scrolling in v. It also carries the
// placement of the stage board the game draws with it.
class SkySphere {
public:
    SkySphere();

    // Draws the group's sky (ModelFile::Sky), moving the texture on by 0.001.
    // Leaves lighting off.
    void Draw(const RenderContext& render, int stageGroup);

    // Where the stage board stands: (250, -250, 250).
    std::unique_ptr<Transform> transform;
    // Where the sky itself stands.
    Matrix world;
    float uOffset = 0.0f;
    float vScroll = 0.0f;
};
