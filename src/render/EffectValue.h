#pragma once

#include <map>
#include <string>
#include <variant>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "math/Matrix.h"

class Texture;

// A value an effect parameter holds.
using EffectValue = std::variant<int, float, glm::vec2, glm::vec3, glm::vec4, Matrix, const Texture*>;
// An effect's parameters by name, in name order.
using EffectParameters = std::map<std::string, EffectValue>;
