#include "render/GraphicsDevice.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include <epoxy/gl.h>

#include "platform/Application.h"
#include "platform/Window.h"
#include "render/BuiltinShaders.h"
#include "render/Effect.h"
#include "render/Font.h"
#include "render/GlProgram.h"
#include "render/Mesh.h"
#include "render/SpriteBatch.h"
#include "render/Texture.h"

namespace {

const char* const FontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
constexpr int FontCellSize = 30;

Color ToColor(std::uint32_t argb)
{
    return {static_cast<float>((argb >> 16) & 0xFFu) / 255.0f, static_cast<float>((argb >> 8) & 0xFFu) / 255.0f,
            static_cast<float>(argb & 0xFFu) / 255.0f, static_cast<float>(argb >> 24) / 255.0f};
}

GLenum GlFactor(BlendFactor factor)
{
    switch (factor) {
    case BlendFactor::Zero:
        return GL_ZERO;
    case BlendFactor::One:
        return GL_ONE;
    case BlendFactor::SourceAlpha:
        return GL_SRC_ALPHA;
    case BlendFactor::InverseSourceAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

GLenum GlOperation(BlendOperation operation)
{
    switch (operation) {
    case BlendOperation::Add:
        return GL_FUNC_ADD;
    case BlendOperation::Subtract:
        return GL_FUNC_SUBTRACT;
    case BlendOperation::ReverseSubtract:
        return GL_FUNC_REVERSE_SUBTRACT;
    case BlendOperation::Min:
        return GL_MIN;
    case BlendOperation::Max:
        return GL_MAX;
    }
    return GL_FUNC_ADD;
}

unsigned MakeSampler(GLenum wrap)
{
    unsigned sampler = 0;
    glGenSamplers(1, &sampler);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, wrap);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, wrap);
    return sampler;
}

}  // namespace

std::array<ScreenQuadVertex, 4> ScreenQuadVertices(const ScreenRect& rect)
{
    const float left = static_cast<float>(rect.x);
    const float top = static_cast<float>(rect.y);
    const float right = static_cast<float>(rect.x + rect.width);
    const float bottom = static_cast<float>(rect.y + rect.height);
    return {{{left, top, 0, 0}, {right, top, 1, 0}, {right, bottom, 1, 1}, {left, bottom, 0, 1}}};
}

GraphicsDevice::GraphicsDevice()
{
    backBuffer.name = "backbuffer";
}

GraphicsDevice::~GraphicsDevice()
{
    Shutdown();
}

bool GraphicsDevice::Initialize(Window* targetWindow, std::string& error, bool* contextFailed)
{
    backBufferWidth = Application::ScreenWidth;
    backBufferHeight = Application::ScreenHeight;
    backBuffer.width = backBufferWidth;
    backBuffer.height = backBufferHeight;
    currentTarget = &backBuffer;
    if (!targetWindow)
        return true;

    if (!targetWindow->CreateContext(error) || epoxy_gl_version() < 33) {
        if (error.empty())
            error = "OpenGL 3.3 is not available";
        if (contextFailed)
            *contextFailed = true;
        return false;
    }
    window = targetWindow;
    context = true;

    glGenRenderbuffers(1, &sharedDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, sharedDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, backBufferWidth, backBufferHeight);
    glGenRenderbuffers(1, &offScreenColour);
    glBindRenderbuffer(GL_RENDERBUFFER, offScreenColour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, backBufferWidth, backBufferHeight);
    glGenFramebuffers(1, &offScreenFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, offScreenFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, offScreenColour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, sharedDepth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error = "the off-screen back buffer cannot be created";
        return false;
    }
    // The window's depth buffer is its own; the shared one is cleared with it (see Clear).
    glGenFramebuffers(1, &depthOnlyFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, depthOnlyFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, sharedDepth);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    ChooseBackBuffer();

    std::string log;
    fixedProgram = GlProgram::Build(BuiltinShaders::FixedVertex, BuiltinShaders::FixedFragment, log);
    spriteProgram = GlProgram::Build(BuiltinShaders::SpriteVertex, BuiltinShaders::SpriteFragment, log);
    if (!fixedProgram || !spriteProgram) {
        error = "the built-in shaders do not compile: " + log;
        return false;
    }
    sprites = std::make_unique<SpriteBatch>();
    font = Font::Create(FontFile, FontCellSize);

    const std::uint32_t white = 0xFFFFFFFF;
    glGenTextures(1, &whiteTexture);
    glBindTexture(GL_TEXTURE_2D, whiteTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    wrapSampler = MakeSampler(GL_REPEAT);
    clampSampler = MakeSampler(GL_CLAMP_TO_EDGE);

    glGenVertexArrays(1, &quadArray);
    glGenBuffers(1, &quadBuffer);
    glBindVertexArray(quadArray);
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(ScreenQuadVertex), reinterpret_cast<void*>(0));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(ScreenQuadVertex),
                          reinterpret_cast<void*>(offsetof(ScreenQuadVertex, u)));

    glGenVertexArrays(1, &fanArray);
    glGenBuffers(1, &fanBuffer);
    glBindVertexArray(fanArray);
    glBindBuffer(GL_ARRAY_BUFFER, fanBuffer);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(ColorVertex),
                          reinterpret_cast<void*>(offsetof(ColorVertex, position)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(ColorVertex),
                          reinterpret_cast<void*>(offsetof(ColorVertex, u)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(ColorVertex),
                          reinterpret_cast<void*>(offsetof(ColorVertex, argb)));
    glBindVertexArray(0);

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
    if (!context)
        return;
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LEQUAL);
    ApplyBlend();
    ApplyDepth();
}

