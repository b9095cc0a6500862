#pragma once

#include <array>
#include <memory>

class GraphicsDevice;
class Texture;

// The chain of shrinking targets the glow is blurred through: a quarter, an
// eighth and a sixteenth of the back buffer (sizes halve with truncation). After
// a blur, b of each level holds that level's result, a the horizontal pass.
class BlurTexture {
public:
    static constexpr int LevelCount = 3;

    struct Level {
        std::shared_ptr<Texture> a;
        std::shared_ptr<Texture> b;
    };

    void Create(GraphicsDevice& device, int width, int height);

    std::array<Level, LevelCount> levels;
};
