#include "render/GraphicsDevice.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include <epoxy/gl.h>

#include "platform/Application.h"
#include "platform/Window.h"

namespace {

std::unique_ptr<GraphicsDevice>& Holder()
{
    static std::unique_ptr<GraphicsDevice> instance;
    return instance;
}

float Channel(std::uint32_t argb, int shift)
{
    return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f;
}

}  // namespace

GraphicsDevice& GraphicsDevice::Instance()
{
    auto& holder = Holder();
    if (!holder)
        holder.reset(new GraphicsDevice());
    return *holder;
}

void GraphicsDevice::Reset()
{
    Holder().reset();
}

GraphicsDevice::~GraphicsDevice()
{
    Shutdown();
}

bool GraphicsDevice::Initialize(Window* targetWindow, bool useFullScreen, std::string& error)
{
    backBufferWidth = Application::ScreenWidth;
    backBufferHeight = Application::ScreenHeight;
    fullScreen = useFullScreen;
    if (!targetWindow)
        return true;

    if (!targetWindow->CreateContext(error))
        return false;
    if (epoxy_gl_version() < 33) {
        error = "OpenGL 3.3 is not available";
        return false;
    }
    window = targetWindow;

    if (fullScreen) {
        glGenRenderbuffers(1, &backBufferColour);
        glBindRenderbuffer(GL_RENDERBUFFER, backBufferColour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, backBufferWidth, backBufferHeight);
        glGenRenderbuffers(1, &backBufferDepth);
        glBindRenderbuffer(GL_RENDERBUFFER, backBufferDepth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, backBufferWidth, backBufferHeight);
        glGenFramebuffers(1, &backBufferFramebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, backBufferFramebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, backBufferColour);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, backBufferDepth);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            error = "the full-screen back buffer cannot be created";
            return false;
        }
    }
    BindBackBuffer();
    SetDefaultStates();
    return true;
}

void GraphicsDevice::SetDefaultStates()
{
    if (!window)
        return;
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_CULL_FACE);
}

void GraphicsDevice::Shutdown()
{
    if (!window)
        return;
    if (backBufferFramebuffer)
        glDeleteFramebuffers(1, &backBufferFramebuffer);
    if (backBufferColour)
        glDeleteRenderbuffers(1, &backBufferColour);
    if (backBufferDepth)
        glDeleteRenderbuffers(1, &backBufferDepth);
    backBufferFramebuffer = backBufferColour = backBufferDepth = 0;
    window = nullptr;
}

void GraphicsDevice::BindBackBuffer()
{
    glBindFramebuffer(GL_FRAMEBUFFER, backBufferFramebuffer);
    glViewport(0, 0, backBufferWidth, backBufferHeight);
}

void GraphicsDevice::Clear(std::uint32_t argb, float depth)
{
    if (!window)
        return;
    glClearColor(Channel(argb, 16), Channel(argb, 8), Channel(argb, 0), Channel(argb, 24));
    glClearDepth(depth);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void GraphicsDevice::BeginScene()
{
}

void GraphicsDevice::EndScene()
{
}

void GraphicsDevice::ReadBackBuffer(std::vector<std::uint8_t>& pixels)
{
    const int rowBytes = backBufferWidth * 4;
    pixels.resize(static_cast<std::size_t>(rowBytes) * backBufferHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, backBufferFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, backBufferWidth, backBufferHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // GL reads bottom row first.
    std::vector<std::uint8_t> row(rowBytes);
    for (int top = 0, bottom = backBufferHeight - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = pixels.data() + static_cast<std::size_t>(top) * rowBytes;
        std::uint8_t* b = pixels.data() + static_cast<std::size_t>(bottom) * rowBytes;
        std::memcpy(row.data(), a, rowBytes);
        std::memcpy(a, b, rowBytes);
        std::memcpy(b, row.data(), rowBytes);
    }
}

void GraphicsDevice::Present()
{
    std::vector<std::uint8_t>* pixels = std::exchange(capture, nullptr);
    if (!window)
        return;
    if (pixels)
        ReadBackBuffer(*pixels);

    if (fullScreen) {
        int displayWidth = 0;
        int displayHeight = 0;
        window->DrawableSize(displayWidth, displayHeight);
        // Largest 16:9 rectangle that fits, centred; the bars stay black.
        const int width = std::min(displayWidth, displayHeight * backBufferWidth / backBufferHeight);
        const int height = width * backBufferHeight / backBufferWidth;
        const int x = (displayWidth - width) / 2;
        const int y = (displayHeight - height) / 2;
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, backBufferFramebuffer);
        glBlitFramebuffer(0, 0, backBufferWidth, backBufferHeight, x, y, x + width, y + height, GL_COLOR_BUFFER_BIT,
                          GL_LINEAR);
    }
    window->SwapBuffers();
    BindBackBuffer();
}
