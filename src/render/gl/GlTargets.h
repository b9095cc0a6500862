#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "render/DeviceBackEnd.h"

class Window;

// Where the GL back end's drawing lands: the window's own framebuffer, the
// back buffer drawn off-screen and scaled onto the window at Present, render
// targets sharing one depth buffer, and the copy a pass samples when it reads
// its own target. Texture targets keep the image's top row first, the
// window's framebuffer its bottom row; every copy and scissor here turns
// rows the right way.
class GlTargets {
public:
    GlTargets(Window& window, int width, int height);
    // Releases every framebuffer while the context still exists.
    ~GlTargets();
    GlTargets(const GlTargets&) = delete;
    GlTargets& operator=(const GlTargets&) = delete;

    // Makes the off-screen back buffer and the shared depth; false with the reason in error.
    bool Build(std::string& error);

    // Null when the target cannot be made complete.
    std::optional<TextureStorage> MakeTarget(int width, int height, bool halfFloat);
    // A texture, and its framebuffer when it is a target.
    static void Delete(TextureStorage& storage);

    void ChooseBackBuffer(Surface& backBuffer, bool offScreen);
    void Bind(const Surface& target);
    void Clear(const Surface& target, const std::optional<Color>& colour, std::optional<float> depth);
    void ClearArea(const Surface& target, const ScreenRect& area, const Color& colour);
    // Confines drawing to area of target, in the game's top-left pixels; none lifts it.
    void SetScissor(const Surface& target, const std::optional<ScreenRect>& area);
    void Copy(const Surface& from, const Surface& to);
    void Present(const Surface& backBuffer, std::vector<std::uint8_t>* pixels, WindowPicture* shown);
    // The texture of a copy of target's first width × height pixels, taken
    // now; target stays bound.
    unsigned CopyOf(const Surface& target, int width, int height, bool halfFloat);

private:
    Window& window;
    int width;
    int height;
    // The back buffer drawn off-screen, when the window's drawable is not its
    // size or a target stands in for it.
    unsigned offScreenFramebuffer = 0;
    unsigned offScreenColour = 0;
    // A framebuffer holding just the shared depth, to clear it with the window's.
    unsigned depthOnlyFramebuffer = 0;
    unsigned sharedDepth = 0;
    // The copy a pass samples when it reads its own target.
    TextureStorage targetCopy;
    int targetCopyWidth = 0;
    int targetCopyHeight = 0;
    bool targetCopyHalf = false;
};
