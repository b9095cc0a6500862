#include "render/gl/GlBackEnd.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include <epoxy/gl.h>

#include "platform/Window.h"
#include "render/Surface.h"
#include "render/Texture.h"
#include "render/gl/BuiltinShaders.h"
#include "render/gl/Font.h"
#include "render/gl/GlProgram.h"
#include "render/gl/SpriteBatch.h"

namespace {

const char* const MonoFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
constexpr int MonoCellSize = 30;
const char* const SansFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int SansSize = 26;

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

// Every program this back end is handed is one it built.
const GlProgram& Built(const DeviceProgram& program)
{
    return static_cast<const GlProgram&>(program);
}

}  // namespace

std::unique_ptr<GlBackEnd> GlBackEnd::Create(Window& window, int width, int height, std::string& error,
                                             bool& contextFailed)
{
    contextFailed = false;
    if (!window.CreateContext(error) || epoxy_gl_version() < 33) {
        if (error.empty())
            error = "OpenGL 3.3 is not available";
        contextFailed = true;
        return nullptr;
    }
    std::unique_ptr<GlBackEnd> backEnd(new GlBackEnd(window, width, height));
    if (!backEnd->Build(error))
        return nullptr;
    return backEnd;
}

GlBackEnd::GlBackEnd(Window& target, int backBufferWidth, int backBufferHeight)
    : window(target), width(backBufferWidth), height(backBufferHeight)
{
}

bool GlBackEnd::Build(std::string& error)
{
    glGenRenderbuffers(1, &sharedDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, sharedDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glGenRenderbuffers(1, &offScreenColour);
    glBindRenderbuffer(GL_RENDERBUFFER, offScreenColour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
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

    std::string log;
    fixedProgram = GlProgram::Build(BuiltinShaders::FixedVertex, BuiltinShaders::FixedFragment, log);
    spriteProgram = GlProgram::Build(BuiltinShaders::SpriteVertex, BuiltinShaders::SpriteFragment, log);
    if (!fixedProgram || !spriteProgram) {
        error = "the built-in shaders do not compile: " + log;
        return false;
    }
    sprites = std::make_unique<SpriteBatch>();
    monoFont = Font::Create(MonoFontFile, MonoCellSize, false);
    sansFont = Font::Create(SansFontFile, SansSize, true);

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
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(SpriteCorner), reinterpret_cast<void*>(0));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(SpriteCorner),
                          reinterpret_cast<void*>(offsetof(SpriteCorner, u)));

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
    return true;
}

GlBackEnd::~GlBackEnd()
{
    fixedProgram.reset();
    spriteProgram.reset();
    sprites.reset();
    monoFont.reset();
    sansFont.reset();
    Delete(targetCopy);
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
}

TextureStorage GlBackEnd::MakeImage(int imageWidth, int imageHeight, const std::uint8_t* rgba)
{
    TextureStorage storage;
    glGenTextures(1, &storage.handle);
    glBindTexture(GL_TEXTURE_2D, storage.handle);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // The top row goes first, so texture coordinate v = 0 is the image's top.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, imageWidth, imageHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    return storage;
}

std::optional<TextureStorage> GlBackEnd::MakeTarget(int targetWidth, int targetHeight, bool halfFloat)
{
    TextureStorage storage;
    glGenTextures(1, &storage.handle);
    glBindTexture(GL_TEXTURE_2D, storage.handle);
    glTexImage2D(GL_TEXTURE_2D, 0, halfFloat ? GL_RGBA16F : GL_RGBA8, targetWidth, targetHeight, 0, GL_RGBA,
                 halfFloat ? GL_HALF_FLOAT : GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glGenFramebuffers(1, &storage.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, storage.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, storage.handle, 0);
    // Every full-size target shares the one depth buffer, as a frame's
    // passes expect to depth-test against what earlier passes drew.
    if (targetWidth == width && targetHeight == height)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, sharedDepth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Delete(storage);
        return std::nullopt;
    }
    return storage;
}

void GlBackEnd::Delete(TextureStorage& storage)
{
    if (storage.framebuffer)
        glDeleteFramebuffers(1, &storage.framebuffer);
    glDeleteTextures(1, &storage.handle);
    storage = TextureStorage{};
}

