#include "render/gl/SpriteBatch.h"

#include <cstddef>

#include <epoxy/gl.h>


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

void SpriteBatch::Add(unsigned texture, const SpriteQuad& corners, std::uint32_t argb)
{
    for (const SpriteCorner& corner : corners)
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
