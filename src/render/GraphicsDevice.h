#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "formats/Material.h"
#include "math/Matrix.h"
#include "render/ColorVertex.h"
#include "render/DeviceBackEnd.h"
#include "render/DrawRecorder.h"
#include "render/Occluder.h"
#include "render/PassPrediction.h"
#include "render/Surface.h"

class Window;
class Texture;
class Mesh;
class Effect;
class DeviceProgram;
struct Rect;

enum class TransformState { World, View, Projection, Texture0 };

// What an effect pass hands the device while it is active: the program that
// draws, and the depth states the pass wants.
struct EffectPassState {
    const Effect* effect = nullptr;
    // Null on the null back end: the pass is only recorded.
    const DeviceProgram* program = nullptr;
    std::string technique;
    bool depthTest = true;
    bool depthWrite = true;
    bool cullBack = false;
};

// The drawing device. It keeps the fixed 1280 × 720 back buffer every 2D
// layout is written for, the render states the game sets, render-target
// switching with one depth buffer shared by every full-size target, the
// fixed-function path (sky, shards, editor tiles), effect passes, screen quads,
// the sprite batch and the text call.
//
// It keeps every state, the draw log, what it knows of each target's colour,
// stand-ins and occlusion, and hands the drawing to its back end: in a window
// the one the program chooses (OpenGL 3.3 in the game, render/gl), nothing
// without one (NullBackEnd), so every call runs and is recorded anywhere, and
// draw order can be checked headless.
class GraphicsDevice {
public:
    GraphicsDevice();
    ~GraphicsDevice();
    GraphicsDevice(const GraphicsDevice&) = delete;
    GraphicsDevice& operator=(const GraphicsDevice&) = delete;

    // window null: headless, on the null back end; otherwise on the back end
    // makeBackEnd makes for the window. Full screen or not, the picture is
    // drawn the same way. False, with the reason in error, when the back end
    // cannot be made; contextFailed then tells that the window's context could
    // not be made (the caller says so in its own box).
    bool Initialize(Window* window, const WindowBackEndFactory& makeBackEnd, std::string& error,
                    bool* contextFailed = nullptr);
    // Depth test and write, alpha blending with source alpha, no culling, one
    // white light along (1, -1, 1), texture times vertex colour, lighting on.
    void SetDefaultStates();

    // Where textures, meshes and effects keep what they make.
    DeviceBackEnd& BackEnd() { return *backEnd; }
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
    // begun) with the device's shortcuts off.
    bool BeginDepthOnly();
    void EndDepthOnly();
    // A render target's storage; full-size targets share the one depth buffer.
    // Nothing when the back end cannot make it whole.
    std::optional<TextureStorage> MakeTarget(int width, int height, bool halfFloat);

    // Clears the current target's colour (ARGB), and its depth when depth is true.
    void Clear(bool colour, bool depth, std::uint32_t argb, float depthValue);
    void Present();
    // Returns once the renderer has finished everything asked of it (for timing).
    void WaitForGpu();
    // Runs frame's drawing as a frame drawn off-screen would run, but out of
    // the draw log and never shown, and leaves the states, transforms, back
    // buffer and stand-ins as they were before it. A software renderer
    // compiles each new combination of program and state at its first draw;
    // drawing a scene's frames this way once, behind a frame already on the
    // screen, spares the frames that count that wait.
    void Rehearse(const std::function<void()>& frame);

    // Effect passes (see Effect): while one is active, mesh subsets and screen
    // quads draw with its program; otherwise with the fixed-function path.
    void BeginEffectPass(const EffectPassState& pass);
    void EndEffectPass();
    // The active pass continues with another build of its technique.
    void SetPassProgram(const DeviceProgram* program);
    // The pass's program takes the effect's parameters; a texture that is
    // being drawn into is sampled from a copy taken now.
    void SetPassParameters(const DeviceProgram& program, const EffectParameters& parameters);
    // A new pass of the same technique counts as a new mesh draw in the log.
    const EffectPassState* ActivePass() const { return activePass ? &pass : nullptr; }

    // Subset i of a mesh, with the active pass or the fixed-function path
    // (current material, stage-0 texture, world transform, lighting). opaque:
    // the caller knows every fragment's alpha is exactly 1, so under the usual
    // blend it replaces what is there and is drawn without blending, which
    // saves reading the target back on a software renderer.
    void DrawSubset(const Mesh& mesh, int subset, bool opaque = false);
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

    // A string, its top-left corner at (x, y): in the fixed-pitch 30 × 30
    // face, or the proportional one, 26 pixels high.
    void DrawText(const std::string& text, int x, int y, std::uint32_t argb, TextFace face = TextFace::Mono);

    // The next Present also copies the back buffer into pixels: RGBA, 8 bits a
    // channel, top row first. On the null back end nothing is copied.
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
    void ApplyBlend();
    void ApplyDepth();
    void BindTarget(Surface* target);
    // Where drawing into surface really goes, and where it goes now.
    Surface* Bound(Surface* surface) const;
    Surface& Target() const { return *Bound(currentTarget); }
    FixedFunctionState FixedState(bool vertexColour) const;
    // Does the predicted part of a whole-target pass; returns where the pass
    // must still be drawn, or nothing when it was not predictable.
    std::optional<std::optional<ScreenRect>> ApplyPrediction(const PassPrediction& prediction);
    // The matrices a mesh draw uses now: the active pass's, or the fixed
    // path's; none when the pass lacks one.
    struct MeshMatrices {
        Matrix world;
        Matrix view;
        Matrix projection;
    };
    std::optional<MeshMatrices> CurrentMeshMatrices() const;
    bool Occluded(const Mesh& mesh, const MeshMatrices& matrices) const;
    void FlushSprites();
    void RecordMeshDraw(const Mesh& mesh);
    // The view times the projection the fixed-function path draws with.
    Matrix FixedCamera() const;

    std::unique_ptr<DeviceBackEnd> backEnd;
    int backBufferWidth = 0;
    int backBufferHeight = 0;

    Surface backBuffer;
    Surface* currentTarget = &backBuffer;
    Surface* standInFor = nullptr;
    Surface* standInBy = nullptr;
    // A scene asked this frame for the back buffer to stand in: the next frame
    // draws it off-screen, where it can.
    bool backBufferStandInAsked = false;
    bool backBufferOffScreen = false;
    std::optional<Occluder> occluder;
    bool depthOnly = false;

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

    bool inSprite = false;

    std::vector<std::uint8_t>* capture = nullptr;
    WindowPicture* windowCapture = nullptr;
    DrawRecorder recorder;
};
