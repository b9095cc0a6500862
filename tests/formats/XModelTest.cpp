#include <gtest/gtest.h>

#include <string>

#include <glm/geometric.hpp>

#include "XConvert.h"
#include "formats/XModel.h"
#include "math/Vector3.h"
#include "render/XFiles.h"

namespace {

std::optional<XModel> Parse(const std::string& file, std::string* reason = nullptr)
{
    std::string error;
    std::optional<XModel> model =
        ParseXModel(std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()), error);
    EXPECT_EQ(model.has_value(), error.empty()) << "a failure must say why, and only a failure";
    if (reason)
        *reason = error;
    return model;
}

std::string Reason(const std::string& file)
{
    std::string reason;
    EXPECT_FALSE(Parse(file, &reason)) << file.substr(0, 200);
    return reason;
}

Vector3 Position(const XModel& model, std::uint32_t index)
{
    const float* p = model.vertices[index].position;
    return {p[0], p[1], p[2]};
}

Vector3 Normal(const XModel& model, std::uint32_t index)
{
    const float* n = model.vertices[index].normal;
    return {n[0], n[1], n[2]};
}

// A square and a pentagon, written the way other exporters write them: a
// header object, a template, comments, frames, a named material referenced
// from the material list, and vertex colours the game has no use for.
const char* const Exported = R"(xof 0302txt 0064
// exported by another tool
template Vector { <3D82AB5E-62DA-11cf-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }
Header { 1; 0; 1; }
Material Red { 1.0;0.0;0.0;1.0;; 8.0; 0.5;0.5;0.5;; 0.1;0.2;0.3;;
  TextureFilename { "maps\\red.png"; }
}
Frame Root {
  FrameTransformMatrix { 2,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }
  Frame Child {
    FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,5,0,1;; }
    Mesh Shapes {
      9;
      0;0;0;, 0;1;0;, 1;1;0;, 1;0;0;,
      3;0;0;, 3;1;0;, 4;2;0;, 5;1;0;, 5;0;0;;
      3;
      4;0,1,2,3;,
      5;4,5,6,7,8;,
      2;0,1;;
      # a line, not a face
      MeshVertexColors { 1; 0;1;1;1;1;;; }
      MeshMaterialList { 2; 1; 1;; { Red } Material Blue { 0;0;1;1;; 1; 0;0;0;; 0;0;0;; } }
    }
  }
}
)";

TEST(XModel, FramesPlaceTheirMeshesAndFacesBecomeFans)
{
    const std::optional<XModel> model = Parse(Exported);
    ASSERT_TRUE(model);
    ASSERT_EQ(model->materials.size(), 2u);
    // Fewer material indices than faces: the last one goes on.
    EXPECT_TRUE(model->triangles[0].empty());
    ASSERT_EQ(model->triangles[1].size(), (2u + 3u) * 3u) << "a quad, a pentagon, and no line";
    // x doubled and moved by 10, then up by 5.
    EXPECT_EQ(Position(*model, model->triangles[1][0]), Vector3(10, 5, 0));
    EXPECT_EQ(Position(*model, model->triangles[1][2]), Vector3(12, 6, 0));
    // The fan keeps the file's corner order: 0 1 2, 0 2 3.
    EXPECT_EQ(model->triangles[1][3], model->triangles[1][0]);
    EXPECT_EQ(model->triangles[1][4], model->triangles[1][2]);

    const XModel::ModelMaterial& red = model->materials[0];
    EXPECT_EQ(red.colors.diffuse, Color(1, 0, 0, 1));
    EXPECT_EQ(red.colors.ambient, red.colors.diffuse);
    EXPECT_EQ(red.colors.power, 8.0f);
    EXPECT_EQ(red.colors.specular, Color(0.5f, 0.5f, 0.5f, 1));
    EXPECT_EQ(red.colors.emissive, Color(0.1f, 0.2f, 0.3f, 1));
    EXPECT_EQ(red.texture, "maps\\red.png");
    EXPECT_EQ(model->materials[1].colors.diffuse, Color(0, 0, 1, 1));
}

