// The three skies: closed spheres seen from inside around the game board.
// The game scrolls their texture in v, so each texture repeats in v and
// meets itself at the u seam.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "Canvas.h"
#include "Generators.h"
#include "Materials.h"
#include "Noise.h"
#include "Primitives.h"

namespace {

constexpr float skyRadius = 2000.0f;
// The sphere shows a quarter of the texture from pole to pole, so the
// scrolling clouds drift slowly and keep their shape at the horizon.
constexpr float vSpan = 0.25f;
constexpr int textureWidth = 1024;
constexpr int textureHeight = 2048;

struct SkyLook {
    Color low;        // the sky colour the broad wash leans to one way
    Color high;       // and the other way
    Color cloudLight; // lit side of the clouds
    Color cloudShade; // their shaded undersides
    float cover;      // 0..1: how much of the sky the clouds take
    float stars;      // chance of a star per star cell (0: daylight)
    std::uint32_t seed;
};

float Smooth(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

Canvas SkyTexture(const SkyLook& look)
{
    Canvas sky(textureWidth, textureHeight);
    // Lattice periods in proportion to the texture, so the noise is round.
    const TilingNoise wash({3, 6}, look.seed);
    const TilingNoise clouds({4, 8}, look.seed + 17);
    const TilingNoise detail({16, 32}, look.seed + 31);
    auto uvAt = [](int x, int y) {
        return glm::vec2((static_cast<float>(x) + 0.5f) / textureWidth, (static_cast<float>(y) + 0.5f) / textureHeight);
    };
    std::vector<float> cloud(static_cast<std::size_t>(textureWidth) * textureHeight);
    for (int y = 0; y < textureHeight; ++y) {
        for (int x = 0; x < textureWidth; ++x) {
            cloud[static_cast<std::size_t>(y) * textureWidth + x] = clouds.Fractal(uvAt(x, y) * glm::vec2(4, 8), 4);
        }
    }
    // Clouds are lit from above: a point brighter than the one a little above
    // it faces the sky. The field wraps, so the texture still tiles.
    constexpr int lightStep = 12;
    constexpr int starCell = 16;
    for (int y = 0; y < textureHeight; ++y) {
        for (int x = 0; x < textureWidth; ++x) {
            const glm::vec2 uv = uvAt(x, y);
            Color c = Mix(look.low, look.high, Smooth(0.25f, 0.75f, wash.Fractal(uv * glm::vec2(3, 6), 2)));

            if (look.stars > 0.0f) {
                const int cx = x / starCell;
                const int cy = y / starCell;
                if (Hash01(static_cast<std::uint32_t>(cx), static_cast<std::uint32_t>(cy), look.seed + 5) < look.stars) {
                    // One soft point per chosen cell, kept clear of the cell's border.
                    const glm::vec2 at(static_cast<float>(cx * starCell) + 4.0f + 8.0f * Hash01(cx, cy, look.seed + 6),
                                       static_cast<float>(cy * starCell) + 4.0f + 8.0f * Hash01(cx, cy, look.seed + 7));
                    const float d = glm::length(glm::vec2(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f) - at);
                    const float glow = std::max(0.0f, 1.0f - d / 1.3f) * (0.5f + 0.5f * Hash01(cx, cy, look.seed + 8));
                    c = Mix(c, Hex(0xFFF6E8), glow);
                }
            }

            const float n = cloud[static_cast<std::size_t>(y) * textureWidth + x];
            const int yAbove = (y - lightStep + textureHeight) % textureHeight;
            const float above = cloud[static_cast<std::size_t>(yAbove) * textureWidth + x];
            const float fine = detail.Fractal(uv * glm::vec2(16, 32), 2);
            const float edge = 0.62f - look.cover * 0.5f;
            const float density = Smooth(edge, edge + 0.2f, n + (fine - 0.5f) * 0.06f);
            const float light = std::clamp(0.55f + (n - above) * 9.0f, 0.0f, 1.0f);
            c = Mix(c, Mix(look.cloudShade, look.cloudLight, light), density * 0.92f);
            c.a = 1.0f;
            sky.Set(x, y, c);
        }
    }
    return sky;
}

const SkyLook looks[3] = {
    // Morning: pale blue warming to peach, light pink-cream clouds.
    {Hex(0xBFE4F7), Hex(0xFFDCC8), Hex(0xFFFBF4), Hex(0xF3C9C4), 0.42f, 0.0f, 101},
    // Afternoon: clear blue, bright white clouds with blue-grey bellies.
    {Hex(0x7CC3EE), Hex(0xA9DAF6), Hex(0xFFFFFF), Hex(0xB9CCE0), 0.48f, 0.0f, 202},
    // Dusk: indigo to violet with rose clouds and the first stars.
    {Hex(0x2F2F6E), Hex(0x7A4F96), Hex(0xFFB38F), Hex(0x8E5C9C), 0.34f, 0.10f, 303},
};

}  // namespace

void WriteSkies(ContentWriter& out)
{
    for (int group = 1; group <= 3; ++group) {
        const std::string texture = "Sky" + std::to_string(group) + ".png";
        MeshBuilder mesh;
        mesh.Use(mesh.AddMaterial(materials::Textured("Sky", texture)));
        // Turned half round so the u seam lies behind the game camera.
        mesh.SetPlacement(glm::rotate(glm::mat4(1.0f), glm::pi<float>(), glm::vec3(0, 1, 0)));
        primitives::Ellipsoid(mesh, glm::vec3(skyRadius), 32, 20, true, vSpan);
        mesh.SetPlacement(glm::mat4(1.0f));
        const std::string model = ModelFile::Sky(group);
        out.Write(model, mesh);
        out.Write(Beside(model, texture), SkyTexture(looks[group - 1]));
    }
}
