#include "render/GraphicsDevice.h"

#include <tuple>
#include <utility>

#include "platform/Application.h"
#include "render/Effect.h"
#include "render/Mesh.h"
#include "render/NullBackEnd.h"
#include "render/Texture.h"

namespace {

Color ToColor(std::uint32_t argb)
{
    return {static_cast<float>((argb >> 16) & 0xFFu) / 255.0f, static_cast<float>((argb >> 8) & 0xFFu) / 255.0f,
            static_cast<float>(argb & 0xFFu) / 255.0f, static_cast<float>(argb >> 24) / 255.0f};
}

}  // namespace

GraphicsDevice::GraphicsDevice() : backEnd(std::make_unique<NullBackEnd>())
{
    backBuffer.name = "backbuffer";
}

GraphicsDevice::~GraphicsDevice() = default;

bool GraphicsDevice::Initialize(Window* window, const WindowBackEndFactory& makeBackEnd, std::string& error,
                                bool* contextFailed)
{
    backBufferWidth = Application::ScreenWidth;
    backBufferHeight = Application::ScreenHeight;
    backBuffer.width = backBufferWidth;
    backBuffer.height = backBufferHeight;
    currentTarget = &backBuffer;
    if (!window)
        return true;

    bool failedContext = false;
    auto made = makeBackEnd(*window, backBufferWidth, backBufferHeight, error, failedContext);
    if (!made) {
        if (contextFailed)
            *contextFailed = failedContext;
        return false;
    }
    backEnd = std::move(made);
    backEnd->ChooseBackBuffer(backBuffer, false);
    BindTarget(&backBuffer);
    SetDefaultStates();
    return true;
}

void GraphicsDevice::SetDefaultStates()
{
    depthTest = true;
    depthWrite = true;
    blendOperation = BlendOperation::Add;
    sourceBlend = BlendFactor::SourceAlpha;
    destinationBlend = BlendFactor::InverseSourceAlpha;
    lighting = true;
    light = Light{};
    textureTransform = false;
    backEnd->ResetStates();
    ApplyBlend();
    ApplyDepth();
}

void GraphicsDevice::SetBlendOperation(BlendOperation operation)
{
    blendOperation = operation;
    ApplyBlend();
}

void GraphicsDevice::SetSourceBlend(BlendFactor factor)
{
    sourceBlend = factor;
    ApplyBlend();
}

void GraphicsDevice::SetDestinationBlend(BlendFactor factor)
{
    destinationBlend = factor;
    ApplyBlend();
}

void GraphicsDevice::SetDepthTest(bool enabled)
{
    depthTest = enabled;
    ApplyDepth();
}

void GraphicsDevice::SetDepthWrite(bool enabled)
{
    depthWrite = enabled;
    ApplyDepth();
}

void GraphicsDevice::ApplyBlend()
{
    backEnd->SetBlend({blendOperation, sourceBlend, destinationBlend});
}

void GraphicsDevice::ApplyDepth()
{
    backEnd->SetDepth(depthTest, depthWrite);
}

void GraphicsDevice::SetTransform(TransformState state, const Matrix& matrix)
{
    transforms[static_cast<int>(state)] = matrix;
}

const Matrix& GraphicsDevice::GetTransform(TransformState state) const
{
    return transforms[static_cast<int>(state)];
}

void GraphicsDevice::SetRenderTarget(Surface* surface)
{
    if (!surface)
        return;
    currentTarget = surface;
    recorder.Target(surface->name);
    BindTarget(surface);
}

void GraphicsDevice::StandIn(Surface* target, Surface* standIn)
{
    if (!passPrediction || !target || !standIn || target->width != standIn->width ||
        target->height != standIn->height)
        return;
    backBufferStandInAsked = backBufferStandInAsked || standIn == &backBuffer;
    // The window's own framebuffer cannot share the targets' depth buffer.
    if (standIn->framebuffer == 0)
        return;
    // What target held is no longer what it shows.
    target->Forget();
    standInFor = target;
    standInBy = standIn;
    BindTarget(currentTarget);
}

bool GraphicsDevice::BeginDepthOnly()
{
    if (!passPrediction)
        return false;
    depthOnly = true;
    backEnd->SetColourWrites(false);
    return true;
}

void GraphicsDevice::EndDepthOnly()
{
    depthOnly = false;
    backEnd->SetColourWrites(true);
}

