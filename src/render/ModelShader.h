#pragma once

#include <memory>

#include "formats/Material.h"
#include "math/Matrix.h"
#include "render/Effect.h"
#include "render/Texture.h"

class Application;
class GraphicsDevice;
class Mesh;

// The model effect "Shader/Shader_Model.cso" with the two images it samples:
// every mesh of the game is drawn through it, subset by subset, each subset
// with its material. Scenes set the camera and light parameters on effect once
// a frame; the glow of flipping blocks drives its Color technique directly.
// When the effect failed to load, effect is null and every draw is skipped.
class ModelShader {
public:
    static constexpr const char* EffectFile = "Shader/Shader_Model.cso";

    explicit ModelShader(GraphicsDevice& device);

    // Loads the effect and its images. A compile error is shown under the
    // caption "シェーダコンパイルエラー" and the game goes on without model draws.
    void Load(Application& application);
    void Release();

    // The per-frame camera: view, projection, and the eye the view implies.
    void SetCamera(const Matrix& view, const Matrix& projection);
    // The per-frame light: its direction and colour.
    void SetLight(const Vector3& direction, const Color& colour);
    // g_LightEnable: whether the following draws are lit.
    void SetLighting(bool enabled);
    void SetWorld(const Matrix& world);
    void DrawToon(const std::shared_ptr<Mesh>& mesh);
    void DrawGlow(const std::shared_ptr<Mesh>& mesh, float alpha);
    // The depth DrawGlow will give the mesh, alone and ahead of it, so that
    // what is drawn before the mesh skips the pixels the mesh will cover.
    void PrimeDepth(const std::shared_ptr<Mesh>& mesh);
    // The whole mesh in one flat colour times power, unclamped, with no
    // material: how the glow copies of flipping blocks outshine white.
    void DrawColor(const std::shared_ptr<Mesh>& mesh, const Color& colour, float power);

    std::unique_ptr<Effect> effect;
    std::unique_ptr<Texture> whiteTexture;
    std::unique_ptr<Texture> toonTexture;

private:
    // alpha: what the technique multiplies the material's alpha by.
    void Draw(const Mesh& mesh, const char* technique, float alpha = 1.0f);

    GraphicsDevice& device;
};
