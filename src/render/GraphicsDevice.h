#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "formats/Material.h"
#include "math/Matrix.h"
#include "render/ColorVertex.h"
#include "render/DrawRecorder.h"
#include "render/Occluder.h"
#include "render/PassPrediction.h"
#include "render/Surface.h"

class Window;
class Texture;
class Mesh;
class Effect;
class GlProgram;
class SpriteBatch;
class Font;
struct Rect;

enum class TransformState { World, View, Projection, Texture0 };

// A corner of a screen quad: target pixel and texture coordinate.
struct ScreenQuadVertex {
    float x, y, u, v;
};

// The four corners of a screen quad over rect, clockwise from the top-left,
// with the whole texture across it.
std::array<ScreenQuadVertex, 4> ScreenQuadVertices(const ScreenRect& rect);

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

// What an effect pass hands the device while it is active: the program that
// draws, and the depth states the pass wants.
struct EffectPassState {
    const Effect* effect = nullptr;
    // Null without a GL context: the pass is only recorded.
    const GlProgram* program = nullptr;
    std::string technique;
    bool depthTest = true;
    bool depthWrite = true;
    bool cullBack = false;
};

// The process-wide drawing device. It keeps the fixed 1280 × 720 back buffer
// every 2D layout is written for, the render states the game sets, render-target
// switching with one depth buffer shared by every full-size target, the
// fixed-function path (sky, shards, editor tiles), effect passes, screen quads,
// the sprite batch and the text call.
//
// In a window it draws through OpenGL 3.3. Without one (headless runs) it has no
// GL context: it keeps every state and records every draw, so draw order can be
// checked anywhere. With a draw log set, it records in both modes.
//
// All conventions that differ from the design's original API are handled here,
// once: depth runs 0..1 in clip space, texture targets keep the image's top row
// first like loaded images, and pixel centres sit on half-pixels, so screen
// copies are exact. Full screen, or in a window of another size, the back
// buffer is an off-screen target scaled onto the window at Present, letterboxed.
class GraphicsDevice {
public:
    GraphicsDevice();
    ~GraphicsDevice();
    GraphicsDevice(const GraphicsDevice&) = delete;
    GraphicsDevice& operator=(const GraphicsDevice&) = delete;

    // window null: headless, no GL context. Full screen or not, the picture is
    // drawn the same way (see ChooseBackBuffer). False, with the reason in
    // error, without an OpenGL 3.3 context; contextFailed then tells that the
    // window's context could not be made (the caller says so in its own box).
    bool Initialize(Window* window, std::string& error, bool* contextFailed = nullptr);
    // Depth test and write, alpha blending with source alpha, no culling, one
    // white light along (1, -1, 1), texture times vertex colour, lighting on.
    void SetDefaultStates();
    // Releases every GL object while the context still exists.
    void Shutdown();

    bool HasContext() const { return context; }
    int BackBufferWidth() const { return backBufferWidth; }
    int BackBufferHeight() const { return backBufferHeight; }

    // Render states.
    void SetLighting(bool enabled) { lighting = enabled; }
    bool Lighting() const { return lighting; }
    void SetBlendOperation(BlendOperation operation);
    void SetSourceBlend(BlendFactor factor);
    void SetDestinationBlend(BlendFactor factor);
    BlendOperation GetBlendOperation() const { return blendOperation; }
    BlendFactor GetSourceBlend() const { return sourceBlend; }
    BlendFactor GetDestinationBlend() const { return destinationBlend; }
    void SetDepthTest(bool enabled);
    void SetDepthWrite(bool enabled);
    bool DepthTest() const { return depthTest; }
    bool DepthWrite() const { return depthWrite; }
    // Whether stage 0's texture coordinates go through the texture transform.
    void SetTextureTransform(bool enabled) { textureTransform = enabled; }
    bool TextureTransform() const { return textureTransform; }
    void SetTransform(TransformState state, const Matrix& matrix);
    const Matrix& GetTransform(TransformState state) const;
    void SetMaterial(const Material& material) { currentMaterial = material; }
    // Texture stage 0 of the fixed-function path; null for none.
    void SetTexture(const Texture* texture) { stageTexture = texture; }
    const Texture* GetTexture() const { return stageTexture; }
    const Light& GetLight() const { return light; }
    // Binds a texture to a unit for an effect pass; render targets are sampled
    // clamped, images wrapped.
    void BindTexture(int unit, const Texture* texture);

