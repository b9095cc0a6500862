#include "render/Sprites.h"

#include <algorithm>

#include "assets/AssetFiles.h"
#include "render/GraphicsDevice.h"
#include "render/RenderContext.h"
#include "render/Texture.h"
#include "render/TextureCache.h"

namespace Sprites {

std::shared_ptr<Texture> Image(const RenderContext& render, const std::string& name)
{
    return render.textures.Get(name);
}

void Draw(const RenderContext& render, const std::shared_ptr<Texture>& image, const Matrix& transform,
          const Vector3& centre, std::uint32_t argb)
{
    const Rect source{0, 0, static_cast<long>(image->imageInfo.width), static_cast<long>(image->imageInfo.height)};
    render.device.DrawSprite(image, &source, &transform, &centre, argb);
}

void DrawCentred(const RenderContext& render, const std::shared_ptr<Texture>& image, const Matrix& transform,
                 std::uint32_t argb)
{
    const auto w = static_cast<int>(image->imageInfo.width);
    const auto h = static_cast<int>(image->imageInfo.height);
    Draw(render, image, transform, Vector3(static_cast<float>(w / 2), static_cast<float>(h / 2), 0.0f), argb);
}

void DrawWhiteOverlay(const RenderContext& render, int alpha)
{
    GraphicsDevice& device = render.device;
    const auto a = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
    const Rect screen{0, 0, device.BackBufferWidth(), device.BackBufferHeight()};
    const Matrix identity;
    const Vector3 corner(0.0f);
    device.DrawSprite(Image(render, ImageFile::White), &screen, &identity, &corner, a << 24 | 0x00FFFFFFu);
}

void DrawWhiteOverlayAlone(const RenderContext& render, int alpha)
{
    render.device.BeginSprite();
    DrawWhiteOverlay(render, alpha);
    render.device.EndSprite();
}

}  // namespace Sprites