void GraphicsDevice::Shutdown()
{
    if (!context)
        return;
    fixedProgram.reset();
    spriteProgram.reset();
    targetCopy.reset();
    sprites.reset();
    font.reset();
    glDeleteTextures(1, &whiteTexture);
    glDeleteSamplers(1, &wrapSampler);
    glDeleteSamplers(1, &clampSampler);
    glDeleteVertexArrays(1, &quadArray);
    glDeleteBuffers(1, &quadBuffer);
    glDeleteVertexArrays(1, &fanArray);
    glDeleteBuffers(1, &fanBuffer);
    glDeleteFramebuffers(1, &offScreenFramebuffer);
    glDeleteFramebuffers(1, &depthOnlyFramebuffer);
    glDeleteRenderbuffers(1, &offScreenColour);
    glDeleteRenderbuffers(1, &sharedDepth);
    whiteTexture = wrapSampler = clampSampler = quadArray = quadBuffer = fanArray = fanBuffer = 0;
    backBuffer.framebuffer = offScreenFramebuffer = depthOnlyFramebuffer = offScreenColour = sharedDepth = 0;
    currentTarget = &backBuffer;
    standInFor = standInBy = nullptr;
    occluder.reset();
    context = false;
    window = nullptr;
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
    if (!context)
        return;
    glBlendEquation(GlOperation(blendOperation));
    glBlendFunc(GlFactor(sourceBlend), GlFactor(destinationBlend));
}

void GraphicsDevice::ApplyDepth()
{
    if (!context)
        return;
    if (depthTest)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthMask(depthWrite ? GL_TRUE : GL_FALSE);
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
    if (context)
        BindTarget(surface);
}

void GraphicsDevice::StandIn(Surface* target, Surface* standIn)
{
    // The window's own framebuffer cannot share the targets' depth buffer.
    if (!passPrediction || !target || !standIn || standIn->framebuffer == 0 || target->width != standIn->width ||
        target->height != standIn->height)
        return;
    // What target held is no longer what it shows.
    target->Forget();
    standInFor = target;
    standInBy = standIn;
    if (context)
        BindTarget(currentTarget);
}

bool GraphicsDevice::BeginDepthOnly()
{
    if (!context || !passPrediction)
        return false;
    depthOnly = true;
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    return true;
}

void GraphicsDevice::EndDepthOnly()
{
    depthOnly = false;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
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
    Surface* surface = Bound(target);
    glBindFramebuffer(GL_FRAMEBUFFER, surface->framebuffer);
    glViewport(0, 0, surface->width, surface->height);
    // Front faces wind clockwise as seen; a target stored top row first shows
    // GL every picture mirrored, and so every winding reversed.
    glFrontFace(surface->topRowFirst ? GL_CCW : GL_CW);
}

