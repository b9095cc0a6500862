#include "render/ModelShader.h"

#include "assets/AssetFiles.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"

ModelShader::ModelShader(GraphicsDevice& owner) : device(owner) {}

void ModelShader::Load(Application& application)
{
    effect.reset();
    std::string errors;
    effect = Effect::Load(device, EffectFile, errors);
    if (!effect) {
        application.ShowMessage(Message(MessageId::ShaderCompileError, errors));
        return;
    }
    whiteTexture = std::make_unique<Texture>(device);
    whiteTexture->LoadFromFile(ImageFile::White);
    toonTexture = std::make_unique<Texture>(device);
    toonTexture->LoadFromFile(ImageFile::ToonRamp);
    effect->SetTexture("g_ToonTex", toonTexture.get());
    effect->SetTexture("g_WhiteTex", whiteTexture.get());
}

void ModelShader::Release()
{
    effect.reset();
    whiteTexture.reset();
    toonTexture.reset();
}

void ModelShader::SetCamera(const Matrix& view, const Matrix& projection)
{
    if (!effect)
        return;
    effect->SetMatrix(Effect::ViewParameter, view);
    effect->SetMatrix(Effect::ProjectionParameter, projection);
    const Vector3 eye = Matrix::Inverse(view).TranslationRow();
    effect->SetValue("g_CamPos", &eye.x, 3);
}

void ModelShader::SetLight(const Vector3& direction, const Color& colour)
{
    if (!effect)
        return;
    effect->SetValue("g_LightDir", &direction.x, 3);
    effect->SetValue("g_LightColor", &colour.r, 4);
}

void ModelShader::SetLighting(bool enabled)
{
    if (effect)
        effect->SetInt("g_LightEnable", enabled ? 1 : 0);
}

void ModelShader::SetWorld(const Matrix& world)
{
    if (effect)
        effect->SetMatrix(Effect::WorldParameter, world);
}

void ModelShader::DrawToon(const std::shared_ptr<Mesh>& mesh)
{
    if (effect && mesh)
        Draw(*mesh, "Toon");
}

void ModelShader::DrawGlow(const std::shared_ptr<Mesh>& mesh, float alpha)
{
    if (!effect || !mesh)
        return;
    effect->SetFloat("g_Alpha", alpha);
    Draw(*mesh, "Glow", alpha);
}

void ModelShader::PrimeDepth(const std::shared_ptr<Mesh>& mesh)
{
    if (!effect || !mesh)
        return;
    // The same technique and matrices as the mesh's own draw give the same depth to the bit.
    if (device.BeginDepthOnly()) {
        Draw(*mesh, "Glow");
        device.EndDepthOnly();
    }
}

void ModelShader::DrawColor(const std::shared_ptr<Mesh>& mesh, const Color& colour, float power)
{
    if (!effect || !mesh)
        return;
    effect->SetVector("g_MeshColor", colour);
    effect->SetFloat("g_MeshPow", power);
    effect->SetTechnique("Color");
    effect->Begin();
    effect->BeginPass(0);
    for (int i = 0; i < mesh->SubsetCount(); ++i) {
        effect->CommitChanges();
        device.DrawSubset(*mesh, i);
    }
    effect->EndPass();
    effect->End();
}

void ModelShader::Draw(const Mesh& mesh, const char* technique, float alpha)
{
    effect->SetTechnique(technique);
    effect->Begin();
    effect->BeginPass(0);
    for (int i = 0; i < mesh.SubsetCount(); ++i) {
        const Material& material = mesh.materials[i];
        effect->SetVector("g_MateDiffuse", material.diffuse);
        effect->SetVector("g_MateSpecular", material.specular);
        effect->SetFloat("g_MateSpePower", material.power);
        effect->SetVector("g_MateEmissive", material.emissive);
        const Texture* own = mesh.materialTextures[i];
        const Texture* texture = own && own->HasImage() ? own : whiteTexture.get();
        effect->SetTexture("g_MateDiffuseTex", texture);
        effect->CommitChanges();
        // Toon and Glow give the material's alpha times the texture's, times alpha.
        const bool opaque = alpha == 1.0f && material.diffuse.a == 1.0f && texture && texture->Opaque();
        device.DrawSubset(mesh, i, opaque);
    }
    effect->EndPass();
    effect->End();
}
