#pragma once

#include "math/Matrix.h"

class GraphicsDevice;

// A square of the XZ plane, in world units.
struct QuadArea {
    int x = 0;
    int z = 0;
    int width = 0;
    int depth = 0;
};

// A part of a texture, in texture coordinates.
struct TextureArea {
    float left = 0;
    float top = 0;
    float right = 1;
    float bottom = 1;
};

// A textured quad lying in the XZ plane at y = 0, drawn through the
// fixed-function path with the stage-0 texture, placed by world, white with
// the given alpha (0..255, truncated). Used by the cell shards and the editor.
void DrawQuadXZ(GraphicsDevice& device, const QuadArea& area, const Matrix& world, const TextureArea& texture,
                float alpha);