void GraphicsDevice::Clear(bool colour, bool depth, std::uint32_t argb, float depthValue)
{
    if (!context)
        return;
    const Color c = ToColor(argb);
    // A target already plain in this colour but for a small part needs only that part cleared.
    if (colour && !depth && Target().solid == c) {
        if (Target().dirty)
            ClearArea(*Target().dirty, c);
        Target().dirty.reset();
        return;
    }
    glClearColor(c.r, c.g, c.b, c.a);
    glClearDepth(depthValue);
    glClearStencil(0);
    // Clearing obeys the depth mask; a clear must reach the buffer whatever the state.
    glDepthMask(GL_TRUE);
    GLbitfield mask = 0;
    if (colour)
        mask |= GL_COLOR_BUFFER_BIT;
    if (depth)
        mask |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    glClear(mask);
    if (colour) {
        Target().solid = passPrediction ? std::optional(c) : std::nullopt;
        Target().dirty.reset();
    }
    // With the window's own back buffer, the depth buffer the full-size targets
    // share is a second buffer; clearing "the" depth buffer clears both.
    if (depth && Target().framebuffer == 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, depthOnlyFramebuffer);
        glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        BindTarget(currentTarget);
    }
    ApplyDepth();
}

void GraphicsDevice::ClearArea(const ScreenRect& area, const Color& colour)
{
    SetScissor(area);
    glClearColor(colour.r, colour.g, colour.b, colour.a);
    glClear(GL_COLOR_BUFFER_BIT);
    SetScissor(std::nullopt);
}

void GraphicsDevice::SetScissor(const std::optional<ScreenRect>& area)
{
    if (!area) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glEnable(GL_SCISSOR_TEST);
    // GL counts rows from the bottom of what it stores.
    const int row = Target().topRowFirst ? area->y : Target().height - area->Bottom();
    glScissor(area->x, row, area->width, area->height);
}

namespace {

// The framebuffer bound for reading, as RGBA rows top first, opaque as the
// window shows it whatever its alpha holds.
void ReadFramebuffer(int width, int height, bool topRowFirst, std::vector<std::uint8_t>& pixels)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    pixels.resize(rowBytes * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (std::size_t alpha = 3; alpha < pixels.size(); alpha += 4)
        pixels[alpha] = 255;
    if (topRowFirst)
        return;
    std::vector<std::uint8_t> row(rowBytes);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = pixels.data() + top * rowBytes;
        std::uint8_t* b = pixels.data() + bottom * rowBytes;
        std::memcpy(row.data(), a, rowBytes);
        std::memcpy(a, b, rowBytes);
        std::memcpy(b, row.data(), rowBytes);
    }
}

}  // namespace

void GraphicsDevice::Present()
{
    std::vector<std::uint8_t>* pixels = std::exchange(capture, nullptr);
    WindowPicture* shown = std::exchange(windowCapture, nullptr);
    if (!context)
        return;
    if (pixels) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer.framebuffer);
        ReadFramebuffer(backBufferWidth, backBufferHeight, backBuffer.topRowFirst, *pixels);
    }

    if (backBuffer.framebuffer) {
        int displayWidth = 0;
        int displayHeight = 0;
        window->DrawableSize(displayWidth, displayHeight);
        // The largest rectangle of the back buffer's shape that fits, centred; the bars stay black.
        const int width = std::min(displayWidth, displayHeight * backBufferWidth / backBufferHeight);
        const int height = width * backBufferHeight / backBufferWidth;
        const int x = (displayWidth - width) / 2;
        const int y = (displayHeight - height) / 2;
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer.framebuffer);
        // Top row first in the back buffer, last in the window.
        glBlitFramebuffer(0, backBufferHeight, backBufferWidth, 0, x, y, x + width, y + height, GL_COLOR_BUFFER_BIT,
                          GL_LINEAR);
    }
    if (shown) {
        window->DrawableSize(shown->width, shown->height);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        ReadFramebuffer(shown->width, shown->height, false, shown->pixels);
    }
    window->SwapBuffers();
    backBuffer.Forget();
    standInFor = standInBy = nullptr;
    occluder.reset();
    ChooseBackBuffer();
    BindTarget(currentTarget);
}

void GraphicsDevice::ChooseBackBuffer()
{
    int width = 0;
    int height = 0;
    window->DrawableSize(width, height);
    const bool own = width == backBufferWidth && height == backBufferHeight;
    backBuffer.framebuffer = own ? 0 : offScreenFramebuffer;
    // Off-screen it is stored top row first like every target, so that any of
    // them can stand in for it and rasterise alike; the window's is bottom-up.
    backBuffer.topRowFirst = !own;
}

void GraphicsDevice::WaitForGpu()
{
    if (context)
        glFinish();
}