std::optional<TextureStorage> GraphicsDevice::MakeTarget(int width, int height, bool halfFloat)
{
    auto storage = backEnd->MakeTarget(width, height, halfFloat);
    BindTarget(currentTarget);
    return storage;
}

void GraphicsDevice::SetOccluder(const Matrix& world, const Vector3& low, const Vector3& high)
{
    if (passPrediction)
        occluder.emplace(world, low, high);
}

Surface* GraphicsDevice::Bound(Surface* surface) const
{
    return surface == standInFor ? standInBy : surface;
}

void GraphicsDevice::BindTarget(Surface* target)
{
    backEnd->BindTarget(*Bound(target));
}

void GraphicsDevice::Clear(bool colour, bool depth, std::uint32_t argb, float depthValue)
{
    const Color c = ToColor(argb);
    // A target already plain in this colour but for a small part needs only that part cleared.
    if (colour && !depth && Target().solid == c) {
        if (Target().dirty)
            backEnd->ClearArea(Target(), *Target().dirty, c);
        Target().dirty.reset();
        return;
    }
    backEnd->Clear(Target(), colour ? std::optional(c) : std::nullopt,
                   depth ? std::optional(depthValue) : std::nullopt);
    if (colour) {
        Target().solid = passPrediction ? std::optional(c) : std::nullopt;
        Target().dirty.reset();
    }
    ApplyDepth();
}

void GraphicsDevice::Present()
{
    std::vector<std::uint8_t>* pixels = std::exchange(capture, nullptr);
    WindowPicture* shown = std::exchange(windowCapture, nullptr);
    backEnd->Present(backBuffer, pixels, shown);
    backBuffer.Forget();
    standInFor = standInBy = nullptr;
    occluder.reset();
    backBufferOffScreen = std::exchange(backBufferStandInAsked, false);
    backEnd->ChooseBackBuffer(backBuffer, backBufferOffScreen);
    BindTarget(currentTarget);
}

void GraphicsDevice::Rehearse(const std::function<void()>& frame)
{
    std::vector<DrawRecord>* const log = recorder.Log();
    recorder.SetLog(nullptr);
    const auto states = std::tuple(lighting, blendOperation, sourceBlend, destinationBlend, depthTest, depthWrite,
                                   textureTransform, transforms[0], transforms[1], transforms[2], transforms[3],
                                   currentMaterial, stageTexture, light);
    Surface* const target = currentTarget;
    const bool standInAsked = std::exchange(backBufferStandInAsked, false);
    // Off-screen, as a scene that lets the back buffer stand in for its
    // target draws every frame after its first: the same formats, so the same
    // compiled programs.
    backEnd->ChooseBackBuffer(backBuffer, true);
    currentTarget = &backBuffer;
    BindTarget(currentTarget);
    frame();
    standInFor = standInBy = nullptr;
    occluder.reset();
    backBuffer.Forget();
    backBufferStandInAsked = standInAsked;
    backEnd->ChooseBackBuffer(backBuffer, backBufferOffScreen);
    std::tie(lighting, blendOperation, sourceBlend, destinationBlend, depthTest, depthWrite, textureTransform,
             transforms[0], transforms[1], transforms[2], transforms[3], currentMaterial, stageTexture, light) = states;
    backEnd->ResetStates();
    ApplyBlend();
    ApplyDepth();
    currentTarget = target;
    BindTarget(currentTarget);
    recorder.SetLog(log);
    // The renderer works behind the calls: the next frame must not wait on the rehearsal's pixels.
    backEnd->Finish();
}

void GraphicsDevice::WaitForGpu()
{
    backEnd->Finish();
}

void GraphicsDevice::BeginEffectPass(const EffectPassState& state)
{
    pass = state;
    activePass = true;
    ++passSerial;
    depthTest = state.depthTest;
    depthWrite = state.depthWrite;
    ApplyDepth();
    if (pass.program)
        backEnd->UseProgram(*pass.program);
    if (pass.cullBack)
        backEnd->SetCulling(true);
}

void GraphicsDevice::SetPassProgram(const DeviceProgram* program)
{
    pass.program = program;
    if (program)
        backEnd->UseProgram(*program);
}

void GraphicsDevice::SetPassParameters(const DeviceProgram& program, const EffectParameters& parameters)
{
    backEnd->Upload(program, parameters, Target(), [this](const Texture& texture) {
        return texture.GetSurface() && Bound(texture.GetSurface()) == &Target();
    });
}

