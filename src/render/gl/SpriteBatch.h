#pragma once

#include <cstdint>
#include <vector>

#include "render/SpriteQuad.h"

// The quads of one sprite Begin/End pair, drawn in the order they were added
// with as few draw calls as their textures allow.
class SpriteBatch {
public:
    SpriteBatch();
    ~SpriteBatch();
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;

    void Add(unsigned texture, const SpriteQuad& corners, std::uint32_t argb);
    bool Empty() const { return textures.empty(); }
    // Draws everything added with the bound program, and empties the batch.
    void Flush();

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
