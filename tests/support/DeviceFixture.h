#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "main/GameContext.h"
#include "math/Vector3.h"
#include "platform/MessageBox.h"
#include "render/DrawRecord.h"
#include "support/TestDirectory.h"

// Builds the game's context for a test, as the program does, and releases it
// afterwards. Headless: no GL context, draws are recorded. With GL: an
// off-screen 1280 × 720 window, so no display is needed. Message boxes are
// answered with their default and kept in messages.
class DeviceFixture : public ::testing::Test {
protected:
    void StartDevice(bool withGl);
    void TearDown() override;

    GameContext& Context() { return *context; }
    Application& App() { return context->application; }
    GraphicsDevice& Device() { return context->device; }
    TextureCache& Textures() { return context->textures; }
    MeshCache& Meshes() { return context->meshes; }
    ShaderManager& Shaders() { return context->Shaders(); }
    SceneManager& Scenes() { return context->scenes; }
    RenderContext Render() { return context->Render(); }

    // The back buffer as it would be presented: RGBA, top row first.
    std::vector<std::uint8_t> ReadBackBuffer();
    // The pixel (x, y) of a picture read by ReadBackBuffer.
    static std::uint32_t PixelAt(const std::vector<std::uint8_t>& pixels, int x, int y);
    // The screen pixel of a world point under the device's current camera.
    std::pair<int, int> ScreenOf(const Vector3& world);

    std::unique_ptr<GameContext> context;
    TestDirectory directory;
    std::vector<MessageRequest> messages;
    std::vector<DrawRecord> draws;
};

// Writes a PNG of the given size filled by a function of (x, y) giving RGBA.
void WritePng(const std::string& path, int width, int height, std::uint32_t (*rgbaAt)(int x, int y));
// Writes a picture read by ReadBackBuffer as a PNG.
void WritePicture(const std::string& path, const std::vector<std::uint8_t>& pixels);

// Channels of an RGBA pixel as read back.
inline int Red(std::uint32_t rgba) { return rgba & 0xFF; }
inline int Green(std::uint32_t rgba) { return (rgba >> 8) & 0xFF; }
inline int Blue(std::uint32_t rgba) { return (rgba >> 16) & 0xFF; }
