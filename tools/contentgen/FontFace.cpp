#include "FontFace.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include <glm/common.hpp>
#include <stb_truetype.h>

struct FontFace::Font {
    stbtt_fontinfo info;
};

namespace {

// Decodes UTF-8; malformed bytes come out as U+FFFD.
std::vector<int> CodePoints(std::string_view text)
{
    std::vector<int> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        int cp = length == 1 ? c : c & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out.push_back(cp);
        i += length;
    }
    return out;
}

float Bilinear(const TextImage& image, glm::vec2 p)
{
    const float x = std::clamp(p.x - 0.5f, 0.0f, static_cast<float>(image.width - 1));
    const float y = std::clamp(p.y - 0.5f, 0.0f, static_cast<float>(image.height - 1));
    const int x0 = static_cast<int>(x);
    const int y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, image.width - 1);
    const int y1 = std::min(y0 + 1, image.height - 1);
    const float fx = x - static_cast<float>(x0);
    const float fy = y - static_cast<float>(y0);
    auto at = [&](int xi, int yi) { return image.distance[static_cast<std::size_t>(yi) * image.width + xi]; };
    const float top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * fx;
    const float bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * fx;
    return top + (bottom - top) * fy;
}

}  // namespace

Shape TextImage::At(glm::vec2 origin) const
{
    auto self = std::make_shared<const TextImage>(*this);
    const glm::vec2 size(static_cast<float>(width), static_cast<float>(height));
    return [self, origin, size](glm::vec2 p) {
        const glm::vec2 local = p - origin;
        if (local.x < 0.0f || local.y < 0.0f || local.x > size.x || local.y > size.y) {
            return self->padding;
        }
        return Bilinear(*self, local);
    };
}

glm::vec2 TextImage::CentredOn(glm::vec2 centre) const
{
    return glm::vec2(centre.x - (inkMin.x + inkMax.x) * 0.5f, centre.y - baseline + capHeight * 0.5f);
}

glm::vec2 TextImage::LeftAlignedOn(glm::vec2 left) const
{
    return glm::vec2(left.x - inkMin.x, left.y - baseline + capHeight * 0.5f);
}

FontFace::FontFace() = default;
FontFace::~FontFace() = default;
FontFace::FontFace(FontFace&&) noexcept = default;
FontFace& FontFace::operator=(FontFace&&) noexcept = default;

bool FontFace::Load(const std::string& path)
{
    font.reset();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    auto loaded = std::make_unique<Font>();
    const int offset = stbtt_GetFontOffsetForIndex(bytes.data(), 0);
    if (bytes.empty() || offset < 0 || !stbtt_InitFont(&loaded->info, bytes.data(), offset)) {
        bytes.clear();
        return false;
    }
    font = std::move(loaded);
    return true;
}

TextImage FontFace::Render(std::string_view utf8, float emPixels, float padding) const
{
    TextImage image;
    if (!font) {
        return image;
    }
    const stbtt_fontinfo* info = &font->info;
    const float scale = stbtt_ScaleForMappingEmToPixels(info, emPixels);
    int ascent = 0;
    int descent = 0;
    int gap = 0;
    stbtt_GetFontVMetrics(info, &ascent, &descent, &gap);
    int capX0 = 0, capY0 = 0, capX1 = 0, capY1 = 0;
    stbtt_GetCodepointBox(info, 'H', &capX0, &capY0, &capX1, &capY1);

    const std::vector<int> text = CodePoints(utf8);
    std::vector<float> pen(text.size());
    float x = 0.0f;
    for (std::size_t i = 0; i < text.size(); ++i) {
        pen[i] = x;
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(info, text[i], &advance, &bearing);
        x += static_cast<float>(advance) * scale;
        if (i + 1 < text.size()) {
            x += static_cast<float>(stbtt_GetCodepointKernAdvance(info, text[i], text[i + 1])) * scale;
        }
    }

    const int pad = static_cast<int>(std::ceil(padding));
    image.padding = static_cast<float>(pad);
    image.width = static_cast<int>(std::ceil(x)) + 2 * pad;
    image.height = static_cast<int>(std::ceil(static_cast<float>(ascent - descent) * scale)) + 2 * pad;
    image.baseline = static_cast<float>(pad) + std::round(static_cast<float>(ascent) * scale);
    image.capHeight = static_cast<float>(capY1) * scale;
    image.distance.assign(static_cast<std::size_t>(image.width) * image.height, image.padding);

    // The field saturates at the padding; an edge sits at 128 of 255.
    const float onEdge = 128.0f;
    const float perPixel = onEdge / image.padding;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int w = 0, h = 0, xOff = 0, yOff = 0;
        unsigned char* sdf = stbtt_GetCodepointSDF(info, scale, text[i], pad, static_cast<unsigned char>(onEdge),
                                                   perPixel, &w, &h, &xOff, &yOff);
        if (!sdf) {
            continue;
        }
        const int left = static_cast<int>(std::lround(pen[i])) + pad + xOff;
        const int top = static_cast<int>(image.baseline) + yOff;
        for (int gy = 0; gy < h; ++gy) {
            for (int gx = 0; gx < w; ++gx) {
                const int ix = left + gx;
                const int iy = top + gy;
                if (ix < 0 || iy < 0 || ix >= image.width || iy >= image.height) {
                    continue;
                }
                float& d = image.distance[static_cast<std::size_t>(iy) * image.width + ix];
                d = std::min(d, (onEdge - static_cast<float>(sdf[gy * w + gx])) / perPixel);
            }
        }
        stbtt_FreeSDF(sdf, nullptr);
    }

    image.inkMin = glm::vec2(static_cast<float>(image.width), static_cast<float>(image.height));
    image.inkMax = glm::vec2(0.0f);
    for (int iy = 0; iy < image.height; ++iy) {
        for (int ix = 0; ix < image.width; ++ix) {
            if (image.distance[static_cast<std::size_t>(iy) * image.width + ix] < 0.0f) {
                image.inkMin = glm::min(image.inkMin, glm::vec2(static_cast<float>(ix), static_cast<float>(iy)));
                image.inkMax = glm::max(image.inkMax, glm::vec2(static_cast<float>(ix + 1), static_cast<float>(iy + 1)));
            }
        }
    }
    if (image.inkMax.x < image.inkMin.x) {
        image.inkMin = image.inkMax = glm::vec2(static_cast<float>(pad), image.baseline);
    }
    return image;
}
