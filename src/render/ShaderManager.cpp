#include "render/ShaderManager.h"

#include "render/GraphicsDevice.h"
#include "render/Texture.h"

ShaderManager::ShaderManager()
{
    const GraphicsDevice& device = GraphicsDevice::Instance();
    const int width = device.BackBufferWidth();
    const int height = device.BackBufferHeight();
    modelShader.Load();
    filterShader.Load();
    sceneTarget = std::make_shared<Texture>();
    sceneTarget->CreateRenderTarget(width, height, TextureFormat::A16B16G16R16F, "sceneTarget");
    glowTarget = std::make_shared<Texture>();
    glowTarget->CreateRenderTarget(width, height, TextureFormat::A16B16G16R16F, "glowTarget");
    blur = std::make_shared<BlurTexture>();
    blur->Create(width, height);
}

ShaderManager::~ShaderManager()
{
    modelShader.effect.reset();
    filterShader.effect.reset();
    modelShader.Release();
    blur.reset();
    glowTarget.reset();
    sceneTarget.reset();
}
