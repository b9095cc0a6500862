#pragma once

#include <memory>
#include <string>

struct SDL_Window;

// The one top-level window with its OpenGL 3.3 core context. It opens at the
// picture's size and may be resized (the device scales the picture to fit);
// full screen covers the desktop at its own mode instead of switching the
// display, with a window manager or without one.
class Window {
public:
    // A hidden window; nullptr with the reason in error when SDL cannot make one.
    static std::unique_ptr<Window> Create(const std::string& title, int width, int height, std::string& error);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Back from full screen, the window takes the place and size it had before.
    void SetFullScreen(bool fullScreen);
    // The client area's size in screen coordinates.
    void SetSize(int width, int height);
    bool CreateContext(std::string& error);
    void Show();
    void SwapBuffers();
    // The size of the default framebuffer in pixels (the display's in full screen).
    void DrawableSize(int& width, int& height) const;
    SDL_Window* Handle() const { return window; }

private:
    explicit Window(SDL_Window* sdlWindow) : window(sdlWindow) {}

    SDL_Window* window = nullptr;
    void* glContext = nullptr;
    // Where the window was before full screen, and the frame it had there.
    struct Placement {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        int frameTop = 0;
        int frameLeft = 0;
    } windowed;
};
