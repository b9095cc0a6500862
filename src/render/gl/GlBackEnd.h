#pragma once

#include <memory>
#include <string>

#include "render/DeviceBackEnd.h"
#include "render/gl/GlTargets.h"

class Font;
class GlProgram;
class SpriteBatch;
class Window;

// The device's work through OpenGL 3.3 on the window's context.
//
// All conventions that differ from the design's original API are handled here,
// once: depth runs 0..1 in clip space, texture targets keep the image's top row
// first like loaded images, and pixel centres sit on half-pixels, so screen
// copies are exact. Full screen, or in a window of another size, the back
// buffer is an off-screen target scaled onto the window at Present, letterboxed.
class GlBackEnd final : public DeviceBackEnd {
public:
    // Makes the window's context and everything the device draws with. Null
    // with the reason in error; contextFailed then tells that the context
    // itself could not be made.
    static std::unique_ptr<GlBackEnd> Create(Window& window, int width, int height, std::string& error,
                                             bool& contextFailed);
    // Releases every GL object while the context still exists.
    ~GlBackEnd() override;

    TextureStorage MakeImage(int width, int height, const std::uint8_t* rgba) override;
    std::optional<TextureStorage> MakeTarget(int width, int height, bool halfFloat) override;
    void Delete(TextureStorage& storage) override;
    MeshBuffers MakeMesh(const std::vector<XModel::Vertex>& vertices, const std::vector<std::uint32_t>& indices) override;
    void Delete(MeshBuffers& buffers) override;
    std::unique_ptr<DeviceProgram> BuildProgram(const std::string& vertex, const std::string& fragment,
                                                std::string& errors, const std::string& defines) override;

    void ResetStates() override;
    void SetBlend(const BlendState& blend) override;
    void SetBlending(bool enabled) override;
    void SetDepth(bool test, bool write) override;
    void SetColourWrites(bool enabled) override;
    void SetCulling(bool backFaces) override;

    void ChooseBackBuffer(Surface& backBuffer, bool offScreen) override;
    void BindTarget(const Surface& target) override;
    void Clear(const Surface& target, const std::optional<Color>& colour, std::optional<float> depth) override;
    void ClearArea(const Surface& target, const ScreenRect& area, const Color& colour) override;
    void Copy(const Surface& from, const Surface& to) override;
    void Present(const Surface& backBuffer, std::vector<std::uint8_t>* pixels, WindowPicture* shown) override;
    void Finish() override;

    void UseProgram(const DeviceProgram& program) override;
    void SetTargetOf(const DeviceProgram& program, const Surface& target) override;
    void Upload(const DeviceProgram& program, const EffectParameters& parameters, const Surface& target,
                const std::function<bool(const Texture&)>& drawnInto) override;
    void DrawMesh(const MeshBuffers& mesh, unsigned firstIndex, unsigned indexCount) override;
    void DrawQuad(const SpriteQuad& corners, const Surface& target, const std::optional<ScreenRect>& scissor) override;
    void UseFixedFunction(const FixedFunctionState& state, const Surface& target) override;
    void DrawFan(const ColorVertex* vertices, int count) override;

    void AddSprite(unsigned texture, const SpriteQuad& corners, std::uint32_t argb) override;
    void AddText(const std::string& text, int x, int y, std::uint32_t argb, TextFace face) override;
    bool DrawSprites(const Surface& target) override;

private:
    GlBackEnd(Window& window, int width, int height);
    bool Build(std::string& error);
    // A copy of target, taken now, for a pass that samples what it draws into.
    unsigned CopyOf(const Texture& texture, const Surface& target);
    void BindTexture(int unit, unsigned handle, bool target);
    // The blend factors for the next draw, and whether its colour is premultiplied.
    void ApplyBlend();

    GlTargets targets;
    BlendState blend;
    bool blending = true;
    // The program the next draw runs.
    const GlProgram* current = nullptr;
    std::unique_ptr<GlProgram> fixedProgram;
    std::unique_ptr<GlProgram> spriteProgram;
    std::unique_ptr<SpriteBatch> sprites;
    std::unique_ptr<Font> monoFont;
    std::unique_ptr<Font> sansFont;
    std::unique_ptr<Font> headingFont;
    unsigned fanArray = 0;
    unsigned fanBuffer = 0;
    unsigned quadArray = 0;
    unsigned quadBuffer = 0;
    unsigned whiteTexture = 0;
    unsigned wrapSampler = 0;
    unsigned clampSampler = 0;
};
