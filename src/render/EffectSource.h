#pragma once

#include <string>
#include <vector>

// The text of one effect file, split into techniques. The format is ours:
//
//   @common            GLSL placed in every stage of every technique
//   @common vertex     ... in every vertex stage only (likewise "fragment")
//   @technique NAME    starts a technique (one pass)
//   @depth off         that technique draws without depth test and write
//   @depth test        that technique is depth-tested but writes no depth, so
//                      it never hides what is drawn after it
//   @cull back         that technique skips faces turned away from the eye
//                      (front faces wind clockwise as seen)
//   @vertex            the technique's vertex stage follows
//   @fragment          the technique's fragment stage follows
//   @variants NAME 0 1 every technique is also built once per listed value of
//                      the int parameter NAME, with NAME defined to that value;
//                      a draw uses the build for the value NAME holds. The
//                      source declares the uniform under #ifndef NAME. A branch
//                      on a parameter that never changes within a draw is then
//                      gone from the program, not just skipped (a software
//                      renderer runs both sides of a branch).
//
// Directives start a line with '@'; everything else belongs to the section
// above it. Stages see a prelude first (see render/gl/GlProgram.h).
// How a technique uses the depth buffer; each pass narrows the device's states, never widens them.
enum class DepthUse { TestAndWrite, TestOnly, Off };

struct TechniqueSource {
    std::string name;
    std::string vertex;
    std::string fragment;
    DepthUse depth = DepthUse::TestAndWrite;
    bool cullBack = false;
};

struct EffectSource {
    std::string variantParameter;
    std::vector<int> variantValues;
    std::string commonBoth;
    std::string commonVertex;
    std::string commonFragment;
    std::vector<TechniqueSource> techniques;
};

// False with the line and reason in error for an unknown directive, text
// outside any section, a technique without both stages or a repeated name.
bool ParseEffectSource(const std::string& text, EffectSource& source, std::string& error);
