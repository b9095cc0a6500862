#pragma once

#include <glm/vec4.hpp>

// An RGBA colour, each channel 0..1 (glow colours may exceed 1).
using Color = glm::vec4;

// The colours of one mesh subset, as the model file gives them. The ambient
// colour is always the diffuse colour: the loader copies it over.
struct Material {
    Color diffuse{1.0f};
    Color ambient{1.0f};
    Color specular{0.0f};
    Color emissive{0.0f};
    float power = 0.0f;
};
