#include "render/Sprites.h"

#include <algorithm>

#include "render/GraphicsDevice.h"
#include "render/Texture.h"
#include "render/TextureCache.h"

namespace Sprites {

std::shared_ptr<Texture> Image(const std::string& name)
{
    return TextureCache::Instance().Get(name);
}

void Draw(const std::shared_ptr<Texture>& image, const Matrix& transform, const Vector3& centre, std::uint32_t argb)
{
    const Rect source{0, 0, static_cast<long>(image->imageInfo.width), static_cast<long>(image->imageInfo.height)};
    GraphicsDevice::Instance().DrawSprite(image, &source, &transform, &centre, argb);
}

void DrawCentred(const std::shared_ptr<Texture>& image, const Matrix& transform, std::uint32_t argb)
{
    const auto w = static_cast<int>(image->imageInfo.width);
    const auto h = static_cast<int>(image->imageInfo.height);
    Draw(image, transform, Vector3(static_cast<float>(w / 2), static_cast<float>(h / 2), 0.0f), argb);
}

void DrawWhiteOverlay(int alpha)
{
    GraphicsDevice& device = GraphicsDevice::Instance();
    const auto a = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
    const Rect screen{0, 0, device.BackBufferWidth(), device.BackBufferHeight()};
    const Matrix identity;
    const Vector3 corner(0.0f);
    device.DrawSprite(Image("Resource/Texture/White.png"), &screen, &identity, &corner, a << 24 | 0x00FFFFFFu);
}

void DrawWhiteOverlayAlone(int alpha)
{
    GraphicsDevice& device = GraphicsDevice::Instance();
    device.BeginSprite();
    DrawWhiteOverlay(alpha);
    device.EndSprite();
}

}  // namespace Sprites