void GraphicsDevice::EndEffectPass()
{
    if (pass.cullBack)
        backEnd->SetCulling(false);
    activePass = false;
    pass = EffectPassState{};
}

void GraphicsDevice::RecordMeshDraw(const Mesh& mesh)
{
    if (!recorder.Recording() || depthOnly)
        return;
    if (!activePass) {
        recorder.MeshDraw(mesh, 0, "", stageTexture ? stageTexture->fileName : "", GetTransform(TransformState::World),
                          FixedCamera());
        return;
    }
    // The log shows where the effect puts the mesh, and with which camera.
    const auto parameter = [this](const char* name, TransformState fallback) {
        if (const auto* value = pass.effect ? pass.effect->Find(name) : nullptr;
            value && std::holds_alternative<Matrix>(*value))
            return std::get<Matrix>(*value);
        return GetTransform(fallback);
    };
    recorder.MeshDraw(mesh, passSerial, pass.technique, "", parameter(Effect::WorldParameter, TransformState::World),
                      parameter(Effect::ViewParameter, TransformState::View) *
                          parameter(Effect::ProjectionParameter, TransformState::Projection));
}

Matrix GraphicsDevice::FixedCamera() const
{
    return GetTransform(TransformState::View) * GetTransform(TransformState::Projection);
}

void GraphicsDevice::DrawSubset(const Mesh& mesh, int subset, bool opaque)
{
    if (subset < 0 || subset >= mesh.SubsetCount() || !mesh.HasGeometry())
        return;
    RecordMeshDraw(mesh);
    const Mesh::Subset& range = mesh.GetSubset(subset);
    // Nothing was uploaded on the null back end.
    if (!mesh.Buffers().vertexArray || range.indexCount == 0)
        return;
    if (activePass) {
        if (!pass.program)
            return;
        backEnd->SetTargetOf(*pass.program, Target());
    } else {
        backEnd->UseFixedFunction(FixedState(false), Target());
    }
    const auto matrices = CurrentMeshMatrices();
    if (matrices && Occluded(mesh, *matrices))
        return;
    // Depth alone changes no colour the device knows of.
    if (!depthOnly) {
        const auto bounds = matrices ? ProjectedBounds(mesh.BoundsMin(), mesh.BoundsMax(),
                                                       matrices->world * matrices->view * matrices->projection,
                                                       Target().width, Target().height)
                                     : std::nullopt;
        if (bounds)
            Target().Touch(*bounds);
        else
            Target().Forget();
    }
    const BlendState usual;
    const bool replaces = opaque && passPrediction && blendOperation == usual.operation &&
                          sourceBlend == usual.source && destinationBlend == usual.destination;
    if (replaces)
        backEnd->SetBlending(false);
    backEnd->DrawMesh(mesh.Buffers(), range.firstIndex, range.indexCount);
    if (replaces)
        backEnd->SetBlending(true);
}

FixedFunctionState GraphicsDevice::FixedState(bool vertexColour) const
{
    return {GetTransform(TransformState::World),
            GetTransform(TransformState::View),
            GetTransform(TransformState::Projection),
            GetTransform(TransformState::Texture0),
            textureTransform,
            lighting,
            vertexColour,
            currentMaterial,
            light,
            stageTexture};
}

std::optional<GraphicsDevice::MeshMatrices> GraphicsDevice::CurrentMeshMatrices() const
{
    if (!activePass) {
        return MeshMatrices{GetTransform(TransformState::World), GetTransform(TransformState::View),
                            GetTransform(TransformState::Projection)};
    }
    const auto matrix = [this](const char* name) -> const Matrix* {
        const EffectValue* value = pass.effect ? pass.effect->Find(name) : nullptr;
        return value && std::holds_alternative<Matrix>(*value) ? &std::get<Matrix>(*value) : nullptr;
    };
    const Matrix* w = matrix(Effect::WorldParameter);
    const Matrix* v = matrix(Effect::ViewParameter);
    const Matrix* p = matrix(Effect::ProjectionParameter);
    if (!w || !v || !p)
        return std::nullopt;
    return MeshMatrices{*w, *v, *p};
}

bool GraphicsDevice::Occluded(const Mesh& mesh, const MeshMatrices& matrices) const
{
    return occluder && occluder->Hides(Matrix::Inverse(matrices.view).TranslationRow(), matrices.world,
                                       mesh.BoundsMin(), mesh.BoundsMax());
}

