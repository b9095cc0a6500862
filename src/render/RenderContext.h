#pragma once

class GraphicsDevice;
class MeshCache;
class ShaderManager;
class TextureCache;

// What drawing takes: the device, the content caches and the effects with
// their targets. The program owns them; whatever draws is handed this.
struct RenderContext {
    GraphicsDevice& device;
    TextureCache& textures;
    MeshCache& meshes;
    ShaderManager& shaders;
};
