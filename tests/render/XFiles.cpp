#include "XFiles.h"

#include <sstream>

namespace XFiles {

namespace {

void WriteMaterial(std::ostringstream& x, const TestMaterial& m, int index)
{
    x << " Material M" << index << " {\n  " << m.r << ";" << m.g << ";" << m.b << ";" << m.a << ";;\n  " << m.power
      << ";\n  0.3;0.3;0.3;;\n  0.0;0.0;0.0;;\n";
    if (!m.texture.empty())
        x << "  TextureFilename { \"" << m.texture << "\"; }\n";
    x << " }\n";
}

}  // namespace

std::string Cube(float h, const TestMaterial& material)
{
    // Each face has its own four corners so its normal is flat.
    const float faces[6][4][3] = {
        {{-h, -h, -h}, {-h, h, -h}, {h, h, -h}, {h, -h, -h}},  // -z
        {{h, -h, h}, {h, h, h}, {-h, h, h}, {-h, -h, h}},      // +z
        {{-h, -h, h}, {-h, h, h}, {-h, h, -h}, {-h, -h, -h}},  // -x
        {{h, -h, -h}, {h, h, -h}, {h, h, h}, {h, -h, h}},      // +x
        {{-h, h, -h}, {-h, h, h}, {h, h, h}, {h, h, -h}},      // +y
        {{-h, -h, h}, {-h, -h, -h}, {h, -h, -h}, {h, -h, h}},  // -y
    };
    const float normals[6][3] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    std::ostringstream x;
    x << "xof 0303txt 0032\nMesh Cube {\n 24;\n";
    for (int f = 0; f < 6; ++f) {
        for (int v = 0; v < 4; ++v)
            x << " " << faces[f][v][0] << ";" << faces[f][v][1] << ";" << faces[f][v][2] << ";"
              << (f == 5 && v == 3 ? ";\n" : ",\n");
    }
    x << " 12;\n";
    for (int f = 0; f < 6; ++f) {
        const int b = f * 4;
        x << " 3;" << b << "," << b + 1 << "," << b + 2 << ";,\n";
        x << " 3;" << b << "," << b + 2 << "," << b + 3 << ";" << (f == 5 ? ";\n" : ",\n");
    }
    x << " MeshNormals {\n  6;\n";
    for (int f = 0; f < 6; ++f)
        x << "  " << normals[f][0] << ";" << normals[f][1] << ";" << normals[f][2] << ";" << (f == 5 ? ";\n" : ",\n");
    x << "  12;\n";
    for (int f = 0; f < 6; ++f) {
        x << "  3;" << f << "," << f << "," << f << ";,\n";
        x << "  3;" << f << "," << f << "," << f << ";" << (f == 5 ? ";\n" : ",\n");
    }
    x << " }\n MeshTextureCoords {\n  24;\n";
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    for (int i = 0; i < 24; ++i)
        x << "  " << uv[i % 4][0] << ";" << uv[i % 4][1] << ";" << (i == 23 ? ";\n" : ",\n");
    x << " }\n MeshMaterialList {\n  1;\n  12;\n";
    for (int i = 0; i < 12; ++i)
        x << "  0" << (i == 11 ? ";;\n" : ",\n");
    WriteMaterial(x, material, 0);
    x << " }\n}\n";
    return x.str();
}

std::string Strips(const std::vector<TestMaterial>& materials)
{
    const int n = static_cast<int>(materials.size());
    std::ostringstream x;
    x << "xof 0303txt 0032\nMesh Strips {\n " << n * 4 << ";\n";
    for (int i = 0; i < n; ++i) {
        const float left = -0.5f + static_cast<float>(i) / n;
        const float right = -0.5f + static_cast<float>(i + 1) / n;
        x << " " << left << ";-0.5;0;,\n " << left << ";0.5;0;,\n " << right << ";0.5;0;,\n " << right << ";-0.5;0;"
          << (i == n - 1 ? ";\n" : ",\n");
    }
    x << " " << n * 2 << ";\n";
    for (int i = 0; i < n; ++i) {
        const int b = i * 4;
        x << " 3;" << b << "," << b + 1 << "," << b + 2 << ";,\n";
        x << " 3;" << b << "," << b + 2 << "," << b + 3 << ";" << (i == n - 1 ? ";\n" : ",\n");
    }
    x << " MeshNormals {\n  1;\n  0;0;-1;;\n  " << n * 2 << ";\n";
    for (int i = 0; i < n * 2; ++i)
        x << "  3;0,0,0;" << (i == n * 2 - 1 ? ";\n" : ",\n");
    x << " }\n MeshMaterialList {\n  " << n << ";\n  " << n * 2 << ";\n";
    for (int i = 0; i < n * 2; ++i)
        x << "  " << i / 2 << (i == n * 2 - 1 ? ";;\n" : ",\n");
    for (int i = 0; i < n; ++i)
        WriteMaterial(x, materials[i], i);
    x << " }\n}\n";
    return x.str();
}

}  // namespace XFiles
