#include "render/FilterShader.h"

#include "platform/Application.h"
#include "render/BlurTexture.h"
#include "render/GraphicsDevice.h"
#include "render/Surface.h"
#include "render/Texture.h"

namespace {
const char* const CompileErrorCaption = "シェーダコンパイルエラー";

int Width(const Texture& texture)
{
    return static_cast<int>(texture.imageInfo.width);
}

int Height(const Texture& texture)
{
    return static_cast<int>(texture.imageInfo.height);
}

}  // namespace

void FilterShader::Load()
{
    effect.reset();
    std::string errors;
    effect = Effect::Load(EffectFile, errors);
    if (!effect)
        Application::Instance().ShowMessage({errors, CompileErrorCaption, MessageButtons::Ok, MessageIcon::None});
}

void FilterShader::DrawNormal(const Texture& input, int width, int height, const Color& colour, float strength)
{
    if (!effect)
        return;
    effect->SetTexture("g_InputTex", &input);
    effect->SetVector("g_Color", colour);
    effect->SetFloat("DrawPow", strength);
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

// What a technique of the filter effect gives everywhere when its input is one
// colour everywhere; this mirrors the effect file's own arithmetic.
std::optional<Color> FilterShader::Predict(const std::string& technique, const Texture& input) const
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
    if (technique == "NormalTech")
        return Color(rgb * glm::vec3(colour("g_Color")) * number("DrawPow", 1.0f), colour("g_Color").a);
    if (technique == "NegativeTech")
        return Color((1.0f - rgb) * glm::vec3(colour("g_Color")), colour("g_Color").a);
    if (technique == "XBlurTech" || technique == "YBlurTech")
        return Color(rgb, 1.0f);
    if (technique == "BrightFiltering")
        return Color(glm::max(rgb - 1.0f, 0.0f), 1.0f);
    return std::nullopt;
}

void FilterShader::DrawPass(const char* technique, const Texture& input, int width, int height)
{
    const float texelSize[2] = {1.0f / static_cast<float>(Width(input)), 1.0f / static_cast<float>(Height(input))};
    effect->SetValue("g_TexelSize", texelSize, 2);
    effect->SetTechnique(technique);
    effect->Begin();
    effect->BeginPass(0);
    effect->CommitChanges();
    GraphicsDevice::Instance().DrawScreenQuad({0, 0, width, height}, Predict(technique, input));
    effect->EndPass();
    effect->End();
}

void FilterShader::Blur(const Texture& source, BlurTexture& chain)
{
    GraphicsDevice& device = GraphicsDevice::Instance();
    device.SetBlendOperation(BlendOperation::Add);
    device.SetSourceBlend(BlendFactor::SourceAlpha);
    device.SetDestinationBlend(BlendFactor::InverseSourceAlpha);
    Surface* saved = device.GetRenderTarget();

    const Texture* input = &source;
    for (BlurTexture::Level& level : chain.levels) {
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
