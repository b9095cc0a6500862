#pragma once

#include <memory>

#include "render/BlurTexture.h"
#include "render/FilterShader.h"
#include "render/ModelShader.h"

class Application;
class GraphicsDevice;
class Texture;

// The two effects and the full-screen targets they draw through, built once
// the device runs and kept for the whole run: the floating-point scene and
// glow targets of the back buffer's size and the blur chain. A compile error
// is shown through the application.
class ShaderManager {
public:
    ShaderManager(GraphicsDevice& device, Application& application);
    // Releases the model effect, the filter effect, the model shader's images,
    // the blur chain, glowTarget, then sceneTarget, while the device is there.
    ~ShaderManager();
    ShaderManager(const ShaderManager&) = delete;
    ShaderManager& operator=(const ShaderManager&) = delete;

    std::shared_ptr<Texture> sceneTarget;
    std::shared_ptr<Texture> glowTarget;
    std::shared_ptr<BlurTexture> blur;
    ModelShader modelShader;
    FilterShader filterShader;
};