MeshBuffers GlBackEnd::MakeMesh(const std::vector<XModel::Vertex>& vertices, const std::vector<std::uint32_t>& indices)
{
    MeshBuffers mesh;
    glGenVertexArrays(1, &mesh.vertexArray);
    glBindVertexArray(mesh.vertexArray);
    glGenBuffers(1, &mesh.vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(XModel::Vertex)), vertices.data(),
                 GL_STATIC_DRAW);
    glGenBuffers(1, &mesh.indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint32_t)),
                 indices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(XModel::Vertex),
                          reinterpret_cast<void*>(offsetof(XModel::Vertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(XModel::Vertex),
                          reinterpret_cast<void*>(offsetof(XModel::Vertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(XModel::Vertex),
                          reinterpret_cast<void*>(offsetof(XModel::Vertex, uv)));
    glBindVertexArray(0);
    return mesh;
}

void GlBackEnd::Delete(MeshBuffers& mesh)
{
    glDeleteVertexArrays(1, &mesh.vertexArray);
    glDeleteBuffers(1, &mesh.vertexBuffer);
    glDeleteBuffers(1, &mesh.indexBuffer);
    mesh = MeshBuffers{};
}

std::unique_ptr<DeviceProgram> GlBackEnd::BuildProgram(const std::string& vertex, const std::string& fragment,
                                                       std::string& errors, const std::string& defines)
{
    return GlProgram::Build(vertex, fragment, errors, defines);
}

void GlBackEnd::ResetStates()
{
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LEQUAL);
}

void GlBackEnd::SetBlend(const BlendState& blend)
{
    glBlendEquation(GlOperation(blend.operation));
    glBlendFunc(GlFactor(blend.source), GlFactor(blend.destination));
}

void GlBackEnd::SetBlending(bool enabled)
{
    if (enabled)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
}

void GlBackEnd::SetDepth(bool test, bool write)
{
    if (test)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthMask(write ? GL_TRUE : GL_FALSE);
}

void GlBackEnd::SetColourWrites(bool enabled)
{
    const GLboolean on = enabled ? GL_TRUE : GL_FALSE;
    glColorMask(on, on, on, on);
}

void GlBackEnd::SetCulling(bool backFaces)
{
    if (backFaces)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
}

void GlBackEnd::ChooseBackBuffer(Surface& backBuffer, bool offScreen)
{
    int drawableWidth = 0;
    int drawableHeight = 0;
    window.DrawableSize(drawableWidth, drawableHeight);
    // Off-screen the back buffer costs a copy at Present; standing in for the
    // float scene target it saves more, as the world is drawn at 8 bits once
    // instead of at 16 and then copied.
    const bool own = drawableWidth == width && drawableHeight == height && !offScreen;
    backBuffer.framebuffer = own ? 0 : offScreenFramebuffer;
    // Off-screen it is stored top row first like every target, so that any of
    // them can stand in for it and rasterise alike; the window's is bottom-up.
    backBuffer.topRowFirst = !own;
}

void GlBackEnd::BindTarget(const Surface& target)
{
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, target.width, target.height);
    // Front faces wind clockwise as seen; a target stored top row first shows
    // GL every picture mirrored, and so every winding reversed.
    glFrontFace(target.topRowFirst ? GL_CCW : GL_CW);
}

