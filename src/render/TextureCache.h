#pragma once

#include <map>
#include <memory>
#include <string>
#include "platform/Singleton.h"

class Texture;

// Hands out images by file name, each loaded once for the whole run. Names are
// compared byte for byte, so "./a.png" and "a.png" are two entries. A file that
// fails to load is cached as an empty texture and never tried again.
class TextureCache : public Singleton<TextureCache> {
public:

    std::shared_ptr<Texture> Get(const std::string& name);
    // Drops every texture; done before the GL context goes.
    void Clear() { textures.clear(); }
    std::size_t Size() const { return textures.size(); }

private:
    friend class Singleton<TextureCache>;
    TextureCache() = default;
    std::map<std::string, std::shared_ptr<Texture>> textures;
};
