#include "XFileWriter.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace {

// Fixed decimals keep the text the same on every run; -0 is written as 0.
std::string Number(float v)
{
    char buffer[32];
    const float clean = std::abs(v) < 0.0000005f ? 0.0f : v;
    std::snprintf(buffer, sizeof buffer, "%.6f", static_cast<double>(clean));
    return buffer;
}

// Components each closed by ';', as the format writes vectors and colours.
void Components(std::string& out, std::initializer_list<float> values)
{
    for (float v : values) {
        out += Number(v);
        out += ';';
    }
}

void Separator(std::string& out, std::size_t i, std::size_t count)
{
    out += i + 1 < count ? ",\n" : ";\n";
}

}  // namespace

std::string WriteXFile(const MeshBuilder& mesh, const std::string& meshName)
{
    const auto& vertices = mesh.Vertices();
    const auto& faces = mesh.Faces();
    std::string out = "xof 0303txt 0032\n\n";
    out += "Mesh " + meshName + " {\n " + std::to_string(vertices.size()) + ";\n";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const auto& p = vertices[i].position;
        out += ' ';
        Components(out, {p.x, p.y, p.z});
        Separator(out, i, vertices.size());
    }
    auto faceList = [&](const std::string& indent) {
        out += indent + std::to_string(faces.size()) + ";\n";
        for (std::size_t i = 0; i < faces.size(); ++i) {
            const auto& f = faces[i].index;
            out += indent;
            out += "3;";
            out += std::to_string(f[0]);
            out += ',';
            out += std::to_string(f[1]);
            out += ',';
            out += std::to_string(f[2]);
            out += ';';
            Separator(out, i, faces.size());
        }
    };
    faceList(" ");

    out += "\n MeshNormals {\n  " + std::to_string(vertices.size()) + ";\n";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const auto& n = vertices[i].normal;
        out += "  ";
        Components(out, {n.x, n.y, n.z});
        Separator(out, i, vertices.size());
    }
    faceList("  ");
    out += " }\n";

    out += "\n MeshTextureCoords {\n  " + std::to_string(vertices.size()) + ";\n";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const auto& uv = vertices[i].uv;
        out += "  ";
        Components(out, {uv.x, uv.y});
        Separator(out, i, vertices.size());
    }
    out += " }\n";

    const auto& materials = mesh.Materials();
    out += "\n MeshMaterialList {\n  " + std::to_string(materials.size()) + ";\n  " + std::to_string(faces.size()) +
           ";\n";
    for (std::size_t i = 0; i < faces.size(); ++i) {
        out += "  " + std::to_string(faces[i].material);
        Separator(out, i, faces.size());
    }
    for (const Material& m : materials) {
        out += "\n  Material " + m.name + " {\n";
        out += "   ";
        Components(out, {m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a});
        out += ";\n   ";
        Components(out, {m.power});
        out += "\n   ";
        Components(out, {m.specular.r, m.specular.g, m.specular.b});
        out += ";\n   ";
        Components(out, {m.emissive.r, m.emissive.g, m.emissive.b});
        out += ";\n";
        if (!m.texture.empty()) {
            out += "\n   TextureFilename {\n    \"" + m.texture + "\";\n   }\n";
        }
        out += "  }\n";
    }
    out += " }\n}\n";
    return out;
}
