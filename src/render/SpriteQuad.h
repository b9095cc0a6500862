#pragma once

#include <array>

#include "math/Matrix.h"
#include "render/ScreenRect.h"

struct Rect;

// A corner of a sprite: screen pixel, texture coordinate.
struct SpriteCorner {
    float x, y, u, v;
};
// Corners in order top-left, top-right, bottom-right, bottom-left.
using SpriteQuad = std::array<SpriteCorner, 4>;

// Where a sprite's corners land: the source rectangle of a texture of the
// given size, its centre point moved to the transform's origin.
SpriteQuad PlaceSprite(const Rect& source, const Matrix& transform, const Vector3& centre, float textureWidth,
                       float textureHeight);

// The four corners of a screen quad over rect, clockwise from the top-left,
// with the whole texture across it.
SpriteQuad ScreenQuadVertices(const ScreenRect& rect);
