#pragma once

#include <string>
#include <vector>

// Small X files for tests, written as text.
namespace XFiles {

struct TestMaterial {
    float r, g, b, a;
    std::string texture;  // empty: no texture
    float power = 10.0f;
};

// A cube of the given half-size centred at the origin, all faces one material.
std::string Cube(float halfSize, const TestMaterial& material);
// A unit quad in the XY plane facing -z, cut into one vertical strip per
// material, left to right, each strip drawn with its own material.
std::string Strips(const std::vector<TestMaterial>& materials);

}  // namespace XFiles
