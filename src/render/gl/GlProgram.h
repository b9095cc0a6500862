#pragma once

#include <map>
#include <memory>
#include <string>

#include "render/DeviceProgram.h"

struct Surface;

// A linked GLSL 3.30 program. Every stage gets the same prelude: the version,
// the vertex inputs of the game's two layouts, and the helpers that map the
// game's clip space (depth 0..1, y up) and its top-left screen pixels onto the
// current render target, whichever way up it stores its rows.
class GlProgram final : public DeviceProgram {
public:
    // Compiles and links; null with the compiler's log in errors. defines go
    // right after the prelude, in both stages.
    static std::unique_ptr<GlProgram> Build(const std::string& vertexSource, const std::string& fragmentSource,
                                            std::string& errors, const std::string& defines = "");
    ~GlProgram() override;
    GlProgram(const GlProgram&) = delete;
    GlProgram& operator=(const GlProgram&) = delete;

    unsigned Id() const { return id; }
    // -1 when the program has no such uniform (or the compiler removed it).
    int Uniform(const std::string& name) const;
    // Tells the prelude, while this program is current, the target it draws into.
    void SetTarget(const Surface& target) const;
    // Whether its fragment stage has the one colour output that it can leave
    // multiplied by its alpha.
    bool CanPremultiply() const;
    // Whether, while this program is current, its colour leaves the fragment
    // stage multiplied by its alpha.
    void SetPremultiplied(bool premultiplied) const;

private:
    explicit GlProgram(unsigned programId) : id(programId) {}

    unsigned id;
    int premultiplyLocation = -1;
    mutable std::map<std::string, int> locations;
};
