#pragma once

#include <string>

#include "MeshBuilder.h"

// Material presets, so every model reacts to the toon light the same way.
namespace materials {

// A toy-like painted surface: soft sheen.
Material Painted(const std::string& name, Color color, float sheen = 0.25f, float power = 16.0f);
// Lacquered or metal: a tight bright highlight.
Material Glossy(const std::string& name, Color color, float sheen = 0.6f, float power = 48.0f);
// Lights itself: the emissive term carries the colour.
Material Glowing(const std::string& name, Color color, float glow);
// Unlit surfaces that show their texture as it is (boards, skies).
Material Textured(const std::string& name, const std::string& texture);

}  // namespace materials
