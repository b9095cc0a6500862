#include "Noise.h"

#include <cmath>

float Hash01(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    std::uint32_t h = a * 0x8DA6B343u ^ b * 0xD8163841u ^ c * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFFu) / static_cast<float>(0xFFFFFF);
}

float TilingNoise::Lattice(glm::ivec2 cell, int octave) const
{
    const glm::ivec2 p = period << octave;
    const int x = ((cell.x % p.x) + p.x) % p.x;
    const int y = ((cell.y % p.y) + p.y) % p.y;
    return Hash01(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), seed + static_cast<std::uint32_t>(octave));
}

float TilingNoise::Fractal(glm::vec2 p, int octaves) const
{
    float sum = 0.0f;
    float weight = 0.5f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        const float scale = static_cast<float>(1 << octave);
        const glm::vec2 q = p * scale;
        const glm::vec2 floor(std::floor(q.x), std::floor(q.y));
        const glm::ivec2 cell(floor);
        glm::vec2 f = q - floor;
        f = f * f * (3.0f - 2.0f * f);
        const float a = Lattice(cell, octave);
        const float b = Lattice(cell + glm::ivec2(1, 0), octave);
        const float c = Lattice(cell + glm::ivec2(0, 1), octave);
        const float d = Lattice(cell + glm::ivec2(1, 1), octave);
        sum += weight * (a + (b - a) * f.x + (c - a) * f.y + (a - b - c + d) * f.x * f.y);
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}