    // Render target 0. The back buffer's surface is always valid.
    Surface* GetRenderTarget() const { return currentTarget; }
    void SetRenderTarget(Surface* surface);
    Surface* BackBuffer() { return &backBuffer; }
    // Until the next Present, what is drawn into target lands in standIn (of the
    // same size) instead: for a frame whose one use of target is a plain copy
    // onto standIn, which then costs nothing. Nothing may sample target
    // meanwhile. Everything else, the draw log included, still sees target.
    void StandIn(Surface* target, Surface* standIn);
    // Until the next Present, a solid, opaque box (low..high placed by world),
    // drawn before what it may hide: a mesh draw it wholly hides from the
    // camera is logged but not drawn.
    void SetOccluder(const Matrix& world, const Vector3& low, const Vector3& high);
    // Until EndDepthOnly, draws write depth alone and leave no record, to let
    // later draws skip what nearer ones will cover. False (and nothing
    // begun) where that cannot help: without a GL context, or with the
    // device's shortcuts off.
    bool BeginDepthOnly();
    void EndDepthOnly();
    // The depth buffer every full-size target shares; 0 without a context.
    unsigned SharedDepthBuffer() const { return sharedDepth; }

    // Clears the current target's colour (ARGB), and its depth when depth is true.
    void Clear(bool colour, bool depth, std::uint32_t argb, float depthValue);
    void BeginScene() {}
    void EndScene() {}
    void Present();
    // Returns once the renderer has finished everything asked of it (for timing).
    void WaitForGpu();

    // Effect passes (see Effect): while one is active, mesh subsets and screen
    // quads draw with its program; otherwise with the fixed-function path.
    void BeginEffectPass(const EffectPassState& pass);
    void EndEffectPass();
    // The active pass continues with another build of its technique.
    void SetPassProgram(const GlProgram* program);
    // A new pass of the same technique counts as a new mesh draw in the log.
    const EffectPassState* ActivePass() const { return activePass ? &pass : nullptr; }

    // Subset i of a mesh, with the active pass or the fixed-function path
    // (current material, stage-0 texture, world transform, lighting).
    void DrawSubset(const Mesh& mesh, int subset);
    // The whole texture over a rectangle of the current target, with the active
    // pass. With a prediction, a pass over the whole target that repaints it or
    // adds to it is done only where its result is not known: elsewhere it
    // becomes a clear, or nothing.
    void DrawScreenQuad(const ScreenRect& rect, const std::optional<PassPrediction>& prediction = std::nullopt);
    // Whether the device may tell passes over plain targets in advance and let
    // one target stand in for another (on by default). Off, it never learns a
    // target's colour and every target is its own, so every clear, pass and
    // copy runs in full: the reference a predicted picture is compared with.
    void SetPassPrediction(bool enabled) { passPrediction = enabled; }
    // Copies a texture of the current target's size over the whole target,
    // clamping to the target's range: what an untinted full-screen pass does,
    // without running one.
    void CopyToCurrentTarget(const Texture& source);
    // A triangle fan in the fixed-function path; what names it in the draw log.
    void DrawFan(const ColorVertex* vertices, int count, const std::string& what);

    // The sprite batch: Begin, any number of DrawSprite in the order they are to
    // appear, End. Alpha-blended over whatever is there, no depth test.
    void BeginSprite();
    void DrawSprite(const std::shared_ptr<Texture>& texture, const Rect* source, const Matrix* transform,
                    const Vector3* centre, std::uint32_t argb);
    void EndSprite();

    // A string in the fixed-pitch 30 × 30 face, its top-left corner at (x, y).
    void DrawText(const std::string& text, int x, int y, std::uint32_t argb);

