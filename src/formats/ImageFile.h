#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A decoded image: 8-bit RGBA, top row first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// Neither side of an image may be longer than this; texture sizes end there.
constexpr int MaxImageSide = 8192;

// Decodes a PNG (any colour type and depth, interlaced or not) or a JPEG
// image; anything else is refused by its first bytes. The size in its header
// is checked before any pixels are, so a damaged header never causes a huge
// allocation. Nothing and a one-line reason when the bytes are not such an image.
std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes, std::string& error);
// The same for a file.
std::optional<Image> ReadImageFile(const std::string& path, std::string& error);
