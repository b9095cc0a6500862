#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "math/Matrix.h"
#include "render/TextFace.h"

// One drawing operation as the device saw it, for checking a frame from the
// outside (the harness writes them as JSON). Which fields mean something
// depends on the kind.
struct DrawRecord {
    enum class Kind { Sprite, Mesh, Fixed, Target, Quad, Text };

    Kind kind = Kind::Sprite;
    // Sprite: texture file; Mesh: mesh file; Fixed: what was drawn; Target: the
    // surface switched to; Text: the string.
    std::string name;
    // Mesh and Quad: the technique in use.
    std::string technique;
    // Fixed: the stage-0 texture's file, if any.
    std::string texture;
    // Sprite: its transform; Mesh and Fixed: the world matrix.
    Matrix matrix;
    // Mesh and Fixed: the view times the projection it is drawn with, which
    // places the world on the screen.
    Matrix camera;
    // Sprite: centre point and source rectangle (left, top, right, bottom).
    float centre[2] = {0, 0};
    long source[4] = {0, 0, 0, 0};
    // Sprite and Text: the colour; a fixed-function fan: its first vertex's colour.
    std::uint32_t argb = 0;
    // A fixed-function fan: the bounds of its texture coordinates (left, top, right, bottom).
    std::optional<std::array<float, 4>> textureArea;
    // Quad: x, y, width, height. Text: x, y in rect[0], rect[1].
    int rect[4] = {0, 0, 0, 0};
    // Text: its face.
    TextFace face = TextFace::Mono;
};
