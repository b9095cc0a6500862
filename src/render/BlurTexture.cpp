#include "render/BlurTexture.h"

#include <string>

#include "render/Texture.h"

void BlurTexture::Create(GraphicsDevice& device, int width, int height)
{
    int w = width / 4;
    int h = height / 4;
    for (int i = 0; i < LevelCount; ++i) {
        const std::string name = "blur" + std::to_string(i);
        levels[i].a = std::make_shared<Texture>(device);
        levels[i].a->CreateRenderTarget(w, h, TextureFormat::A8R8G8B8, name + "a");
        levels[i].b = std::make_shared<Texture>(device);
        levels[i].b->CreateRenderTarget(w, h, TextureFormat::A8R8G8B8, name + "b");
        w /= 2;
        h /= 2;
    }
}