std::optional<std::optional<ScreenRect>> GraphicsDevice::ApplyPrediction(const PassPrediction& prediction)
{
    const auto plan = PlanPredictedPass(prediction, {blendOperation, sourceBlend, destinationBlend}, Target());
    if (!plan)
        return std::nullopt;
    const Color& c = prediction.colour;
    if (plan->repaint == PredictedPass::Repaint::Whole)
        backEnd->Clear(Target(), c, std::nullopt);
    else if (plan->repaint == PredictedPass::Repaint::Dirty && Target().dirty)
        backEnd->ClearArea(Target(), *Target().dirty, c);
    if (plan->repaint != PredictedPass::Repaint::None) {
        Target().solid = c;
        Target().dirty.reset();
    }
    if (plan->work && !plan->work->Empty())
        Target().Touch(*plan->work);
    return plan->work;
}

void GraphicsDevice::DrawScreenQuad(const ScreenRect& rect, const std::optional<PassPrediction>& prediction)
{
    recorder.Quad(rect, activePass ? pass.technique : "");
    if (!activePass || !pass.program || rect.width == 0 || rect.height == 0)
        return;
    std::optional<ScreenRect> scissor;
    const bool wholeTarget = rect == ScreenRect{0, 0, Target().width, Target().height};
    if (const auto predicted = prediction && wholeTarget ? ApplyPrediction(*prediction) : std::nullopt) {
        if (!*predicted || (*predicted)->Empty())
            return;
        scissor = *predicted;
    } else {
        Target().Touch(rect);
    }
    backEnd->SetTargetOf(*pass.program, Target());
    backEnd->DrawQuad(ScreenQuadVertices(rect), Target(), scissor);
}

void GraphicsDevice::CopyToCurrentTarget(const Texture& source)
{
    const Surface* from = source.GetSurface() ? Bound(source.GetSurface()) : nullptr;
    // A target standing in for the source already holds what it would copy.
    if (!from || from == &Target())
        return;
    backEnd->Copy(*from, Target());
    Target().solid = from->solid;
    Target().dirty = from->dirty;
}

void GraphicsDevice::DrawFan(const ColorVertex* vertices, int count, const std::string& what)
{
    recorder.Fan(vertices, count, what, stageTexture ? stageTexture->fileName : "", GetTransform(TransformState::World),
                 FixedCamera());
    if (count < 3)
        return;
    backEnd->UseFixedFunction(FixedState(true), Target());
    Target().Forget();
    backEnd->DrawFan(vertices, count);
}

void GraphicsDevice::BeginSprite()
{
    inSprite = true;
}

void GraphicsDevice::DrawSprite(const std::shared_ptr<Texture>& texture, const Rect* source, const Matrix* transform,
                                const Vector3* centre, std::uint32_t argb)
{
    const Rect whole = texture ? texture->sourceRect : Rect{};
    const Rect& src = source ? *source : whole;
    const Matrix m = transform ? *transform : Matrix::Identity();
    const Vector3 c = centre ? *centre : Vector3(0.0f);
    recorder.Sprite(texture ? texture->fileName : "", src, m, c.x, c.y, argb);
    // A sprite without an image, or fully transparent, leaves no trace.
    if (!texture || !texture->Handle() || (argb >> 24) == 0)
        return;
    const float width = static_cast<float>(texture->imageInfo.width);
    const float height = static_cast<float>(texture->imageInfo.height);
    if (width <= 0 || height <= 0)
        return;

    backEnd->AddSprite(texture->Handle(), PlaceSprite(src, m, c, width, height), argb);
    if (!inSprite)
        FlushSprites();
}

void GraphicsDevice::EndSprite()
{
    FlushSprites();
    inSprite = false;
}

void GraphicsDevice::FlushSprites()
{
    // Sprites draw with their own states; the device's come back after them.
    if (!backEnd->DrawSprites(Target()))
        return;
    Target().Forget();
    ApplyDepth();
    ApplyBlend();
}

void GraphicsDevice::DrawText(const std::string& text, int x, int y, std::uint32_t argb, TextFace face)
{
    recorder.Text(text, x, y, argb, face);
    backEnd->AddText(text, x, y, argb, face);
    if (!inSprite)
        FlushSprites();
}
