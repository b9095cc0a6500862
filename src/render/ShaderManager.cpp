#include "render/ShaderManager.h"

#include "render/GraphicsDevice.h"
#include "render/Texture.h"

ShaderManager::ShaderManager(GraphicsDevice& device, Application& application)
    : modelShader(device), filterShader(device)
{
    const int width = device.BackBufferWidth();
    const int height = device.BackBufferHeight();
    modelShader.Load(application);
    filterShader.Load(application);
    sceneTarget = std::make_shared<Texture>(device);
    sceneTarget->CreateRenderTarget(width, height, TextureFormat::A16B16G16R16F, "sceneTarget");
    glowTarget = std::make_shared<Texture>(device);
    glowTarget->CreateRenderTarget(width, height, TextureFormat::A16B16G16R16F, "glowTarget");
    blur = std::make_shared<BlurTexture>();
    blur->Create(device, width, height);
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
