#pragma once

#include <cstddef>
#include <memory>
#include <string>

class GraphicsDevice;
struct Surface;

// The pixel formats the game asks render targets for; loaded images are always 8-bit RGBA.
enum class TextureFormat : int {
    Unknown = 0,
    A8R8G8B8 = 21,
    A16B16G16R16F = 113,
};

// What is known of a texture's image: its size and format.
struct ImageInfo {
    unsigned width = 0;
    unsigned height = 0;
    unsigned depth = 0;
    unsigned mipLevels = 0;
    TextureFormat format = TextureFormat::Unknown;
};

// A rectangle in pixels, right and bottom exclusive.
struct Rect {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
};

// One image on the graphics device: loaded from a PNG at its own size, or made
// empty as a render target. A texture that failed to load keeps its name and an
// empty size, and draws as nothing. On the null back end (headless runs)
// images are still decoded, so sizes are real, but nothing is uploaded.
class Texture {
public:
    // Images and targets live on a device, and go before it does.
    explicit Texture(GraphicsDevice& device);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Meant for a fresh texture. False when the file is missing or not an image.
    bool LoadFromFile(const std::string& name);
    // An empty target of the given size; name is how the draw log calls it.
    bool CreateRenderTarget(int width, int height, TextureFormat format, const std::string& name);
    void Release();

    // Whether there is an image (a loaded file or a render target).
    bool HasImage() const { return present; }
    // A loaded image whose every pixel has full alpha.
    bool Opaque() const { return opaque; }
    // What its pixels take, by its size and format.
    std::size_t Bytes() const;
    // The back end's name for it; 0 without an image, or on the null back end.
    unsigned Handle() const { return handle; }
    // Render targets only: where to draw into it.
    Surface* GetSurface() const { return surface.get(); }

    ImageInfo imageInfo;
    // The whole image, for drawing it as a sprite.
    Rect sourceRect;
    // The file it was loaded from; empty for render targets.
    std::string fileName;

private:
    GraphicsDevice* device;
    unsigned handle = 0;
    bool present = false;
    bool opaque = false;
    std::unique_ptr<Surface> surface;
};