    // The next Present also copies the back buffer into pixels: RGBA, 8 bits a
    // channel, top row first. Without a GL context nothing is copied.
    void CaptureNextPresent(std::vector<std::uint8_t>* pixels) { capture = pixels; }
    // The next Present also copies what the window shows, at the window's
    // drawable size (letterboxed when that is not the back buffer's), in the
    // same layout.
    void CaptureNextWindow(WindowPicture* picture) { windowCapture = picture; }
    // Where to record every draw; null to stop recording.
    void SetDrawLog(std::vector<DrawRecord>* log) { recorder.SetLog(log); }
    void Record(DrawRecord record) { recorder.Add(std::move(record)); }
    // Records a screen quad that was done another way.
    void RecordQuad(const ScreenRect& rect, const std::string& technique) { recorder.Quad(rect, technique); }
    bool Recording() const { return recorder.Recording(); }

private:
    // The window's own framebuffer is the back buffer while its drawable has
    // the back buffer's size; otherwise the picture is drawn off-screen and
    // scaled onto it, letterboxed, at Present.
    void ChooseBackBuffer();
    void ApplyBlend();
    void ApplyDepth();
    void BindTarget(Surface* target);
    // Where drawing into surface really goes, and where it goes now.
    Surface* Bound(Surface* surface) const;
    Surface& Target() const { return *Bound(currentTarget); }
    void SetTargetUniforms(const GlProgram& program);
    void UseFixedFunction(const Texture* texture, bool vertexColour);
    // Does the predicted part of a whole-target pass; returns where the pass
    // must still be drawn, or nothing when it was not predictable.
    std::optional<std::optional<ScreenRect>> ApplyPrediction(const PassPrediction& prediction);
    // Clears colour inside area only.
    void ClearArea(const ScreenRect& area, const Color& colour);
    void SetScissor(const std::optional<ScreenRect>& area);
    // The matrices a mesh draw uses now: the active pass's, or the fixed
    // path's; none when the pass lacks one.
    struct MeshMatrices {
        Matrix world;
        Matrix view;
        Matrix projection;
    };
    std::optional<MeshMatrices> CurrentMeshMatrices() const;
    bool Occluded(const Mesh& mesh, const MeshMatrices& matrices) const;
    const Texture& CopyOfCurrentTarget(const Texture& target);
    void FlushSprites();
    void RecordMeshDraw(const Mesh& mesh);
    // The view times the projection the fixed-function path draws with.
    Matrix FixedCamera() const;

    Window* window = nullptr;
    bool context = false;
    int backBufferWidth = 0;
    int backBufferHeight = 0;

    Surface backBuffer;
    Surface* currentTarget = &backBuffer;
    Surface* standInFor = nullptr;
    Surface* standInBy = nullptr;
    std::optional<Occluder> occluder;
    bool depthOnly = false;
    // The back buffer drawn off-screen, when the window's drawable is not its size.
    unsigned offScreenFramebuffer = 0;
    unsigned offScreenColour = 0;
    // A framebuffer holding just the shared depth, to clear it with the window's.
    unsigned depthOnlyFramebuffer = 0;
    unsigned sharedDepth = 0;

    bool lighting = true;
    BlendOperation blendOperation = BlendOperation::Add;
    BlendFactor sourceBlend = BlendFactor::SourceAlpha;
    BlendFactor destinationBlend = BlendFactor::InverseSourceAlpha;
    bool depthTest = true;
    bool depthWrite = true;
    bool textureTransform = false;
    Matrix transforms[4];
    Material currentMaterial;
    const Texture* stageTexture = nullptr;
    Light light;

    bool passPrediction = true;
    bool activePass = false;
    EffectPassState pass;
    // Each pass gets a serial; a mesh is logged once per pass it is drawn in.
    unsigned passSerial = 0;

    std::unique_ptr<GlProgram> fixedProgram;
    std::unique_ptr<GlProgram> spriteProgram;
    std::unique_ptr<SpriteBatch> sprites;
    bool inSprite = false;
    std::unique_ptr<Font> font;
    std::unique_ptr<Texture> targetCopy;
    unsigned fanArray = 0;
    unsigned fanBuffer = 0;
    unsigned quadArray = 0;
    unsigned quadBuffer = 0;
    unsigned whiteTexture = 0;
    unsigned wrapSampler = 0;
    unsigned clampSampler = 0;

    std::vector<std::uint8_t>* capture = nullptr;
    WindowPicture* windowCapture = nullptr;
    DrawRecorder recorder;
};