TEST(XModel, EveryFormOfAFileReadsTheSame)
{
    const std::string text = XFiles::Cube(2, {1, 0.5f, 0.25f, 1, "skin.png", 4});
    const std::optional<XModel> expected = Parse(text);
    ASSERT_TRUE(expected);
    const std::string binary = XConvert::TextToBinary(text).value();
    for (const std::string& form : {binary, XConvert::TextToBinary(text, true).value(), XConvert::Compress(text).value(),
                                    XConvert::Compress(binary).value()}) {
        const std::optional<XModel> model = Parse(form);
        ASSERT_TRUE(model);
        EXPECT_EQ(model->triangles, expected->triangles);
        ASSERT_EQ(model->vertices.size(), expected->vertices.size());
        for (std::uint32_t i = 0; i < model->vertices.size(); ++i) {
            EXPECT_EQ(Position(*model, i), Position(*expected, i));
            EXPECT_EQ(Normal(*model, i), Normal(*expected, i));
        }
        EXPECT_EQ(model->materials[0].texture, "skin.png");
        EXPECT_EQ(model->materials[0].colors.diffuse, Color(1, 0.5f, 0.25f, 1));
    }
}

TEST(XModel, AVertexIsSplitOnlyWhereItsNormalsDiffer)
{
    // A cube's 24 corners with one normal per face stay 24 vertices; the same
    // corners with the normals turned by a non-uniform scale stay unit length.
    const std::string cube = XFiles::Cube(1, {1, 1, 1, 1, "", 1});
    const std::optional<XModel> model = Parse(cube);
    ASSERT_TRUE(model);
    EXPECT_EQ(model->vertices.size(), 24u);
    EXPECT_EQ(model->triangles[0].size(), 36u);

    const std::string framed = "xof 0303txt 0032\nFrame { FrameTransformMatrix { 4,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n" +
                               cube.substr(17) + "}\n";
    const std::optional<XModel> scaled = Parse(framed);
    ASSERT_TRUE(scaled);
    for (std::uint32_t i = 0; i < scaled->vertices.size(); ++i) {
        EXPECT_NEAR(glm::length(Normal(*scaled, i)), 1.0f, 1e-6f);
        EXPECT_EQ(Normal(*scaled, i), Normal(*model, i)) << "a cube's axis normals keep their direction";
    }
    EXPECT_EQ(scaled->vertices[0].position[0], 4 * model->vertices[0].position[0]);
}

