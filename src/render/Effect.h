#pragma once

#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "render/EffectSource.h"
#include "render/EffectValue.h"

class DeviceProgram;
class GraphicsDevice;

// An effect file: named techniques of one pass each, and parameters set by name
// that keep their value until set again. A draw goes Begin, BeginPass(0),
// CommitChanges after parameter changes, the draws, EndPass, End; Begin saves
// the depth states a pass changes and End puts them back.
//
// On the null back end the file is parsed but not compiled, so the same calls
// run and are recorded.
class Effect {
public:
    // The parameters that hold the matrices of a model draw.
    static constexpr const char* WorldParameter = "g_W";
    static constexpr const char* ViewParameter = "g_V";
    static constexpr const char* ProjectionParameter = "g_P";

    // Reads the file and compiles it for the device. Null with the reason in
    // errors (the compiler's log for a shader error).
    static std::unique_ptr<Effect> Load(GraphicsDevice& device, const std::string& path, std::string& errors);
    static std::unique_ptr<Effect> FromText(GraphicsDevice& device, const std::string& text, std::string& errors);
    ~Effect();

    // False, and the technique unchanged, for a name the file does not have.
    bool SetTechnique(const std::string& name);
    const std::string& Technique() const { return techniques[current].name; }
    bool HasTechnique(const std::string& name) const;

    void Begin();
    void BeginPass(int pass);
    // Sends the parameters to the pass that is drawing.
    void CommitChanges();
    void EndPass();
    void End();

    void SetMatrix(const std::string& name, const Matrix& value) { parameters[name] = value; }
    void SetVector(const std::string& name, const glm::vec4& value) { parameters[name] = value; }
    void SetFloat(const std::string& name, float value) { parameters[name] = value; }
    void SetInt(const std::string& name, int value) { parameters[name] = value; }
    void SetTexture(const std::string& name, const Texture* value) { parameters[name] = value; }
    // A raw value of 2, 3 or 4 floats, as the scenes hand over light and camera data.
    void SetValue(const std::string& name, const float* values, int count);

    // The value last set, or null.
    const EffectValue* Find(const std::string& name) const;

private:
    struct CompiledTechnique {
        std::string name;
        // The build for any value of the variant parameter, and one per listed value.
        std::unique_ptr<DeviceProgram> program;
        std::map<int, std::unique_ptr<DeviceProgram>> variants;
        DepthUse depth = DepthUse::TestAndWrite;
        bool cullBack = false;
    };

    explicit Effect(GraphicsDevice& owner);
    // The build of the current technique for the parameters as they are now.
    const DeviceProgram* CurrentProgram() const;
    void Upload(const DeviceProgram& program) const;

    GraphicsDevice& device;
    std::vector<CompiledTechnique> techniques;
    std::size_t current = 0;
    EffectParameters parameters;
    std::string variantParameter;
    const DeviceProgram* passProgram = nullptr;
    bool savedDepthTest = true;
    bool savedDepthWrite = true;
    bool inPass = false;
};