void GraphicsDevice::SetTargetUniforms(const GlProgram& program)
{
    glUniform1f(program.Uniform("orb_FlipY"), Target().topRowFirst ? -1.0f : 1.0f);
    glUniform2f(program.Uniform("orb_TargetSize"), static_cast<float>(Target().width),
                static_cast<float>(Target().height));
}

void GraphicsDevice::BindTexture(int unit, const Texture* texture)
{
    if (!context)
        return;
    // GL cannot sample the texture it draws into; a pass that reads its own
    // target reads a copy of it taken now.
    if (texture && texture->GetSurface() && Bound(texture->GetSurface()) == &Target())
        texture = &CopyOfCurrentTarget(*texture);
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture ? texture->Handle() : 0);
    // Render targets are sampled for screen passes, where wrapping would bleed
    // one edge into the other; images wrap as models expect.
    glBindSampler(unit, texture && texture->GetSurface() ? clampSampler : wrapSampler);
}

const Texture& GraphicsDevice::CopyOfCurrentTarget(const Texture& target)
{
    const int width = static_cast<int>(target.imageInfo.width);
    const int height = static_cast<int>(target.imageInfo.height);
    if (!targetCopy || targetCopy->imageInfo.width != target.imageInfo.width ||
        targetCopy->imageInfo.height != target.imageInfo.height || targetCopy->imageInfo.format != target.imageInfo.format) {
        targetCopy = std::make_unique<Texture>(*this);
        targetCopy->CreateRenderTarget(width, height, target.imageInfo.format, "targetCopy");
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, Target().framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, targetCopy->GetSurface()->framebuffer);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    targetCopy->GetSurface()->solid = Target().solid;
    targetCopy->GetSurface()->dirty = Target().dirty;
    BindTarget(currentTarget);
    return *targetCopy;
}

void GraphicsDevice::BeginEffectPass(const EffectPassState& state)
{
    pass = state;
    activePass = true;
    ++passSerial;
    depthTest = state.depthTest;
    depthWrite = state.depthWrite;
    ApplyDepth();
    if (!context)
        return;
    if (pass.program)
        glUseProgram(pass.program->Id());
    if (pass.cullBack)
        glEnable(GL_CULL_FACE);
}

void GraphicsDevice::SetPassProgram(const GlProgram* program)
{
    pass.program = program;
    if (context && program)
        glUseProgram(program->Id());
}

void GraphicsDevice::EndEffectPass()
{
    if (context && pass.cullBack)
        glDisable(GL_CULL_FACE);
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

void GraphicsDevice::DrawSubset(const Mesh& mesh, int subset)
{
    if (subset < 0 || subset >= mesh.SubsetCount() || !mesh.HasGeometry())
        return;
    RecordMeshDraw(mesh);
    const Mesh::Subset& range = mesh.GetSubset(subset);
    if (!context || !mesh.VertexArray() || range.indexCount == 0)
        return;
    if (activePass) {
        if (!pass.program)
            return;
        SetTargetUniforms(*pass.program);
    } else {
        UseFixedFunction(stageTexture, false);
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
    glBindVertexArray(mesh.VertexArray());
    // Models carry no vertex colour; a disabled attribute reads this constant.
    glVertexAttrib4f(3, 1.0f, 1.0f, 1.0f, 1.0f);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.indexCount), GL_UNSIGNED_INT,
                   reinterpret_cast<void*>(static_cast<std::uintptr_t>(range.firstIndex) * sizeof(unsigned)));
    glBindVertexArray(0);
}

