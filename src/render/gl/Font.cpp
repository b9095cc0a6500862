#include "render/gl/Font.h"

#include <epoxy/gl.h>
#include <stb_truetype.h>

#include "files/FileBytes.h"

namespace {

// Room for the largest fonts with every script in them.
constexpr std::size_t MaxFontFileBytes = 64u << 20;

}  // namespace

std::unique_ptr<Font> Font::Create(const std::string& fontFile, int cellSize, bool proportional)
{
    std::string error;
    const std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(fontFile, MaxFontFileBytes, error);
    if (!bytes || bytes->empty())
        return nullptr;
    const std::vector<unsigned char>& data = *bytes;
    stbtt_fontinfo info;
    if (!stbtt_InitFont(&info, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0)))
        return nullptr;

    std::vector<unsigned char> coverage(AtlasSize * AtlasSize);
    std::vector<stbtt_bakedchar> baked(CharCount);
    const float pixelHeight = static_cast<float>(cellSize);
    if (stbtt_BakeFontBitmap(data.data(), 0, pixelHeight, coverage.data(), AtlasSize, AtlasSize, FirstChar, CharCount,
                             baked.data()) <= 0)
        return nullptr;

    std::unique_ptr<Font> font(new Font());
    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    font->baseline = static_cast<float>(ascent) * stbtt_ScaleForPixelHeight(&info, pixelHeight);
    for (const stbtt_bakedchar& c : baked) {
        // Centre each glyph of a fixed-pitch face in its cell so the narrow face reads as evenly spaced.
        const float offset = proportional ? 0.0f : (pixelHeight - c.xadvance) / 2;
        font->glyphs.push_back({c.xoff + offset, c.yoff, c.xoff + offset + (c.x1 - c.x0), c.yoff + (c.y1 - c.y0),
                                static_cast<float>(c.x0) / AtlasSize, static_cast<float>(c.y0) / AtlasSize,
                                static_cast<float>(c.x1) / AtlasSize, static_cast<float>(c.y1) / AtlasSize,
                                proportional ? c.xadvance : pixelHeight});
    }

    std::vector<unsigned char> pixels(AtlasSize * AtlasSize * 4, 255);
    for (std::size_t i = 0; i < coverage.size(); ++i)
        pixels[i * 4 + 3] = coverage[i];
    glGenTextures(1, &font->texture);
    glBindTexture(GL_TEXTURE_2D, font->texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, AtlasSize, AtlasSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    return font;
}

Font::~Font()
{
    glDeleteTextures(1, &texture);
}

std::vector<SpriteQuad> Font::Layout(const std::string& text, float x, float y) const
{
    std::vector<SpriteQuad> quads;
    float pen = x;
    for (const char c : text) {
        const int index = static_cast<unsigned char>(c) - FirstChar;
        // A character the face lacks takes a space's room.
        const Glyph& g = glyphs[index >= 0 && index < CharCount ? index : 0];
        if (index >= 0 && index < CharCount && g.x1 > g.x0) {
            const float top = y + baseline + g.y0;
            const float bottom = y + baseline + g.y1;
            quads.push_back({{{pen + g.x0, top, g.u0, g.v0},
                              {pen + g.x1, top, g.u1, g.v0},
                              {pen + g.x1, bottom, g.u1, g.v1},
                              {pen + g.x0, bottom, g.u0, g.v1}}});
        }
        pen += g.advance;
    }
    return quads;
}