void GlBackEnd::Clear(const Surface& target, const std::optional<Color>& colour, std::optional<float> depth)
{
    GLbitfield mask = 0;
    if (colour) {
        glClearColor(colour->r, colour->g, colour->b, colour->a);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (depth) {
        glClearDepth(*depth);
        glClearStencil(0);
        // Clearing obeys the depth mask; a clear must reach the buffer whatever the state.
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
    // With the window's own back buffer, the depth buffer the full-size targets
    // share is a second buffer; clearing "the" depth buffer clears both.
    if (depth && target.framebuffer == 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, depthOnlyFramebuffer);
        glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        BindTarget(target);
    }
}

void GlBackEnd::ClearArea(const Surface& target, const ScreenRect& area, const Color& colour)
{
    SetScissor(target, area);
    glClearColor(colour.r, colour.g, colour.b, colour.a);
    glClear(GL_COLOR_BUFFER_BIT);
    SetScissor(target, std::nullopt);
}

void GlBackEnd::SetScissor(const Surface& target, const std::optional<ScreenRect>& area)
{
    if (!area) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glEnable(GL_SCISSOR_TEST);
    // GL counts rows from the bottom of what it stores.
    const int row = target.topRowFirst ? area->y : target.height - area->Bottom();
    glScissor(area->x, row, area->width, area->height);
}

void GlBackEnd::Copy(const Surface& from, const Surface& to)
{
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to.framebuffer);
    // Rows run the other way in the window's own framebuffer.
    const bool flip = from.topRowFirst != to.topRowFirst;
    glBlitFramebuffer(0, 0, to.width, to.height, 0, flip ? to.height : 0, to.width, flip ? 0 : to.height,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    BindTarget(to);
}

void GlBackEnd::Present(const Surface& backBuffer, std::vector<std::uint8_t>* pixels, WindowPicture* shown)
{
    if (pixels) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer.framebuffer);
        ReadFramebuffer(width, height, backBuffer.topRowFirst, *pixels);
    }
    if (backBuffer.framebuffer) {
        int displayWidth = 0;
        int displayHeight = 0;
        window.DrawableSize(displayWidth, displayHeight);
        // The largest rectangle of the back buffer's shape that fits, centred; the bars stay black.
        const int shownWidth = std::min(displayWidth, displayHeight * width / height);
        const int shownHeight = shownWidth * height / width;
        const int x = (displayWidth - shownWidth) / 2;
        const int y = (displayHeight - shownHeight) / 2;
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        if (shownWidth != displayWidth || shownHeight != displayHeight) {
            glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        glBindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer.framebuffer);
        // Top row first in the back buffer, last in the window; at its own size a plain copy.
        const bool scaled = shownWidth != width || shownHeight != height;
        glBlitFramebuffer(0, height, width, 0, x, y, x + shownWidth, y + shownHeight, GL_COLOR_BUFFER_BIT,
                          scaled ? GL_LINEAR : GL_NEAREST);
    }
    if (shown) {
        window.DrawableSize(shown->width, shown->height);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        ReadFramebuffer(shown->width, shown->height, false, shown->pixels);
    }
    window.SwapBuffers();
}

void GlBackEnd::Finish()
{
    glFinish();
}

void GlBackEnd::UseProgram(const DeviceProgram& program)
{
    glUseProgram(Built(program).Id());
}

void GlBackEnd::SetTargetOf(const DeviceProgram& program, const Surface& target)
{
    Built(program).SetTarget(target);
}

void GlBackEnd::Upload(const DeviceProgram& program, const EffectParameters& parameters, const Surface& target,
                       const std::function<bool(const Texture&)>& drawnInto)
{
    int unit = 0;
    for (const auto& [name, value] : parameters) {
        const int location = Built(program).Uniform(name);
        if (location < 0)
            continue;
        if (const auto* texture = std::get_if<const Texture*>(&value)) {
            const Texture* sampled = *texture;
            // GL cannot sample the texture it draws into; a pass that reads its
            // own target reads a copy of it taken now.
            const unsigned handle = !sampled ? 0 : drawnInto(*sampled) ? CopyOf(*sampled, target) : sampled->Handle();
            BindTexture(unit, handle, sampled && sampled->GetSurface());
            glUniform1i(location, unit);
            ++unit;
        } else if (const auto* number = std::get_if<int>(&value)) {
            glUniform1i(location, *number);
        } else if (const auto* scalar = std::get_if<float>(&value)) {
            glUniform1f(location, *scalar);
        } else if (const auto* pair = std::get_if<glm::vec2>(&value)) {
            glUniform2fv(location, 1, &pair->x);
        } else if (const auto* triple = std::get_if<glm::vec3>(&value)) {
            glUniform3fv(location, 1, &triple->x);
        } else if (const auto* quad = std::get_if<glm::vec4>(&value)) {
            glUniform4fv(location, 1, &quad->x);
        } else if (const auto* matrix = std::get_if<Matrix>(&value)) {
            // Row-vector matrices are column-vector matrices in GLSL's layout.
            glUniformMatrix4fv(location, 1, GL_FALSE, matrix->Data());
        }
    }
}

void GlBackEnd::BindTexture(int unit, unsigned handle, bool target)
{
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, handle);
    // Render targets are sampled for screen passes, where wrapping would bleed
    // one edge into the other; images wrap as models expect.
    glBindSampler(unit, target ? clampSampler : wrapSampler);
}

