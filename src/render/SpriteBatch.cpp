#include "render/SpriteBatch.h"

#include <cstddef>

#include <epoxy/gl.h>

#include "render/Texture.h"

SpriteBatch::SpriteBatch()
{
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &indexBuffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, x)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, u)));
    glEnableVertexAttribArray(3);
    // ARGB in a little-endian word is B, G, R, A in memory.
    glVertexAttribPointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, argb)));
    glBindVertexArray(0);
}

SpriteBatch::~SpriteBatch()
{
    glDeleteBuffers(1, &indexBuffer);
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
}

void SpriteBatch::Add(unsigned texture, const std::array<Corner, 4>& corners, std::uint32_t argb)
{
    for (const Corner& corner : corners)
        vertices.push_back({corner.x, corner.y, corner.u, corner.v, argb});
    textures.push_back(texture);
}

void SpriteBatch::Flush()
{
    if (textures.empty())
        return;
    glBindVertexArray(vertexArray);
    if (indexCapacity < textures.size()) {
        indexCapacity = textures.size() * 2;
        std::vector<unsigned> indices;
        indices.reserve(indexCapacity * 6);
        for (unsigned quad = 0; quad < indexCapacity; ++quad) {
            const unsigned first = quad * 4;
            for (unsigned corner : {0u, 1u, 2u, 0u, 2u, 3u})
                indices.push_back(first + corner);
        }
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(unsigned)),
                     indices.data(), GL_STATIC_DRAW);
    }
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data(),
                 GL_STREAM_DRAW);
    glActiveTexture(GL_TEXTURE0);
    for (std::size_t start = 0; start < textures.size();) {
        std::size_t end = start + 1;
        while (end < textures.size() && textures[end] == textures[start])
            ++end;
        glBindTexture(GL_TEXTURE_2D, textures[start]);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>((end - start) * 6), GL_UNSIGNED_INT,
                       reinterpret_cast<void*>(start * 6 * sizeof(unsigned)));
        start = end;
    }
    glBindVertexArray(0);
    vertices.clear();
    textures.clear();
}

std::array<SpriteBatch::Corner, 4> SpriteBatch::Place(const Rect& source, const Matrix& transform,
                                                      const Vector3& centre, float textureWidth, float textureHeight)
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
        return Corner{x * m(0, 0) + y * m(1, 0) + m(3, 0), x * m(0, 1) + y * m(1, 1) + m(3, 1), u, v};
    };
    return {place(x0, y0, u0, v0), place(x1, y0, u1, v0), place(x1, y1, u1, v1), place(x0, y1, u0, v1)};
}
