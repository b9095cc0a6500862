#include "render/Texture.h"

#include <cstdio>

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
    TextureStorage storage{handle, surface ? surface->framebuffer : 0};
    device->BackEnd().Delete(storage);
    handle = 0;
    present = false;
    opaque = false;
    surface.reset();
    imageInfo = ImageInfo{};
    sourceRect = Rect{};
    fileName.clear();
}

std::size_t Texture::Bytes() const
{
    const std::size_t texel = imageInfo.format == TextureFormat::A16B16G16R16F ? 8 : 4;
    return texel * imageInfo.width * imageInfo.height;
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

    handle = device->BackEnd().MakeImage(width, height, image->rgba.data()).handle;
    present = true;
    opaque = true;
    for (std::size_t alpha = 3; alpha < image->rgba.size() && opaque; alpha += 4)
        opaque = image->rgba[alpha] == 0xFF;
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

    const std::optional<TextureStorage> storage =
        device->MakeTarget(width, height, format == TextureFormat::A16B16G16R16F);
    if (!storage) {
        Release();
        return false;
    }
    handle = storage->handle;
    surface->framebuffer = storage->framebuffer;
    present = true;
    imageInfo.width = static_cast<unsigned>(width);
    imageInfo.height = static_cast<unsigned>(height);
    imageInfo.depth = 1;
    imageInfo.mipLevels = 1;
    imageInfo.format = format;
    sourceRect = {0, 0, width, height};
    return true;
}
