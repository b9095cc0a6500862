#pragma once

#include <functional>
#include <string>
#include <vector>

#include <glm/vec2.hpp>

#include "Color.h"

// Signed distance in pixels from a point to an outline; negative inside.
using Shape = std::function<float(glm::vec2)>;
// The colour a fill gives a point.
using Paint = std::function<Color(glm::vec2)>;

// Where a draw may touch, in pixels; by default the whole canvas.
struct Bounds {
    glm::vec2 min{-1e9f};
    glm::vec2 max{1e9f};
};

// An RGBA image being painted, kept premultiplied in floats so layers
// composite without fringes; written out as 8-bit straight-alpha PNG.
class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }

    // Composites paint over the canvas wherever shape covers a pixel centre.
    // The edge fades over `feather` pixels: 1 is a plain anti-aliased edge,
    // larger values give soft edges such as shadows and glows.
    // Only pixels inside `bounds` are visited, which keeps many small shapes
    // on a large canvas cheap.
    void Draw(const Shape& shape, const Paint& paint, float feather = 1.0f, Bounds bounds = {});
    void Draw(const Shape& shape, Color color, float feather = 1.0f, Bounds bounds = {});

    // Replaces one pixel; for images computed pixel by pixel.
    void Set(int x, int y, Color color);
    Color At(int x, int y) const;

    std::vector<unsigned char> EncodePng() const;

private:
    int width;
    int height;
    std::vector<glm::vec4> pixels;
};
