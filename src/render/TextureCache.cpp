#include "render/TextureCache.h"

#include "render/Texture.h"

TextureCache::TextureCache(GraphicsDevice& owner) : device(owner) {}

TextureCache::~TextureCache() = default;

std::shared_ptr<Texture> TextureCache::Get(const std::string& name)
{
    if (auto found = textures.find(name); found != textures.end())
        return found->second;
    auto texture = std::make_shared<Texture>(device);
    texture->LoadFromFile(name);
    textures.emplace(name, texture);
    return texture;
}

std::size_t TextureCache::Bytes() const
{
    std::size_t bytes = 0;
    for (const auto& [name, texture] : textures)
        bytes += texture->Bytes();
    return bytes;
}
