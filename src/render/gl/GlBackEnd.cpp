#include "render/gl/GlBackEnd.h"

#include <cstddef>

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
const char* const HeadingFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr int HeadingSize = 36;

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

GlBackEnd::GlBackEnd(Window& window, int width, int height) : targets(window, width, height) {}

bool GlBackEnd::Build(std::string& error)
{
    if (!targets.Build(error))
        return false;
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
    headingFont.reset();
    glDeleteTextures(1, &whiteTexture);
    glDeleteSamplers(1, &wrapSampler);
    glDeleteSamplers(1, &clampSampler);
    glDeleteVertexArrays(1, &quadArray);
    glDeleteBuffers(1, &quadBuffer);
    glDeleteVertexArrays(1, &fanArray);
    glDeleteBuffers(1, &fanBuffer);
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

std::optional<TextureStorage> GlBackEnd::MakeTarget(int width, int height, bool halfFloat)
{
    return targets.MakeTarget(width, height, halfFloat);
}

void GlBackEnd::Delete(TextureStorage& storage)
{
    GlTargets::Delete(storage);
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
    blending = true;
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LEQUAL);
}

void GlBackEnd::SetBlend(const BlendState& state)
{
    blend = state;
    glBlendEquation(GlOperation(blend.operation));
}

void GlBackEnd::SetBlending(bool enabled)
{
    blending = enabled;
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
    targets.ChooseBackBuffer(backBuffer, offScreen);
}

void GlBackEnd::BindTarget(const Surface& target)
{
    targets.Bind(target);
}

void GlBackEnd::Clear(const Surface& target, const std::optional<Color>& colour, std::optional<float> depth)
{
    targets.Clear(target, colour, depth);
}

void GlBackEnd::ClearArea(const Surface& target, const ScreenRect& area, const Color& colour)
{
    targets.ClearArea(target, area, colour);
}

void GlBackEnd::Copy(const Surface& from, const Surface& to)
{
    targets.Copy(from, to);
}

void GlBackEnd::Present(const Surface& backBuffer, std::vector<std::uint8_t>* pixels, WindowPicture* shown)
{
    targets.Present(backBuffer, pixels, shown);
}

void GlBackEnd::Finish()
{
    glFinish();
}

void GlBackEnd::UseProgram(const DeviceProgram& program)
{
    current = &Built(program);
    glUseProgram(current->Id());
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
    return targets.CopyOf(target, static_cast<int>(texture.imageInfo.width),
                          static_cast<int>(texture.imageInfo.height),
                          texture.imageInfo.format == TextureFormat::A16B16G16R16F);
}

void GlBackEnd::ApplyBlend()
{
    // An 8-bit target clamps a colour to 1 before blending scales it by its
    // alpha, so something see-through lit above 1 would blend in darker than in
    // a float target. Scaled in the shader first, it blends the same in both.
    // The alpha itself blends as set.
    const bool scaled = blend.operation != BlendOperation::Min && blend.operation != BlendOperation::Max;
    const bool premultiply =
        blending && scaled && blend.source == BlendFactor::SourceAlpha && current->CanPremultiply();
    const GLenum source = GlFactor(blend.source);
    const GLenum destination = GlFactor(blend.destination);
    glBlendFuncSeparate(premultiply ? GL_ONE : source, destination, source, destination);
    current->SetPremultiplied(premultiply);
}

void GlBackEnd::DrawMesh(const MeshBuffers& mesh, unsigned firstIndex, unsigned indexCount)
{
    ApplyBlend();
    glBindVertexArray(mesh.vertexArray);
    // Models carry no vertex colour; a disabled attribute reads this constant.
    glVertexAttrib4f(3, 1.0f, 1.0f, 1.0f, 1.0f);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT,
                   reinterpret_cast<void*>(static_cast<std::uintptr_t>(firstIndex) * sizeof(unsigned)));
    glBindVertexArray(0);
}

void GlBackEnd::DrawQuad(const SpriteQuad& corners, const Surface& target, const std::optional<ScreenRect>& scissor)
{
    ApplyBlend();
    glBindVertexArray(quadArray);
    glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners.data(), GL_STREAM_DRAW);
    targets.SetScissor(target, scissor);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    targets.SetScissor(target, std::nullopt);
    glBindVertexArray(0);
}

void GlBackEnd::UseFixedFunction(const FixedFunctionState& state, const Surface& target)
{
    const GlProgram& program = *fixedProgram;
    current = &program;
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
    ApplyBlend();
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
    // Only the editor's verdict is set in the heading face: its atlas is made when first needed.
    if (face == TextFace::Heading && !headingFont)
        headingFont = Font::Create(HeadingFontFile, HeadingSize, true);
    const Font* font = (face == TextFace::Sans ? sansFont : face == TextFace::Heading ? headingFont : monoFont).get();
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
    current = spriteProgram.get();
    glUseProgram(spriteProgram->Id());
    spriteProgram->SetTarget(target);
    glUniform1i(spriteProgram->Uniform("sprite_Texture"), 0);
    glBindSampler(0, clampSampler);
    sprites->Flush();
    return true;
}
