#pragma once

// A mesh's buffers on the device's back end; all zero where nothing was uploaded.
struct MeshBuffers {
    unsigned vertexArray = 0;
    unsigned vertexBuffer = 0;
    unsigned indexBuffer = 0;
};

// A texture's storage on the device's back end; zero where nothing was made.
struct TextureStorage {
    unsigned handle = 0;
    unsigned framebuffer = 0;
};
