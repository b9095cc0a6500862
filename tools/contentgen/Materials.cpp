#include "Materials.h"

namespace materials {

Material Painted(const std::string& name, Color color, float sheen, float power)
{
    Material m;
    m.name = name;
    m.diffuse = color;
    m.power = power;
    m.specular = glm::vec3(sheen);
    return m;
}

Material Glossy(const std::string& name, Color color, float sheen, float power)
{
    return Painted(name, color, sheen, power);
}

Material Glowing(const std::string& name, Color color, float glow)
{
    Material m = Painted(name, color, 0.2f, 8.0f);
    m.emissive = Rgb(color) * glow;
    return m;
}

Material Textured(const std::string& name, const std::string& texture)
{
    Material m;
    m.name = name;
    m.diffuse = Color(1.0f);
    m.texture = texture;
    return m;
}

}  // namespace materials
