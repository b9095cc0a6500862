#include "Canvas.h"

#include <algorithm>
#include <cmath>

#include <stb_image_write.h>

namespace {

float Coverage(float distance, float feather)
{
    const float t = std::clamp(0.5f - distance / feather, 0.0f, 1.0f);
    return feather > 1.5f ? t * t * (3.0f - 2.0f * t) : t;
}

unsigned char Byte(float v) { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

void AppendBytes(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    const auto* bytes = static_cast<const unsigned char*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

Canvas::Canvas(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, glm::vec4(0.0f)) {}

void Canvas::Draw(const Shape& shape, const Paint& paint, float feather, Bounds bounds)
{
    const int x0 = static_cast<int>(std::clamp(std::floor(bounds.min.x), 0.0f, static_cast<float>(width)));
    const int y0 = static_cast<int>(std::clamp(std::floor(bounds.min.y), 0.0f, static_cast<float>(height)));
    const int x1 = static_cast<int>(std::clamp(std::ceil(bounds.max.x), 0.0f, static_cast<float>(width)));
    const int y1 = static_cast<int>(std::clamp(std::ceil(bounds.max.y), 0.0f, static_cast<float>(height)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const glm::vec2 p(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float cover = Coverage(shape(p), feather);
            if (cover <= 0.0f) {
                continue;
            }
            const Color c = paint(p);
            const float a = c.a * cover;
            glm::vec4& dst = pixels[static_cast<std::size_t>(y) * width + x];
            dst = glm::vec4(c.r * a, c.g * a, c.b * a, a) + dst * (1.0f - a);
        }
    }
}

void Canvas::Draw(const Shape& shape, Color color, float feather, Bounds bounds)
{
    Draw(shape, [color](glm::vec2) { return color; }, feather, bounds);
}

void Canvas::Set(int x, int y, Color c)
{
    pixels[static_cast<std::size_t>(y) * width + x] = glm::vec4(c.r * c.a, c.g * c.a, c.b * c.a, c.a);
}

Color Canvas::At(int x, int y) const
{
    const glm::vec4 p = pixels[static_cast<std::size_t>(y) * width + x];
    return p.a > 0.0f ? Color(p.r / p.a, p.g / p.a, p.b / p.a, p.a) : Color(0.0f);
}

std::vector<unsigned char> Canvas::EncodePng() const
{
    std::vector<unsigned char> rgba;
    rgba.reserve(pixels.size() * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Color c = At(x, y);
            rgba.insert(rgba.end(), {Byte(c.r), Byte(c.g), Byte(c.b), Byte(c.a)});
        }
    }
    std::vector<unsigned char> png;
    stbi_write_png_to_func(AppendBytes, &png, width, height, 4, rgba.data(), width * 4);
    return png;
}
