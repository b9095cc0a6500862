#include "render/gl/GlProgram.h"

#include <algorithm>
#include <regex>

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

// A fragment stage's own main runs first; the colour it leaves in its output
// is then multiplied by its alpha when the back end blends it premultiplied
// (see GlBackEnd::ApplyBlend). Without one vec4 output it is left as written.
std::string PremultiplyingFragment(const std::string& source)
{
    static const std::regex Output(R"(\bout\s+vec4\s+(\w+)\s*;)");
    std::smatch output;
    if (!std::regex_search(source, output, Output))
        return source;
    const std::string colour = output[1];
    return "#define main orb_Main\n" + source + "\n#undef main\nuniform bool orb_Premultiply;\nvoid main()\n{\n" +
           "    orb_Main();\n    if (orb_Premultiply)\n        " + colour + ".rgb *= " + colour + ".a;\n}\n";
}

const char* const VertexInputs = R"(
layout(location = 0) in vec4 in_Position;
layout(location = 1) in vec3 in_Normal;
layout(location = 2) in vec2 in_TexCoord;
layout(location = 3) in vec4 in_Color;
)";

unsigned Compile(GLenum stage, const std::string& source, const std::string& defines, std::string& errors)
{
    const bool vertexStage = stage == GL_VERTEX_SHADER;
    const std::string full = std::string(Prelude) + defines +
                             (vertexStage ? VertexInputs + source : PremultiplyingFragment(source));
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
    auto built = std::unique_ptr<GlProgram>(new GlProgram(program));
    built->premultiplyLocation = built->Uniform("orb_Premultiply");
    return built;
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

bool GlProgram::CanPremultiply() const
{
    return premultiplyLocation >= 0;
}

void GlProgram::SetPremultiplied(bool premultiplied) const
{
    glUniform1i(premultiplyLocation, premultiplied ? 1 : 0);
}

void GlProgram::SetTarget(const Surface& target) const
{
    glUniform1f(Uniform("orb_FlipY"), target.topRowFirst ? -1.0f : 1.0f);
    glUniform2f(Uniform("orb_TargetSize"), static_cast<float>(target.width), static_cast<float>(target.height));
}
