#include "render/FilterShader.h"

#include <cmath>

#include "platform/Application.h"
#include "platform/Messages.h"
#include "render/BlurTexture.h"
#include "render/GraphicsDevice.h"
#include "render/Surface.h"
#include "render/Texture.h"

namespace {
// The share of what exceeds white that the bright filter keeps (the effect's GlowStrength).
constexpr float BrightGlowStrength = 0.3f;

int Width(const Texture& texture)
{
    return static_cast<int>(texture.imageInfo.width);
}

int Height(const Texture& texture)
{
    return static_cast<int>(texture.imageInfo.height);
}

}  // namespace

FilterShader::FilterShader(GraphicsDevice& owner) : device(owner) {}

void FilterShader::Load(Application& application)
{
    effect.reset();
    std::string errors;
    effect = Effect::Load(device, EffectFile, errors);
    if (!effect)
        application.ShowMessage(Message(MessageId::ShaderCompileError, errors));
}

void FilterShader::DrawNormal(const Texture& input, int width, int height, const Color& colour, float strength)
{
    if (!effect)
        return;
    effect->SetTexture("g_InputTex", &input);
    effect->SetVector("g_Color", colour);
    effect->SetFloat("DrawPow", strength);
    const Surface* target = device.GetRenderTarget();
    // An untinted, opaque copy of a target onto another of its size replaces
    // every pixel with the input's: a framebuffer copy does that for a fraction
    // of a pass's cost. (Only the alpha channel differs, and nothing reads it.)
    const bool plainCopy = colour == Color(1.0f) && strength == 1.0f && input.GetSurface() &&
                           input.GetSurface() != target && width == target->width && height == target->height &&
                           Width(input) == width && Height(input) == height &&
                           device.GetBlendOperation() == BlendOperation::Add &&
                           device.GetSourceBlend() == BlendFactor::SourceAlpha &&
                           device.GetDestinationBlend() == BlendFactor::InverseSourceAlpha;
    if (plainCopy) {
        device.RecordQuad({0, 0, width, height}, "NormalTech");
        device.CopyToCurrentTarget(input);
        return;
    }
    DrawPass("NormalTech", input, width, height);
}

void FilterShader::DrawXBlur(const Texture& input, int width, int height)
{
    if (!effect)
        return;
    effect->SetTexture("g_InputTex", &input);
    DrawPass("XBlurTech", input, width, height);
}

void FilterShader::DrawYBlur(const Texture& input, int width, int height)
{
    if (!effect)
        return;
    effect->SetTexture("g_InputTex", &input);
    DrawPass("YBlurTech", input, width, height);
}

void FilterShader::DrawTechnique(const char* technique, const Texture& input)
{
    if (!effect)
        return;
    effect->SetTexture("g_InputTex", &input);
    DrawPass(technique, input, Width(input), Height(input));
}

void FilterShader::DrawNegative(const Texture& input, const Color& colour)
{
    if (!effect)
        return;
    effect->SetVector("g_Color", colour);
    DrawTechnique("NegativeTech", input);
}

// What a technique of the filter effect gives over an input that is one colour
// but for a part: that colour's image everywhere but for the part's image,
// widened by how far the technique reads around a pixel. This mirrors the
// effect file's own arithmetic.
std::optional<PassPrediction> FilterShader::Predict(const std::string& technique, const Texture& input, int width,
                                                    int height) const
{
    const Surface* surface = input.GetSurface();
    if (!surface || !surface->solid)
        return std::nullopt;
    const Color in = *surface->solid;
    const auto number = [this](const char* name, float fallback) {
        const EffectValue* value = effect->Find(name);
        return value && std::holds_alternative<float>(*value) ? std::get<float>(*value) : fallback;
    };
    const auto colour = [this](const char* name) {
        const EffectValue* value = effect->Find(name);
        return value && std::holds_alternative<glm::vec4>(*value) ? std::get<glm::vec4>(*value) : Color(1.0f);
    };
    const glm::vec3 rgb(in);
    PassPrediction prediction;
    int reachX = 0;
    int reachY = 0;
    if (technique == "NormalTech") {
        prediction.colour = Color(rgb * glm::vec3(colour("g_Color")) * number("DrawPow", 1.0f), colour("g_Color").a);
    } else if (technique == "NegativeTech") {
        prediction.colour = Color((1.0f - rgb) * glm::vec3(colour("g_Color")), colour("g_Color").a);
    } else if (technique == "XBlurTech" || technique == "YBlurTech") {
        prediction.colour = Color(rgb, 1.0f);
        (technique == "XBlurTech" ? reachX : reachY) = BlurReach;
    } else if (technique == "BrightFiltering") {
        prediction.colour = Color(glm::max(rgb - 1.0f, 0.0f) * BrightGlowStrength, 1.0f);
    } else {
        return std::nullopt;
    }
    if (surface->dirty) {
        // Input texels map onto output pixels by the ratio of the sizes; two
        // pixels more on each side cover the bilinear footprint and rounding.
        const double scaleX = static_cast<double>(width) / surface->width;
        const double scaleY = static_cast<double>(height) / surface->height;
        const ScreenRect& d = *surface->dirty;
        const int left = static_cast<int>(std::floor((d.x - reachX) * scaleX)) - 2;
        const int top = static_cast<int>(std::floor((d.y - reachY) * scaleY)) - 2;
        const int right = static_cast<int>(std::ceil((d.Right() + reachX) * scaleX)) + 2;
        const int bottom = static_cast<int>(std::ceil((d.Bottom() + reachY) * scaleY)) + 2;
        prediction.work = ScreenRect{left, top, right - left, bottom - top};
    }
    return prediction;
}

void FilterShader::DrawPass(const char* technique, const Texture& input, int width, int height)
{
    if (Width(input) <= 0 || Height(input) <= 0)
        return;
    const float texelSize[2] = {1.0f / static_cast<float>(Width(input)), 1.0f / static_cast<float>(Height(input))};
    effect->SetValue("g_TexelSize", texelSize, 2);
    effect->SetTechnique(technique);
    effect->Begin();
    effect->BeginPass(0);
    effect->CommitChanges();
    device.DrawScreenQuad({0, 0, width, height}, Predict(technique, input, width, height));
    effect->EndPass();
    effect->End();
}

void FilterShader::Blur(const Texture& source, BlurTexture& chain)
{
    device.SetBlendOperation(BlendOperation::Add);
    device.SetSourceBlend(BlendFactor::SourceAlpha);
    device.SetDestinationBlend(BlendFactor::InverseSourceAlpha);
    Surface* saved = device.GetRenderTarget();

    const Texture* input = &source;
    for (BlurTexture::Level& level : chain.levels) {
        // A level that could not be made ends the chain: its passes have nowhere to go.
        if (!level.a || !level.b || !level.a->GetSurface() || !level.b->GetSurface())
            break;
        device.SetRenderTarget(level.b->GetSurface());
        DrawNormal(*input, Width(*level.b), Height(*level.b), Color(1.0f), 1.0f);
        device.SetRenderTarget(level.a->GetSurface());
        DrawXBlur(*level.b, Width(*level.a), Height(*level.a));
        device.SetRenderTarget(level.b->GetSurface());
        DrawYBlur(*level.a, Width(*level.b), Height(*level.b));
        input = level.b.get();
    }
    device.SetRenderTarget(saved);
}
