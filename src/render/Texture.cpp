#include "render/Texture.h"

#include <cstdio>

#include <epoxy/gl.h>

#include "formats/ImageFile.h"
#include "render/GraphicsDevice.h"
#include "render/Surface.h"

Texture::Texture(GraphicsDevice& owner) : device(&owner) {}

Texture::~Texture()
{
    Release();
}

void Texture::Release()
{
    if (device->HasContext()) {
        if (surface && surface->framebuffer)
            glDeleteFramebuffers(1, &surface->framebuffer);
        glDeleteTextures(1, &handle);
    }
    handle = 0;
    present = false;
    surface.reset();
    imageInfo = ImageInfo{};
    sourceRect = Rect{};
    fileName.clear();
}

bool Texture::LoadFromFile(const std::string& name)
{
    fileName = name;
    std::string error;
    const std::optional<Image> image = ReadImageFile(name, error);
    if (!image) {
        // Drawn as nothing, as a missing image is; say why for whoever looks.
        std::fprintf(stderr, "orb: %s: %s\n", name.c_str(), error.c_str());
        return false;
    }
    const int width = image->width;
    const int height = image->height;

    if (device->HasContext()) {
        glGenTextures(1, &handle);
        glBindTexture(GL_TEXTURE_2D, handle);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        // The top row goes first, so texture coordinate v = 0 is the image's top.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, image->rgba.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    }

    present = true;
    imageInfo.width = static_cast<unsigned>(width);
    imageInfo.height = static_cast<unsigned>(height);
    imageInfo.depth = 1;
    imageInfo.mipLevels = 1;
    imageInfo.format = TextureFormat::A8R8G8B8;
    sourceRect = {0, 0, width, height};
    return true;
}

bool Texture::CreateRenderTarget(int width, int height, TextureFormat format, const std::string& name)
{
    Release();
    if (width <= 0 || height <= 0)
        return false;
    surface = std::make_unique<Surface>();
    surface->width = width;
    surface->height = height;
    surface->name = name;

    if (device->HasContext()) {
        glGenTextures(1, &handle);
        glBindTexture(GL_TEXTURE_2D, handle);
        const bool half = format == TextureFormat::A16B16G16R16F;
        glTexImage2D(GL_TEXTURE_2D, 0, half ? GL_RGBA16F : GL_RGBA8, width, height, 0, GL_RGBA,
                     half ? GL_HALF_FLOAT : GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glGenFramebuffers(1, &surface->framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, surface->framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, handle, 0);
        // Every full-size target shares the one depth buffer, as a frame's
        // passes expect to depth-test against what earlier passes drew.
        if (width == device->BackBufferWidth() && height == device->BackBufferHeight())
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                      device->SharedDepthBuffer());
        const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, device->GetRenderTarget()->framebuffer);
        if (!complete) {
            Release();
            return false;
        }
    }
    present = true;
    imageInfo.width = static_cast<unsigned>(width);
    imageInfo.height = static_cast<unsigned>(height);
    imageInfo.depth = 1;
    imageInfo.mipLevels = 1;
    imageInfo.format = format;
    sourceRect = {0, 0, width, height};
    return true;
}
