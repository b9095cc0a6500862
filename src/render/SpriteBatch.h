#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "math/Matrix.h"

struct Rect;

// The quads of one sprite Begin/End pair, drawn in the order they were added
// with as few draw calls as their textures allow. Exists only with a GL context.
class SpriteBatch {
public:
    // A corner of a sprite: screen pixel, texture coordinate.
    struct Corner {
        float x, y, u, v;
    };

    SpriteBatch();
    ~SpriteBatch();
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;

    // Corners in order top-left, top-right, bottom-right, bottom-left.
    void Add(unsigned texture, const std::array<Corner, 4>& corners, std::uint32_t argb);
    bool Empty() const { return textures.empty(); }
    // Draws everything added with the bound program, and empties the batch.
    void Flush();

    // Where a sprite's corners land: the source rectangle of a texture of the
    // given size, its centre point moved to the transform's origin.
    static std::array<Corner, 4> Place(const Rect& source, const Matrix& transform, const Vector3& centre,
                                       float textureWidth, float textureHeight);

private:
    struct Vertex {
        float x, y, u, v;
        std::uint32_t argb;
    };

    std::vector<Vertex> vertices;
    std::vector<unsigned> textures;
    unsigned vertexArray = 0;
    unsigned vertexBuffer = 0;
    unsigned indexBuffer = 0;
    std::size_t indexCapacity = 0;
};
