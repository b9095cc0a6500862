#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "math/Matrix.h"

class Texture;
struct RenderContext;

// The ways the scenes put images on the screen, each one sprite of the
// current batch with the whole image as its source.
namespace Sprites {

constexpr std::uint32_t OpaqueWhite = 0xFFFFFFFF;

// The image from the texture cache.
std::shared_ptr<Texture> Image(const RenderContext& render, const std::string& name);
// The point centre of the image lands on the transform's origin.
void Draw(const RenderContext& render, const std::shared_ptr<Texture>& image, const Matrix& transform,
          const Vector3& centre, std::uint32_t argb = OpaqueWhite);
// About the image's middle (w / 2, h / 2, halves truncated).
void DrawCentred(const RenderContext& render, const std::shared_ptr<Texture>& image, const Matrix& transform,
                 std::uint32_t argb = OpaqueWhite);
// ImageFile::White over the whole back buffer with the given alpha: the scenes' fades.
void DrawWhiteOverlay(const RenderContext& render, int alpha);
// The same on its own, in a batch of its own: the fade-outs draw it over everything.
void DrawWhiteOverlayAlone(const RenderContext& render, int alpha);

}  // namespace Sprites