unsigned GlBackEnd::CopyOf(const Texture& texture, const Surface& target)
{
    const int copyWidth = static_cast<int>(texture.imageInfo.width);
    const int copyHeight = static_cast<int>(texture.imageInfo.height);
    const bool half = texture.imageInfo.format == TextureFormat::A16B16G16R16F;
    if (!targetCopy.handle || targetCopyWidth != copyWidth || targetCopyHeight != copyHeight || targetCopyHalf != half) {
        Delete(targetCopy);
        targetCopy = MakeTarget(copyWidth, copyHeight, half).value_or(TextureStorage{});
        targetCopyWidth = copyWidth;
        targetCopyHeight = copyHeight;
        targetCopyHalf = half;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, targetCopy.framebuffer);
    glBlitFramebuffer(0, 0, copyWidth, copyHeight, 0, 0, copyWidth, copyHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    BindTarget(target);
    return targetCopy.handle;
}

void GlBackEnd::DrawMesh(const MeshBuffers& mesh, unsigned firstIndex, unsigned indexCount)
{
    glBindVertexArray(mesh.vertexArray);
    // Models carry no vertex colour; a disabled attribute reads this constant.
    glVertexAttrib4f(3, 1.0f, 1.0f, 1.0f, 1.0f);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT,
                   reinterpret_cast<void*>(static_cast<std::uintptr_t>(firstIndex) * sizeof(unsigned)));
    glBindVertexArray(0);
}

void GlBackEnd::DrawQuad(const SpriteQuad& corners, const Surface& target, const std::optional<ScreenRect>& scissor)
{
    glBindVertexArray(quadArray);
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners.data(), GL_STREAM_DRAW);
    SetScissor(target, scissor);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    SetScissor(target, std::nullopt);
    glBindVertexArray(0);
}

void GlBackEnd::UseFixedFunction(const FixedFunctionState& state, const Surface& target)
{
    const GlProgram& program = *fixedProgram;
    glUseProgram(program.Id());
    program.SetTarget(target);
    glUniformMatrix4fv(program.Uniform("ff_World"), 1, GL_FALSE, state.world.Data());
    glUniformMatrix4fv(program.Uniform("ff_View"), 1, GL_FALSE, state.view.Data());
    glUniformMatrix4fv(program.Uniform("ff_Projection"), 1, GL_FALSE, state.projection.Data());
    glUniformMatrix4fv(program.Uniform("ff_TextureMatrix"), 1, GL_FALSE, state.textureMatrix.Data());
    glUniform1i(program.Uniform("ff_TextureTransform"), state.textureTransform);
    glUniform1i(program.Uniform("ff_Lighting"), state.lighting);
    glUniform1i(program.Uniform("ff_VertexColor"), state.vertexColour);
    glUniform4fv(program.Uniform("ff_MaterialDiffuse"), 1, &state.material.diffuse.x);
    glUniform4fv(program.Uniform("ff_MaterialEmissive"), 1, &state.material.emissive.x);
    glUniform3fv(program.Uniform("ff_LightDirection"), 1, &state.light.direction.x);
    glUniform4fv(program.Uniform("ff_LightDiffuse"), 1, &state.light.diffuse.x);
    glUniform1i(program.Uniform("ff_Texture"), 0);
    glActiveTexture(GL_TEXTURE0);
    // A missing texture reads as white, as an empty texture stage does.
    const Texture* texture = state.texture;
    glBindTexture(GL_TEXTURE_2D, texture && texture->Handle() ? texture->Handle() : whiteTexture);
    glBindSampler(0, wrapSampler);
}

void GlBackEnd::DrawFan(const ColorVertex* vertices, int count)
{
    glBindVertexArray(fanArray);
    glBindBuffer(GL_ARRAY_BUFFER, fanBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(ColorVertex)), vertices, GL_STREAM_DRAW);
    glVertexAttrib3f(1, 0.0f, 0.0f, 0.0f);
    glDrawArrays(GL_TRIANGLE_FAN, 0, count);
    glBindVertexArray(0);
}

void GlBackEnd::AddSprite(unsigned texture, const SpriteQuad& corners, std::uint32_t argb)
{
    sprites->Add(texture, corners, argb);
}

void GlBackEnd::AddText(const std::string& text, int x, int y, std::uint32_t argb, TextFace face)
{
    const Font* font = (face == TextFace::Sans ? sansFont : monoFont).get();
    if (!font)
        return;
    for (const SpriteQuad& quad : font->Layout(text, static_cast<float>(x), static_cast<float>(y)))
        sprites->Add(font->Texture(), quad, argb);
}

bool GlBackEnd::DrawSprites(const Surface& target)
{
    if (sprites->Empty())
        return false;
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glUseProgram(spriteProgram->Id());
    spriteProgram->SetTarget(target);
    glUniform1i(spriteProgram->Uniform("sprite_Texture"), 0);
    glBindSampler(0, clampSampler);
    sprites->Flush();
    return true;
}
