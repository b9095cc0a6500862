#pragma once

#include <cstdint>

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

// A straight (not premultiplied) colour, every channel 0..1.
using Color = glm::vec4;

// 0xRRGGBB as a colour with the given opacity.
constexpr Color Hex(std::uint32_t rgb, float alpha = 1.0f)
{
    return Color(static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
                 static_cast<float>(rgb & 0xFF) / 255.0f, alpha);
}

constexpr Color WithAlpha(Color c, float alpha) { return Color(c.r, c.g, c.b, alpha); }

constexpr glm::vec3 Rgb(Color c) { return glm::vec3(c.r, c.g, c.b); }

// Linear blend from a (t = 0) to b (t = 1).
constexpr Color Mix(Color a, Color b, float t) { return a + (b - a) * t; }
