#include "render/TextureCache.h"

#include "render/Texture.h"

namespace {

std::unique_ptr<TextureCache>& Holder()
{
    static std::unique_ptr<TextureCache> instance;
    return instance;
}

}  // namespace

TextureCache& TextureCache::Instance()
{
    auto& holder = Holder();
    if (!holder)
        holder.reset(new TextureCache());
    return *holder;
}

void TextureCache::Reset()
{
    Holder().reset();
}

std::shared_ptr<Texture> TextureCache::Get(const std::string& name)
{
    if (auto found = textures.find(name); found != textures.end())
        return found->second;
    auto texture = std::make_shared<Texture>();
    texture->LoadFromFile(name);
    textures.emplace(name, texture);
    return texture;
}