TEST(XModel, AMeshWithoutMaterialsNormalsOrCoordinatesIsOnePlainSubset)
{
    const std::optional<XModel> model = Parse("xof 0303txt 0032 Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;; }");
    ASSERT_TRUE(model);
    ASSERT_EQ(model->materials.size(), 1u);
    EXPECT_EQ(model->materials[0].colors.diffuse, Color(1.0f));
    EXPECT_TRUE(model->materials[0].texture.empty());
    EXPECT_EQ(model->triangles[0], (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(Normal(*model, 0), Vector3(0.0f));
}

TEST(XModel, DamagedFilesFailWithAReason)
{
    const std::string mesh = "xof 0303txt 0032 Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;; ";
    EXPECT_EQ(Reason("xof 0303txt"), "not an X file (no \"xof\" header)");
    EXPECT_EQ(Reason("xof 0303abc 0032 Mesh {}"), "unknown X file format \"abc \"");
    EXPECT_EQ(Reason(mesh), "the file ends inside a mesh");
    EXPECT_EQ(Reason("xof 0303txt 0032 Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,3;; }"),
              "faces 0 names index 3 of 3");
    EXPECT_EQ(Reason(mesh + "MeshTextureCoords { 2; 0;0;, 1;1;; } }"),
              "the file has 2 texture coordinates for 3 vertices");
    EXPECT_EQ(Reason(mesh + "MeshNormals { 1; 0;0;1;; 1; 2;0,0;; } }"), "the normals' faces do not match the mesh's faces");
    EXPECT_EQ(Reason(mesh + "MeshMaterialList { 1; 1; 1;; } }"), "a face uses material 1 of 1");
    EXPECT_EQ(Reason(mesh + "MeshMaterialList { 70000; 1; 0;; } }"), "the model has more than 65536 materials");
    EXPECT_EQ(Reason("xof 0303txt 0032 Mesh { 3; 0;0;0;, zero;1;0;, 1;0;0;; }"),
              "a number was expected, the file has \"zero\"");
    EXPECT_EQ(Reason("xof 0303txt 0032 Mesh { 3.5; }"), "a whole number was expected, the file has \"3.5\"");
    EXPECT_EQ(Reason("xof 0303txt 0032 } "), "a '}' closes nothing");
    std::string deep = "xof 0303txt 0032 ";
    for (int i = 0; i < 100; ++i)
        deep += "Frame {";
    EXPECT_EQ(Reason(deep), "frames nest deeper than 64");
}

TEST(XModel, DeclaredCountsAreCheckedAgainstTheFileBeforeAnythingIsAllocated)
{
    // Two billion vertices in a few bytes fail at once, in every form.
    const std::string huge = "xof 0303txt 0032 Mesh { 2000000000; 0;0;0;; 1; 3;0,0,0;; }";
    EXPECT_EQ(Reason(huge), "the file declares 2000000000 vertices but is too short to hold them");
    EXPECT_EQ(Reason(XConvert::TextToBinary(huge).value()),
              "the file declares 2000000000 vertices but is too short to hold them");
    EXPECT_EQ(Reason("xof 0303txt 0032 Mesh { 1; 0;0;0;; 4000000000; }"),
              "the file declares 4000000000 faces but is too short to hold them");
    EXPECT_EQ(Reason("xof 0303txt 0032 Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 900000000;0,1,2;; }"),
              "a face of 900000000 corners is longer than the file");

    // A binary list or name that claims more than is left.
    std::string list = "xof 0303bin 0032";
    list += std::string("\x06\x00\xff\xff\xff\x0f", 6);
    EXPECT_EQ(Reason(list), "a list of 268435455 numbers is longer than the rest of the file");
    std::string name = "xof 0303bin 0032";
    name += std::string("\x01\x00\x00\x00\x00\x40Mesh", 10);
    EXPECT_EQ(Reason(name), "a name or string is longer than the rest of the file");
}

// A material given by reference counts like one given whole: 70,000 "{}"
// references in a list that declares one keep one, and a later list that
// declares four billion is still checked against the limit.
TEST(XModel, EveryMaterialCountsAgainstTheListAndTheLimit)
{
    const std::string mesh = "Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;; ";
    std::string references;
    for (int i = 0; i < 70000; ++i)
        references += "{}";
    const std::string many = "xof 0303txt 0032 " + mesh + "MeshMaterialList { 1; 1; 0;; " + references + " } }";
    const std::optional<XModel> model = Parse(many);
    ASSERT_TRUE(model);
    EXPECT_EQ(model->materials.size(), 1u);
    EXPECT_EQ(Reason(many + mesh + "MeshMaterialList { 4000000000; 1; 0;; } }"), "the model has more than 65536 materials");

    // Meshes without lists take a plain material each; past the limit, the model fails.
    std::string meshes = "xof 0303txt 0032 ";
    for (std::size_t i = 0; i <= MaxXModelMaterials; ++i)
        meshes += "Mesh { 1; 0;0;0;; 0; }";
    EXPECT_EQ(Reason(meshes), "the model has more than 65536 materials");
}

TEST(XModel, DamagedCompressionFailsWithAReason)
{
    const std::string compressed = XConvert::Compress(XFiles::Cube(1, {1, 1, 1, 1, "", 1})).value();
    std::string noSignature = compressed;
    noSignature[24] = 'X';
    EXPECT_EQ(Reason(noSignature), "compressed block 1 has no \"CK\" signature");
    std::string cut = compressed.substr(0, compressed.size() - 10);
    EXPECT_EQ(Reason(cut), "compressed block 1 claims more bytes than the file has");
    std::string garbage = compressed;
    for (std::size_t i = 26; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>(i * 7);
    EXPECT_EQ(Reason(garbage).substr(0, 40), "compressed block 1 does not inflate to i");
    std::string oversized = compressed;
    oversized[20] = '\xff';
    oversized[21] = '\xff';
    EXPECT_EQ(Reason(oversized), "compressed block 1 inflates to more than a model may hold");
}

TEST(XModel, EveryCutOfAFileReadsOrFailsCleanly)
{
    const std::string text = XFiles::Strips({{1, 0, 0, 1, "a.png", 5}, {0, 1, 0, 1, "", 5}});
    const std::string binary = XConvert::TextToBinary(text).value();
    for (const std::string& file : {text, binary, XConvert::Compress(text).value()}) {
        // A cut reads only as an empty model (nothing after the header) or
        // as the whole model (only trailing white space cut off).
        for (std::size_t length = 0; length < file.size(); ++length) {
            const std::optional<XModel> model = Parse(file.substr(0, length));
            if (model) {
                EXPECT_TRUE(model->vertices.empty() || model->vertices.size() == 8u) << length;
            }
        }
    }
}

}  // namespace
