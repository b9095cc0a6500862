#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formats/Material.h"
#include "formats/XModel.h"
#include "math/Matrix.h"
#include "render/BlendState.h"
#include "render/ColorVertex.h"
#include "render/EffectValue.h"
#include "render/GpuStorage.h"
#include "render/ScreenRect.h"
#include "render/SpriteQuad.h"
#include "render/TextFace.h"

class DeviceProgram;
class Texture;
class Window;
struct Surface;

// What a window showed: RGBA, 8 bits a channel, top row first.
struct WindowPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// The one directional light of the fixed set-up.
struct Light {
    Vector3 direction{1.0f, -1.0f, 1.0f};
    Color diffuse{1.0f};
};

// Everything the fixed-function path draws with: the transforms, the
// material, the light and the stage-0 texture.
struct FixedFunctionState {
    Matrix world;
    Matrix view;
    Matrix projection;
    Matrix textureMatrix;
    bool textureTransform = false;
    bool lighting = true;
    bool vertexColour = false;
    Material material;
    Light light;
    const Texture* texture = nullptr;
};

// Where the device's calls turn into pixels. The device in front keeps every
// state, the draw log, what it knows of each target's colour, stand-ins and
// occlusion, and hands the back end only the work that draws: the GL back end
// draws through OpenGL 3.3 in a window, the null back end (headless runs)
// draws nothing and makes nothing.
class DeviceBackEnd {
public:
    virtual ~DeviceBackEnd() = default;

    // Storage. A null back end gives none: textures hold no handle, meshes no
    // buffers, effects no programs, so the draws that need them end early.
    virtual TextureStorage MakeImage(int width, int height, const std::uint8_t* rgba) = 0;
    // Null when the target cannot be made complete; full-size targets share the one depth buffer.
    virtual std::optional<TextureStorage> MakeTarget(int width, int height, bool halfFloat) = 0;
    virtual void Delete(TextureStorage& storage) = 0;
    virtual MeshBuffers MakeMesh(const std::vector<XModel::Vertex>& vertices,
                                 const std::vector<std::uint32_t>& indices) = 0;
    virtual void Delete(MeshBuffers& buffers) = 0;
    // Null with nothing in errors where the back end builds no programs.
    virtual std::unique_ptr<DeviceProgram> BuildProgram(const std::string& vertex, const std::string& fragment,
                                                    std::string& errors, const std::string& defines) = 0;

    // States: blending on, no culling, depth passing at equal or less.
    virtual void ResetStates() = 0;
    virtual void SetBlend(const BlendState& blend) = 0;
    virtual void SetBlending(bool enabled) = 0;
    virtual void SetDepth(bool test, bool write) = 0;
    virtual void SetColourWrites(bool enabled) = 0;
    virtual void SetCulling(bool backFaces) = 0;

    // Which of its framebuffers the back buffer is now: the window's own, or
    // an off-screen one when the window's drawable is another size or when a
    // target is to be drawn straight into it (see GraphicsDevice::StandIn).
    virtual void ChooseBackBuffer(Surface& backBuffer, bool offScreen) = 0;
    virtual void BindTarget(const Surface& target) = 0;
    virtual void Clear(const Surface& target, const std::optional<Color>& colour, std::optional<float> depth) = 0;
    virtual void ClearArea(const Surface& target, const ScreenRect& area, const Color& colour) = 0;
    // Copies from onto to, both of to's size, and leaves to bound.
    virtual void Copy(const Surface& from, const Surface& to) = 0;
    // Shows the back buffer, copying it (and the window) first where asked.
    virtual void Present(const Surface& backBuffer, std::vector<std::uint8_t>* pixels, WindowPicture* shown) = 0;
    virtual void Finish() = 0;

    // An effect pass's program: made current, told which target it draws
    // into, and given the parameters (textures bound to units in parameter
    // order; one that drawnInto names is sampled from a copy taken now).
    virtual void UseProgram(const DeviceProgram& program) = 0;
    virtual void SetTargetOf(const DeviceProgram& program, const Surface& target) = 0;
    virtual void Upload(const DeviceProgram& program, const EffectParameters& parameters, const Surface& target,
                        const std::function<bool(const Texture&)>& drawnInto) = 0;
    virtual void DrawMesh(const MeshBuffers& mesh, unsigned firstIndex, unsigned indexCount) = 0;
    virtual void DrawQuad(const SpriteQuad& corners, const Surface& target, const std::optional<ScreenRect>& scissor) = 0;
    // The fixed-function path.
    virtual void UseFixedFunction(const FixedFunctionState& state, const Surface& target) = 0;
    virtual void DrawFan(const ColorVertex* vertices, int count) = 0;

    // Sprites and text gather until DrawSprites; false when nothing had gathered.
    virtual void AddSprite(unsigned texture, const SpriteQuad& corners, std::uint32_t argb) = 0;
    virtual void AddText(const std::string& text, int x, int y, std::uint32_t argb, TextFace face) = 0;
    virtual bool DrawSprites(const Surface& target) = 0;
};

// Makes the back end that draws into window, its back buffer width × height:
// where the program chooses the graphics API it draws with. Null with the
// reason in error; contextFailed then tells that the window's context itself
// could not be made.
using WindowBackEndFactory = std::function<std::unique_ptr<DeviceBackEnd>(
    Window& window, int width, int height, std::string& error, bool& contextFailed)>;
