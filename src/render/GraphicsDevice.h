#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Window;

// The process-wide drawing device: the fixed 1280 × 720 back buffer every 2D
// layout is written for, clearing and presenting. In a window it draws through
// OpenGL 3.3; without one (headless runs) it has no GL context at all.
//
// In full screen the back buffer is an off-screen target that Present scales
// onto the display, letterboxed, so both modes show the same picture.
class GraphicsDevice {
public:
    static GraphicsDevice& Instance();
    // Drops the device and every setting, so a test starts clean.
    static void Reset();
    ~GraphicsDevice();

    // window null: headless, no GL context.
    bool Initialize(Window* window, bool fullScreen, std::string& error);
    void SetDefaultStates();
    // Releases every GL object while the context still exists.
    void Shutdown();

    bool HasContext() const { return window != nullptr; }
    int BackBufferWidth() const { return backBufferWidth; }
    int BackBufferHeight() const { return backBufferHeight; }

    // Clears colour (ARGB) and depth of the current render target.
    void Clear(std::uint32_t argb, float depth);
    void BeginScene();
    void EndScene();
    void Present();

    // The next Present also copies the back buffer into pixels: RGBA, 8 bits a
    // channel, top row first. Without a GL context nothing is copied.
    void CaptureNextPresent(std::vector<std::uint8_t>* pixels) { capture = pixels; }

private:
    GraphicsDevice() = default;
    void BindBackBuffer();
    void ReadBackBuffer(std::vector<std::uint8_t>& pixels);

    Window* window = nullptr;
    bool fullScreen = false;
    int backBufferWidth = 0;
    int backBufferHeight = 0;
    // Full screen only: the off-screen back buffer.
    unsigned backBufferFramebuffer = 0;
    unsigned backBufferColour = 0;
    unsigned backBufferDepth = 0;
    std::vector<std::uint8_t>* capture = nullptr;
};
