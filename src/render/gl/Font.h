#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "render/SpriteQuad.h"

// A face the device writes text with: printable ASCII baked into one
// texture. A fixed-pitch face advances every character one cell, its glyph
// centred in it; a proportional one by each glyph's own width.
class Font {
public:
    static std::unique_ptr<Font> Create(const std::string& fontFile, int cellSize, bool proportional);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    unsigned Texture() const { return texture; }
    // The glyph quads of text with its top-left corner at (x, y), one per visible character.
    std::vector<SpriteQuad> Layout(const std::string& text, float x, float y) const;

private:
    Font() = default;

    static constexpr int FirstChar = 32;
    static constexpr int CharCount = 95;
    static constexpr int AtlasSize = 512;

    struct Glyph {
        float x0, y0, x1, y1;  // quad relative to the pen on the baseline
        float u0, v0, u1, v1;
        float advance;
    };
    std::vector<Glyph> glyphs;
    float baseline = 0;
    unsigned texture = 0;
};