void GraphicsDevice::UseFixedFunction(const Texture* texture, bool vertexColour)
{
    const GlProgram& program = *fixedProgram;
    glUseProgram(program.Id());
    SetTargetUniforms(program);
    glUniformMatrix4fv(program.Uniform("ff_World"), 1, GL_FALSE, GetTransform(TransformState::World).Data());
    glUniformMatrix4fv(program.Uniform("ff_View"), 1, GL_FALSE, GetTransform(TransformState::View).Data());
    glUniformMatrix4fv(program.Uniform("ff_Projection"), 1, GL_FALSE,
                       GetTransform(TransformState::Projection).Data());
    glUniformMatrix4fv(program.Uniform("ff_TextureMatrix"), 1, GL_FALSE,
                       GetTransform(TransformState::Texture0).Data());
    glUniform1i(program.Uniform("ff_TextureTransform"), textureTransform);
    glUniform1i(program.Uniform("ff_Lighting"), lighting);
    glUniform1i(program.Uniform("ff_VertexColor"), vertexColour);
    glUniform4fv(program.Uniform("ff_MaterialDiffuse"), 1, &currentMaterial.diffuse.x);
    glUniform4fv(program.Uniform("ff_MaterialEmissive"), 1, &currentMaterial.emissive.x);
    glUniform3fv(program.Uniform("ff_LightDirection"), 1, &light.direction.x);
    glUniform4fv(program.Uniform("ff_LightDiffuse"), 1, &light.diffuse.x);
    glUniform1i(program.Uniform("ff_Texture"), 0);
    glActiveTexture(GL_TEXTURE0);
    // A missing texture reads as white, as an empty texture stage does.
    glBindTexture(GL_TEXTURE_2D, texture && texture->Handle() ? texture->Handle() : whiteTexture);
    glBindSampler(0, wrapSampler);
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
    if (plan->repaint == PredictedPass::Repaint::Whole) {
        glClearColor(c.r, c.g, c.b, c.a);
        glClear(GL_COLOR_BUFFER_BIT);
    } else if (plan->repaint == PredictedPass::Repaint::Dirty && Target().dirty) {
        ClearArea(*Target().dirty, c);
    }
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
    if (!context || !activePass || !pass.program || rect.width == 0 || rect.height == 0)
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
    const std::array<ScreenQuadVertex, 4> vertices = ScreenQuadVertices(rect);
    SetTargetUniforms(*pass.program);
    glBindVertexArray(quadArray);
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices.data(), GL_STREAM_DRAW);
    SetScissor(scissor);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    SetScissor(std::nullopt);
    glBindVertexArray(0);
}

void GraphicsDevice::CopyToCurrentTarget(const Texture& source)
{
    const Surface* from = source.GetSurface() ? Bound(source.GetSurface()) : nullptr;
    // A target standing in for the source already holds what it would copy.
    if (!context || !from || from == &Target())
        return;
    const int width = Target().width;
    const int height = Target().height;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from->framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, Target().framebuffer);
    // Rows run the other way in the window's own framebuffer.
    const bool flip = from->topRowFirst != Target().topRowFirst;
    glBlitFramebuffer(0, 0, width, height, 0, flip ? height : 0, width, flip ? 0 : height, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    Target().solid = from->solid;
    Target().dirty = from->dirty;
    BindTarget(currentTarget);
}

void GraphicsDevice::DrawFan(const ColorVertex* vertices, int count, const std::string& what)
{
    recorder.Fan(vertices, count, what, stageTexture ? stageTexture->fileName : "", GetTransform(TransformState::World),
                 FixedCamera());
    if (!context || count < 3)
        return;
    UseFixedFunction(stageTexture, true);
    Target().Forget();
    glBindVertexArray(fanArray);
    glBindBuffer(GL_ARRAY_BUFFER, fanBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(ColorVertex)), vertices, GL_STREAM_DRAW);
    glVertexAttrib3f(1, 0.0f, 0.0f, 0.0f);
    glDrawArrays(GL_TRIANGLE_FAN, 0, count);
    glBindVertexArray(0);
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
    if (!context || !texture || !texture->Handle() || (argb >> 24) == 0)
        return;
    const float width = static_cast<float>(texture->imageInfo.width);
    const float height = static_cast<float>(texture->imageInfo.height);
    if (width <= 0 || height <= 0)
        return;

    sprites->Add(texture->Handle(), SpriteBatch::Place(src, m, c, width, height), argb);
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
    if (!context || sprites->Empty())
        return;
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glUseProgram(spriteProgram->Id());
    SetTargetUniforms(*spriteProgram);
    glUniform1i(spriteProgram->Uniform("sprite_Texture"), 0);
    glBindSampler(0, clampSampler);
    Target().Forget();
    sprites->Flush();
    ApplyDepth();
    ApplyBlend();
}

void GraphicsDevice::DrawText(const std::string& text, int x, int y, std::uint32_t argb)
{
    recorder.Text(text, x, y, argb);
    if (!context || !font)
        return;
    for (const auto& quad : font->Layout(text, static_cast<float>(x), static_cast<float>(y)))
        sprites->Add(font->Texture(), quad, argb);
    if (!inSprite)
        FlushSprites();
}
