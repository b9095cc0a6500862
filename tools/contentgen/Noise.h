#pragma once

#include <cstdint>

#include <glm/vec2.hpp>

// Smooth value noise that wraps: the pattern repeats every `period` lattice
// cells on each axis, so a texture built from it tiles. Deterministic: the
// lattice comes from a hash of the cell and the seed.
class TilingNoise {
public:
    TilingNoise(glm::ivec2 cells, std::uint32_t hashSeed) : period(cells), seed(hashSeed) {}

    // 0..1 at p in lattice units: the sum of `octaves` layers, each twice
    // as fine and half as strong as the one before.
    float Fractal(glm::vec2 p, int octaves) const;

private:
    float Lattice(glm::ivec2 cell, int octave) const;

    glm::ivec2 period;
    std::uint32_t seed;
};

// A hash of three integers to 0..1, for scattering details.
float Hash01(std::uint32_t a, std::uint32_t b, std::uint32_t c);
