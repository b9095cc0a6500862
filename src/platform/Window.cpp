#include "platform/Window.h"

#include <SDL.h>

namespace {
// The window may shrink to a quarter of the picture's size each way, no less.
constexpr int MinimumFraction = 4;
}

std::unique_ptr<Window> Window::Create(const std::string& title, int width, int height, std::string& error)
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);

    SDL_Window* sdlWindow = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                             height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!sdlWindow) {
        error = SDL_GetError();
        return nullptr;
    }
    SDL_SetWindowMinimumSize(sdlWindow, width / MinimumFraction, height / MinimumFraction);
    return std::unique_ptr<Window>(new Window(sdlWindow));
}

Window::~Window()
{
    if (glContext)
        SDL_GL_DeleteContext(glContext);
    SDL_DestroyWindow(window);
}

void Window::SetFullScreen(bool fullScreen)
{
    if (fullScreen == ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0))
        return;
    if (!fullScreen) {
        // Without a window manager nothing else would shrink the window back,
        // and SDL would go on taking it for the display's size.
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowSize(window, windowed.width, windowed.height);
        // SDL places a window by its frame as far as it has heard of it, and
        // it may not have heard yet of the frame the window manager puts
        // back: the window would come back lower by its title bar each time.
        int frameTop = 0;
        int frameLeft = 0;
        SDL_GetWindowBordersSize(window, &frameTop, &frameLeft, nullptr, nullptr);
        SDL_SetWindowPosition(window, windowed.x - windowed.frameLeft + frameLeft,
                              windowed.y - windowed.frameTop + frameTop);
        return;
    }
    SDL_GetWindowPosition(window, &windowed.x, &windowed.y);
    SDL_GetWindowSize(window, &windowed.width, &windowed.height);
    SDL_GetWindowBordersSize(window, &windowed.frameTop, &windowed.frameLeft, nullptr, nullptr);
    // Full screen is a request to the window manager, and SDL takes the
    // window for the display's size either way. With no window manager to
    // carry it out (a bare X server) the window would keep its size and show
    // a corner of a picture drawn for the display, so it covers the display
    // itself first.
    SDL_Rect display;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &display) == 0) {
        SDL_SetWindowPosition(window, display.x, display.y);
        SDL_SetWindowSize(window, display.w, display.h);
    }
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool Window::CreateContext(std::string& error)
{
    glContext = SDL_GL_CreateContext(window);
    if (!glContext) {
        error = SDL_GetError();
        return false;
    }
    // The loop paces itself; waiting for the display as well would halve the rate
    // whenever a frame misses a refresh.
    SDL_GL_SetSwapInterval(0);
    return true;
}

void Window::Show()
{
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
}

void Window::SwapBuffers()
{
    SDL_GL_SwapWindow(window);
}

void Window::SetSize(int width, int height)
{
    SDL_SetWindowSize(window, width, height);
}

void Window::DrawableSize(int& width, int& height) const
{
    SDL_GL_GetDrawableSize(window, &width, &height);
}
