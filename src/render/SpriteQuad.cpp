#include "render/SpriteQuad.h"

#include "render/Texture.h"

SpriteQuad PlaceSprite(const Rect& source, const Matrix& transform, const Vector3& centre, float textureWidth,
                       float textureHeight)
{
    const float x0 = -centre.x;
    const float y0 = -centre.y;
    const float x1 = static_cast<float>(source.right - source.left) - centre.x;
    const float y1 = static_cast<float>(source.bottom - source.top) - centre.y;
    const float u0 = static_cast<float>(source.left) / textureWidth;
    const float v0 = static_cast<float>(source.top) / textureHeight;
    const float u1 = static_cast<float>(source.right) / textureWidth;
    const float v1 = static_cast<float>(source.bottom) / textureHeight;
    const Matrix& m = transform;
    const auto place = [&m](float x, float y, float u, float v) {
        return SpriteCorner{x * m(0, 0) + y * m(1, 0) + m(3, 0), x * m(0, 1) + y * m(1, 1) + m(3, 1), u, v};
    };
    return {place(x0, y0, u0, v0), place(x1, y0, u1, v0), place(x1, y1, u1, v1), place(x0, y1, u0, v1)};
}

SpriteQuad ScreenQuadVertices(const ScreenRect& rect)
{
    const float left = static_cast<float>(rect.x);
    const float top = static_cast<float>(rect.y);
    const float right = static_cast<float>(rect.x + rect.width);
    const float bottom = static_cast<float>(rect.y + rect.height);
    return {{{left, top, 0, 0}, {right, top, 1, 0}, {right, bottom, 1, 1}, {left, bottom, 0, 1}}};
}
