#pragma once

#include <memory>

#include "platform/Singleton.h"
#include "render/BlurTexture.h"
#include "render/FilterShader.h"
#include "render/ModelShader.h"

class Texture;

// The two effects and the full-screen targets they draw through, built once on
// first use and kept for the whole run: the floating-point scene and glow
// targets of the back buffer's size and the blur chain.
class ShaderManager : public Singleton<ShaderManager> {
public:
    // Releases the model effect, the filter effect, the model shader's images,
    // the blur chain, glowTarget, then sceneTarget; Reset happens before the GL
    // context goes.
    ~ShaderManager();

    std::shared_ptr<Texture> sceneTarget;
    std::shared_ptr<Texture> glowTarget;
    std::shared_ptr<BlurTexture> blur;
    ModelShader modelShader;
    FilterShader filterShader;

private:
    friend class Singleton<ShaderManager>;
    ShaderManager();
};
