#pragma once

#include <string>
#include <vector>

// The text of one effect file, split into techniques. The format is ours:
//
//   @common            GLSL placed in every stage of every technique
//   @common vertex     ... in every vertex stage only (likewise "fragment")
//   @technique NAME    starts a technique (one pass)
//   @depth off         that technique draws without depth test and write
//   @vertex            the technique's vertex stage follows
//   @fragment          the technique's fragment stage follows
//
// Directives start a line with '@'; everything else belongs to the section
// above it. Stages see a prelude first (see GlProgram).
struct TechniqueSource {
    std::string name;
    std::string vertex;
    std::string fragment;
    bool depthOff = false;
};

struct EffectSource {
    std::string commonBoth;
    std::string commonVertex;
    std::string commonFragment;
    std::vector<TechniqueSource> techniques;
};

// False with the line and reason in error for an unknown directive, text
// outside any section, a technique without both stages or a repeated name.
bool ParseEffectSource(const std::string& text, EffectSource& source, std::string& error);
