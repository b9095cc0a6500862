#include "render/Effect.h"

#include "files/FileBytes.h"
#include "render/DeviceProgram.h"
#include "render/EffectSource.h"
#include "render/GraphicsDevice.h"
#include "render/Texture.h"

namespace {

// An effect file is a few pages of shader text.
constexpr std::size_t MaxEffectFileBytes = 1u << 20;

}  // namespace

std::unique_ptr<Effect> Effect::Load(GraphicsDevice& device, const std::string& path, std::string& errors)
{
    std::string reason;
    const std::optional<std::string> text = ReadFileText(path, MaxEffectFileBytes, reason);
    if (!text) {
        errors = path + ": the file cannot be read";
        return nullptr;
    }
    auto effect = FromText(device, *text, errors);
    if (!effect)
        errors = path + ": " + errors;
    return effect;
}

std::unique_ptr<Effect> Effect::FromText(GraphicsDevice& device, const std::string& text, std::string& errors)
{
    EffectSource source;
    if (!ParseEffectSource(text, source, errors))
        return nullptr;
    if (source.techniques.empty()) {
        errors = "no technique";
        return nullptr;
    }
    std::unique_ptr<Effect> effect(new Effect(device));
    effect->variantParameter = source.variantParameter;
    DeviceBackEnd& backEnd = device.BackEnd();
    for (const TechniqueSource& technique : source.techniques) {
        CompiledTechnique compiled;
        compiled.name = technique.name;
        compiled.depth = technique.depth;
        compiled.cullBack = technique.cullBack;
        const std::string vertex = source.commonBoth + source.commonVertex + technique.vertex;
        const std::string fragment = source.commonBoth + source.commonFragment + technique.fragment;
        std::string log;
        compiled.program = backEnd.BuildProgram(vertex, fragment, log, "");
        for (const int value : source.variantValues) {
            const std::string define = "#define " + source.variantParameter + " " + std::to_string(value) + "\n";
            if (auto variant = backEnd.BuildProgram(vertex, fragment, log, define))
                compiled.variants.emplace(value, std::move(variant));
        }
        if (!log.empty()) {
            errors += "technique " + technique.name + ": " + log;
            continue;
        }
        effect->techniques.push_back(std::move(compiled));
    }
    if (!errors.empty())
        return nullptr;
    return effect;
}

Effect::Effect(GraphicsDevice& owner) : device(owner) {}

Effect::~Effect() = default;

bool Effect::SetTechnique(const std::string& name)
{
    for (std::size_t i = 0; i < techniques.size(); ++i) {
        if (techniques[i].name == name) {
            current = i;
            return true;
        }
    }
    return false;
}

bool Effect::HasTechnique(const std::string& name) const
{
    for (const CompiledTechnique& technique : techniques) {
        if (technique.name == name)
            return true;
    }
    return false;
}

void Effect::SetValue(const std::string& name, const float* values, int count)
{
    switch (count) {
    case 2:
        parameters[name] = glm::vec2(values[0], values[1]);
        break;
    case 3:
        parameters[name] = glm::vec3(values[0], values[1], values[2]);
        break;
    case 4:
        parameters[name] = glm::vec4(values[0], values[1], values[2], values[3]);
        break;
    default:
        break;
    }
}

const EffectValue* Effect::Find(const std::string& name) const
{
    auto found = parameters.find(name);
    return found == parameters.end() ? nullptr : &found->second;
}

void Effect::Begin()
{
    savedDepthTest = device.DepthTest();
    savedDepthWrite = device.DepthWrite();
}

const DeviceProgram* Effect::CurrentProgram() const
{
    const CompiledTechnique& technique = techniques[current];
    if (const EffectValue* value = variantParameter.empty() ? nullptr : Find(variantParameter)) {
        if (const int* number = std::get_if<int>(value)) {
            if (auto variant = technique.variants.find(*number); variant != technique.variants.end())
                return variant->second.get();
        }
    }
    return technique.program.get();
}

void Effect::BeginPass(int)
{
    const CompiledTechnique& technique = techniques[current];
    passProgram = CurrentProgram();
    EffectPassState state;
    state.effect = this;
    state.program = passProgram;
    state.technique = technique.name;
    state.depthTest = technique.depth != DepthUse::Off && savedDepthTest;
    state.depthWrite = technique.depth == DepthUse::TestAndWrite && savedDepthWrite;
    state.cullBack = technique.cullBack;
    device.BeginEffectPass(state);
    inPass = true;
    if (passProgram)
        Upload(*passProgram);
}

void Effect::CommitChanges()
{
    if (!inPass)
        return;
    // A changed variant parameter switches the pass to its build.
    if (const DeviceProgram* program = CurrentProgram(); program != passProgram) {
        passProgram = program;
        device.SetPassProgram(program);
    }
    if (passProgram)
        Upload(*passProgram);
}

void Effect::EndPass()
{
    if (!inPass)
        return;
    inPass = false;
    device.EndEffectPass();
}

void Effect::End()
{
    EndPass();
    device.SetDepthTest(savedDepthTest);
    device.SetDepthWrite(savedDepthWrite);
}

void Effect::Upload(const DeviceProgram& program) const
{
    device.SetPassParameters(program, parameters);
}
