#include "render/gl/GlTargets.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include <epoxy/gl.h>

#include "platform/Window.h"
#include "render/Surface.h"

namespace {

// The framebuffer bound for reading, as RGBA rows top first, opaque as the
// window shows it whatever its alpha holds.
void ReadFramebuffer(int width, int height, bool topRowFirst, std::vector<std::uint8_t>& pixels)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    pixels.resize(rowBytes * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (std::size_t alpha = 3; alpha < pixels.size(); alpha += 4)
        pixels[alpha] = 255;
    if (topRowFirst)
        return;
    std::vector<std::uint8_t> row(rowBytes);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = pixels.data() + top * rowBytes;
        std::uint8_t* b = pixels.data() + bottom * rowBytes;
        std::memcpy(row.data(), a, rowBytes);
        std::memcpy(a, b, rowBytes);
        std::memcpy(b, row.data(), rowBytes);
    }
}

}  // namespace

GlTargets::GlTargets(Window& target, int backBufferWidth, int backBufferHeight)
    : window(target), width(backBufferWidth), height(backBufferHeight)
{
}

bool GlTargets::Build(std::string& error)
{
    glGenRenderbuffers(1, &sharedDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, sharedDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glGenRenderbuffers(1, &offScreenColour);
    glBindRenderbuffer(GL_RENDERBUFFER, offScreenColour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenFramebuffers(1, &offScreenFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, offScreenFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, offScreenColour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, sharedDepth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error = "the off-screen back buffer cannot be created";
        return false;
    }
    // The window's depth buffer is its own; the shared one is cleared with it (see Clear).
    glGenFramebuffers(1, &depthOnlyFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, depthOnlyFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, sharedDepth);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    return true;
}

GlTargets::~GlTargets()
{
    Delete(targetCopy);
    glDeleteFramebuffers(1, &offScreenFramebuffer);
    glDeleteFramebuffers(1, &depthOnlyFramebuffer);
    glDeleteRenderbuffers(1, &offScreenColour);
    glDeleteRenderbuffers(1, &sharedDepth);
}

std::optional<TextureStorage> GlTargets::MakeTarget(int targetWidth, int targetHeight, bool halfFloat)
{
    TextureStorage storage;
    glGenTextures(1, &storage.handle);
    glBindTexture(GL_TEXTURE_2D, storage.handle);
    glTexImage2D(GL_TEXTURE_2D, 0, halfFloat ? GL_RGBA16F : GL_RGBA8, targetWidth, targetHeight, 0, GL_RGBA,
                 halfFloat ? GL_HALF_FLOAT : GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glGenFramebuffers(1, &storage.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, storage.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, storage.handle, 0);
    // Every full-size target shares the one depth buffer, as a frame's
    // passes expect to depth-test against what earlier passes drew.
    if (targetWidth == width && targetHeight == height)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, sharedDepth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Delete(storage);
        return std::nullopt;
    }
    return storage;
}

void GlTargets::Delete(TextureStorage& storage)
{
    if (storage.framebuffer)
        glDeleteFramebuffers(1, &storage.framebuffer);
    glDeleteTextures(1, &storage.handle);
    storage = TextureStorage{};
}

void GlTargets::ChooseBackBuffer(Surface& backBuffer, bool offScreen)
{
    int drawableWidth = 0;
    int drawableHeight = 0;
    window.DrawableSize(drawableWidth, drawableHeight);
    // Off-screen the back buffer costs a copy at Present; standing in for the
    // float scene target it saves more, as the world is drawn at 8 bits once
    // instead of at 16 and then copied.
    const bool own = drawableWidth == width && drawableHeight == height && !offScreen;
    backBuffer.framebuffer = own ? 0 : offScreenFramebuffer;
    // Off-screen it is stored top row first like every target, so that any of
    // them can stand in for it and rasterise alike; the window's is bottom-up.
    backBuffer.topRowFirst = !own;
}

void GlTargets::Bind(const Surface& target)
{
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, target.width, target.height);
    // Front faces wind clockwise as seen; a target stored top row first shows
    // GL every picture mirrored, and so every winding reversed.
    glFrontFace(target.topRowFirst ? GL_CCW : GL_CW);
}

void GlTargets::Clear(const Surface& target, const std::optional<Color>& colour, std::optional<float> depth)
{
    GLbitfield mask = 0;
    if (colour) {
        glClearColor(colour->r, colour->g, colour->b, colour->a);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (depth) {
        glClearDepth(*depth);
        glClearStencil(0);
        // Clearing obeys the depth mask; a clear must reach the buffer whatever the state.
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
    // With the window's own back buffer, the depth buffer the full-size targets
    // share is a second buffer; clearing "the" depth buffer clears both.
    if (depth && target.framebuffer == 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, depthOnlyFramebuffer);
        glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        Bind(target);
    }
}

void GlTargets::ClearArea(const Surface& target, const ScreenRect& area, const Color& colour)
{
    SetScissor(target, area);
    glClearColor(colour.r, colour.g, colour.b, colour.a);
    glClear(GL_COLOR_BUFFER_BIT);
    SetScissor(target, std::nullopt);
}

void GlTargets::SetScissor(const Surface& target, const std::optional<ScreenRect>& area)
{
    if (!area) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glEnable(GL_SCISSOR_TEST);
    // GL counts rows from the bottom of what it stores.
    const int row = target.topRowFirst ? area->y : target.height - area->Bottom();
    glScissor(area->x, row, area->width, area->height);
}

void GlTargets::Copy(const Surface& from, const Surface& to)
{
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to.framebuffer);
    // Rows run the other way in the window's own framebuffer.
    const bool flip = from.topRowFirst != to.topRowFirst;
    glBlitFramebuffer(0, 0, to.width, to.height, 0, flip ? to.height : 0, to.width, flip ? 0 : to.height,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    Bind(to);
}

void GlTargets::Present(const Surface& backBuffer, std::vector<std::uint8_t>* pixels, WindowPicture* shown)
{
    if (pixels) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer.framebuffer);
        ReadFramebuffer(width, height, backBuffer.topRowFirst, *pixels);
    }
    if (backBuffer.framebuffer) {
        int displayWidth = 0;
        int displayHeight = 0;
        window.DrawableSize(displayWidth, displayHeight);
        // The largest rectangle of the back buffer's shape that fits, centred; the bars stay black.
        const int shownWidth = std::min(displayWidth, displayHeight * width / height);
        const int shownHeight = shownWidth * height / width;
        const int x = (displayWidth - shownWidth) / 2;
        const int y = (displayHeight - shownHeight) / 2;
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        if (shownWidth != displayWidth || shownHeight != displayHeight) {
            glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        glBindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer.framebuffer);
        // Top row first in the back buffer, last in the window; at its own size a plain copy.
        const bool scaled = shownWidth != width || shownHeight != height;
        glBlitFramebuffer(0, height, width, 0, x, y, x + shownWidth, y + shownHeight, GL_COLOR_BUFFER_BIT,
                          scaled ? GL_LINEAR : GL_NEAREST);
    }
    if (shown) {
        window.DrawableSize(shown->width, shown->height);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        ReadFramebuffer(shown->width, shown->height, false, shown->pixels);
    }
    window.SwapBuffers();
}

unsigned GlTargets::CopyOf(const Surface& target, int copyWidth, int copyHeight, bool half)
{
    if (!targetCopy.handle || targetCopyWidth != copyWidth || targetCopyHeight != copyHeight || targetCopyHalf != half) {
        Delete(targetCopy);
        targetCopy = MakeTarget(copyWidth, copyHeight, half).value_or(TextureStorage{});
        targetCopyWidth = copyWidth;
        targetCopyHeight = copyHeight;
        targetCopyHalf = half;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, targetCopy.framebuffer);
    glBlitFramebuffer(0, 0, copyWidth, copyHeight, 0, 0, copyWidth, copyHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    Bind(target);
    return targetCopy.handle;
}
