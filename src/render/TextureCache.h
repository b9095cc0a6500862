#pragma once

#include <map>
#include <memory>
#include <string>

class GraphicsDevice;
class Texture;

// Hands out images by file name, each loaded once for the whole run. Names are
// compared byte for byte, so "./a.png" and "a.png" are two entries. A file that
// fails to load is cached as an empty texture and never tried again.
class TextureCache {
public:
    explicit TextureCache(GraphicsDevice& device);
    ~TextureCache();
    TextureCache(const TextureCache&) = delete;
    TextureCache& operator=(const TextureCache&) = delete;

    std::shared_ptr<Texture> Get(const std::string& name);
    // Drops every texture; done before the GL context goes.
    void Clear() { textures.clear(); }
    std::size_t Size() const { return textures.size(); }
    // What the loaded images take, at four bytes a pixel.
    std::size_t Bytes() const;

private:
    GraphicsDevice& device;
    std::map<std::string, std::shared_ptr<Texture>> textures;
};
