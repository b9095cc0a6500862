#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <glm/vec2.hpp>

#include "Canvas.h"

// A line of text laid out and turned into a distance field, so it can be
// filled, outlined and shadowed at any width up to `padding` pixels.
struct TextImage {
    int width = 0;
    int height = 0;
    float padding = 0.0f;
    // Signed distance in pixels per texel, negative inside the glyphs.
    std::vector<float> distance;
    // In the image's own pixels.
    float baseline = 0.0f;
    float capHeight = 0.0f;
    glm::vec2 inkMin{0.0f};
    glm::vec2 inkMax{0.0f};

    // The text as a shape with its image's top-left corner at `origin`.
    Shape At(glm::vec2 origin) const;
    // Where the top-left corner goes so that the ink is centred on x and the
    // capitals on y.
    glm::vec2 CentredOn(glm::vec2 centre) const;
    // The same with the ink starting at left.x.
    glm::vec2 LeftAlignedOn(glm::vec2 left) const;
};

// One TrueType font file, rendered through stb_truetype.
class FontFace {
public:
    FontFace();
    ~FontFace();
    FontFace(FontFace&&) noexcept;
    FontFace& operator=(FontFace&&) noexcept;

    // False, with the face left empty, when the file is missing or not a font.
    bool Load(const std::string& path);

    // UTF-8 text at `emPixels` pixels to the em, with room for outlines and
    // shadows of up to `padding` pixels.
    TextImage Render(std::string_view utf8, float emPixels, float padding = 16.0f) const;

private:
    struct Font;
    std::vector<unsigned char> bytes;
    std::unique_ptr<Font> font;
};
