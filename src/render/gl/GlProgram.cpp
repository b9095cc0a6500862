#include "render/gl/GlProgram.h"

#include <algorithm>

#include <epoxy/gl.h>

#include "render/Surface.h"

namespace {

const char* const Prelude = R"(#version 330 core
// -1 when the target stores its top row first (texture targets), +1 for the window.
uniform float orb_FlipY;
// Width and height of the current target in pixels.
uniform vec2 orb_TargetSize;

// A position in the game's clip space, where depth runs 0..w, as GL clip space.
vec4 orb_Clip(vec4 p)
{
    return vec4(p.x, p.y * orb_FlipY, 2.0 * p.z - p.w, p.w);
}

// A point in target pixels, (0, 0) at the top-left corner, as GL clip space.
vec4 orb_ScreenClip(vec2 pixel)
{
    vec2 ndc = pixel / orb_TargetSize * 2.0 - 1.0;
    return vec4(ndc.x, -ndc.y * orb_FlipY, 0.0, 1.0);
}
)";

const char* const VertexInputs = R"(
layout(location = 0) in vec4 in_Position;
layout(location = 1) in vec3 in_Normal;
layout(location = 2) in vec2 in_TexCoord;
layout(location = 3) in vec4 in_Color;
)";

unsigned Compile(GLenum stage, const std::string& source, const std::string& defines, std::string& errors)
{
    const std::string full =
        std::string(Prelude) + defines + (stage == GL_VERTEX_SHADER ? VertexInputs : "") + source;
    const char* text = full.c_str();
    const unsigned shader = glCreateShader(stage);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        GLint length = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        std::string log(static_cast<std::size_t>(std::max(length, 1)), '\0');
        glGetShaderInfoLog(shader, length, nullptr, log.data());
        errors += (stage == GL_VERTEX_SHADER ? "vertex stage: " : "fragment stage: ") + log.substr(0, log.find('\0'));
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

std::unique_ptr<GlProgram> GlProgram::Build(const std::string& vertexSource, const std::string& fragmentSource,
                                            std::string& errors, const std::string& defines)
{
    const unsigned vertex = Compile(GL_VERTEX_SHADER, vertexSource, defines, errors);
    const unsigned fragment = Compile(GL_FRAGMENT_SHADER, fragmentSource, defines, errors);
    if (!vertex || !fragment) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return nullptr;
    }
    const unsigned program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        GLint length = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
        std::string log(static_cast<std::size_t>(std::max(length, 1)), '\0');
        glGetProgramInfoLog(program, length, nullptr, log.data());
        errors += "link: " + log.substr(0, log.find('\0'));
        glDeleteProgram(program);
        return nullptr;
    }
    return std::unique_ptr<GlProgram>(new GlProgram(program));
}

GlProgram::~GlProgram()
{
    glDeleteProgram(id);
}

int GlProgram::Uniform(const std::string& name) const
{
    if (auto found = locations.find(name); found != locations.end())
        return found->second;
    const int location = glGetUniformLocation(id, name.c_str());
    locations.emplace(name, location);
    return location;
}

void GlProgram::SetTarget(const Surface& target) const
{
    glUniform1f(Uniform("orb_FlipY"), target.topRowFirst ? -1.0f : 1.0f);
    glUniform2f(Uniform("orb_TargetSize"), static_cast<float>(target.width), static_cast<float>(target.height));
}
