#pragma once

#include <memory>
#include <optional>
#include <string>

#include "formats/Material.h"
#include "render/Effect.h"
#include "render/GraphicsDevice.h"

class Application;
class BlurTexture;
class Texture;

// The filter effect "Shader/Shader_Filter.cso" and its full-screen passes. Each
// pass draws one quad into whatever target is current, sampling its input with
// the input's own texel size; only Blur switches targets. When the effect failed
// to load, effect is null and the passes are skipped; so is a pass whose input
// or target has no image.
class FilterShader {
public:
    static constexpr const char* EffectFile = "Shader/Shader_Filter.cso";

    explicit FilterShader(GraphicsDevice& device);

    // A compile error is shown under "シェーダコンパイルエラー"; the game goes on.
    void Load(Application& application);

    // The input tinted by colour and scaled by strength, over (0, 0, width, height).
    void DrawNormal(const Texture& input, int width, int height, const Color& colour, float strength);
    void DrawXBlur(const Texture& input, int width, int height);
    void DrawYBlur(const Texture& input, int width, int height);
    // A technique over the input's own size (the bright filter), with the
    // parameters the caller set before.
    void DrawTechnique(const char* technique, const Texture& input);
    // The negative of the input tinted by colour, over the input's own size.
    void DrawNegative(const Texture& input, const Color& colour);
    // Shrinks source into each level of the chain and blurs it there. Leaves
    // the blend operation add with source-alpha blending, and the target as it was.
    void Blur(const Texture& source, BlurTexture& chain);

    std::unique_ptr<Effect> effect;

private:
    // How many input texels either side the blur techniques read.
    static constexpr int BlurReach = 4;

    std::optional<PassPrediction> Predict(const std::string& technique, const Texture& input, int width,
                                          int height) const;
    void DrawPass(const char* technique, const Texture& input, int width, int height);

    GraphicsDevice& device;
};
