#include "formats/XModel.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <unordered_map>

#include "formats/MsZip.h"
#include "formats/XFileFormat.h"
#include "formats/XTokenStream.h"
#include "math/Matrix.h"

namespace {

// Frames nest no deeper than this; deeper files are broken or hostile.
constexpr int MaxFrameDepth = 64;
// What a mesh without a material list is drawn with.
const Color DefaultDiffuse(1.0f);

using Kind = XTokenStream::Kind;

std::string TooManyMaterials()
{
    return "the model has more than " + std::to_string(MaxXModelMaterials) + " materials";
}

// One mesh as the file declares it, before it is placed and merged.
struct MeshData {
    std::vector<Vector3> positions;
    // Per face, its first entry in corners; the face ends where the next begins.
    std::vector<std::uint32_t> faceStarts;
    std::vector<std::uint32_t> corners;
    std::vector<Vector3> normals;
    // Parallel to corners when the mesh has normals.
    std::vector<std::uint32_t> normalCorners;
    std::vector<float> uvs;
    std::vector<XModel::ModelMaterial> materials;
    std::vector<std::uint32_t> faceMaterials;

    std::size_t FaceCount() const { return faceStarts.size(); }
    std::size_t FaceEnd(std::size_t face) const
    {
        return face + 1 < faceStarts.size() ? faceStarts[face + 1] : corners.size();
    }
};

XModel::ModelMaterial DefaultMaterial()
{
    XModel::ModelMaterial material;
    material.colors.diffuse = material.colors.ambient = DefaultDiffuse;
    return material;
}

class ModelReader {
public:
    ModelReader(XTokenStream& tokens, XModel& model) : in(tokens), out(model) {}

    bool ReadFile()
    {
        std::string text;
        for (;;) {
            switch (in.Next(text)) {
            case Kind::End: return !in.Failed();
            case Kind::Name:
                if (!TopLevelObject(text))
                    return false;
                break;
            case Kind::OpenBrace:
                if (!Reference(text))
                    return false;
                break;
            case Kind::CloseBrace: return in.Fail("a '}' closes nothing");
            case Kind::String:
            case Kind::Other: break;
            }
        }
    }

private:
    bool TopLevelObject(const std::string& identifier)
    {
        if (identifier == "Frame")
            return Frame(Matrix::Identity(), 1);
        if (identifier == "Mesh")
            return Mesh(Matrix::Identity());
        if (identifier == "Material") {
            std::string name;
            XModel::ModelMaterial material;
            if (!MaterialObject(material, &name))
                return false;
            namedMaterials[name] = material;
            return true;
        }
        return SkipObject();
    }

    // Reads an object's optional name and its opening brace.
    bool Open(std::string* name = nullptr)
    {
        std::string text;
        Kind kind = in.Next(text);
        if (kind == Kind::Name) {
            if (name)
                *name = text;
            kind = in.Next(text);
        }
        return kind == Kind::OpenBrace || in.Fail("an object has no '{'");
    }

    // After the opening brace: everything up to the matching closing one.
    bool SkipRest()
    {
        std::string text;
        for (int depth = 1; depth > 0;) {
            switch (in.Next(text)) {
            case Kind::OpenBrace: ++depth; break;
            case Kind::CloseBrace: --depth; break;
            case Kind::End: return in.Fail(in.Failed() ? in.Error() : "the file ends inside an object");
            default: break;
            }
        }
        return true;
    }

    bool SkipObject() { return Open() && SkipRest(); }

    // After an object's own data: its child objects up to the closing brace.
    // child reads a named child object; reference gets the name of a "{ Name }".
    template <typename Child, typename OnReference>
    bool Children(const char* what, Child child, OnReference reference)
    {
        std::string text;
        for (;;) {
            switch (in.Next(text)) {
            case Kind::CloseBrace: return true;
            case Kind::End: return in.Fail(in.Failed() ? in.Error() : std::string("the file ends inside a ") + what);
            case Kind::OpenBrace:
                if (!Reference(text))
                    return false;
                reference(text);
                break;
            case Kind::Name:
                if (!child(text))
                    return false;
                break;
            default: break;
            }
        }
    }

    template <typename Child>
    bool Children(const char* what, Child child)
    {
        return Children(what, child, [](const std::string&) {});
    }

    // "{ Name }": a reference to an object declared elsewhere.
    bool Reference(std::string& name)
    {
        name.clear();
        std::string text;
        for (;;) {
            switch (in.Next(text)) {
            case Kind::Name: name = text; break;
            case Kind::CloseBrace: return true;
            case Kind::End: return in.Fail(in.Failed() ? in.Error() : "the file ends inside a reference");
            default: return in.Fail("a reference holds more than a name");
            }
        }
    }

    bool Floats(std::span<float> values)
    {
        for (float& value : values)
            if (!in.Float(value))
                return false;
        return true;
    }

    bool ReadColor(Color& color, int channels)
    {
        float values[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        if (!Floats(std::span(values, channels)))
            return false;
        color = {values[0], values[1], values[2], values[3]};
        return true;
    }

    bool Vectors(std::vector<Vector3>& vectors, const char* what)
    {
        std::uint32_t count = 0;
        if (!in.Integer(count))
            return false;
        if (count > in.MaxNumbersLeft() / 3)
            return in.Fail("the file declares " + std::to_string(count) + " " + what + " but is too short to hold them");
        vectors.resize(count);
        for (Vector3& v : vectors) {
            float values[3];
            if (!Floats(values))
                return false;
            v = {values[0], values[1], values[2]};
        }
        return true;
    }

    // A face list: per face a corner count and that many indices below limit.
    bool Faces(std::vector<std::uint32_t>& starts, std::vector<std::uint32_t>& corners, std::size_t limit,
               const char* what)
    {
        std::uint32_t count = 0;
        if (!in.Integer(count))
            return false;
        if (count > in.MaxNumbersLeft())
            return in.Fail("the file declares " + std::to_string(count) + " " + what + " but is too short to hold them");
        starts.resize(count);
        corners.clear();
        for (std::uint32_t face = 0; face < count; ++face) {
            std::uint32_t size = 0;
            if (!in.Integer(size))
                return false;
            if (size > in.MaxNumbersLeft())
                return in.Fail("a face of " + std::to_string(size) + " corners is longer than the file");
            starts[face] = static_cast<std::uint32_t>(corners.size());
            for (std::uint32_t i = 0; i < size; ++i) {
                std::uint32_t index = 0;
                if (!in.Integer(index))
                    return false;
                if (index >= limit)
                    return in.Fail(std::string(what) + " " + std::to_string(face) + " names index " +
                                   std::to_string(index) + " of " + std::to_string(limit));
                corners.push_back(index);
            }
        }
        return true;
    }

    bool Frame(const Matrix& parent, int depth)
    {
        if (depth > MaxFrameDepth)
            return in.Fail("frames nest deeper than " + std::to_string(MaxFrameDepth));
        if (!Open())
            return false;
        // A frame's matrix comes before what it places.
        Matrix world = parent;
        return Children("frame", [&](const std::string& child) {
            if (child == "FrameTransformMatrix") {
                float values[16];
                if (!Open() || !Floats(values) || !SkipRest())
                    return false;
                Matrix local;
                std::memcpy(&local.g, values, sizeof values);
                world = local * parent;
                return true;
            }
            if (child == "Frame")
                return Frame(world, depth + 1);
            if (child == "Mesh")
                return Mesh(world);
            return SkipObject();
        });
    }

    bool Mesh(const Matrix& world)
    {
        MeshData mesh;
        if (!Open() || !Vectors(mesh.positions, "vertices") ||
            !Faces(mesh.faceStarts, mesh.corners, mesh.positions.size(), "faces"))
            return false;
        const bool read = Children("mesh", [&](const std::string& child) {
            if (child == "MeshNormals")
                return Normals(mesh);
            if (child == "MeshTextureCoords")
                return TextureCoords(mesh);
            if (child == "MeshMaterialList")
                return MaterialList(mesh);
            return SkipObject();
        });
        return read && Merge(mesh, world);
    }

    bool Normals(MeshData& mesh)
    {
        std::vector<std::uint32_t> starts;
        if (!Open() || !Vectors(mesh.normals, "normals") ||
            !Faces(starts, mesh.normalCorners, mesh.normals.size(), "normal faces"))
            return false;
        if (starts != mesh.faceStarts || mesh.normalCorners.size() != mesh.corners.size())
            return in.Fail("the normals' faces do not match the mesh's faces");
        return SkipRest();
    }

    bool TextureCoords(MeshData& mesh)
    {
        std::uint32_t count = 0;
        if (!Open() || !in.Integer(count))
            return false;
        if (count != mesh.positions.size())
            return in.Fail("the file has " + std::to_string(count) + " texture coordinates for " +
                           std::to_string(mesh.positions.size()) + " vertices");
        mesh.uvs.resize(std::size_t{count} * 2);
        return Floats(mesh.uvs) && SkipRest();
    }

    bool MaterialList(MeshData& mesh)
    {
        std::uint32_t declared = 0;
        std::uint32_t indexCount = 0;
        if (!Open() || !in.Integer(declared) || !in.Integer(indexCount))
            return false;
        if (indexCount > in.MaxNumbersLeft())
            return in.Fail("a material list declares more faces than the file can hold");
        if (declared > MaxXModelMaterials - out.materials.size())
            return in.Fail(TooManyMaterials());
        mesh.faceMaterials.resize(indexCount);
        for (std::uint32_t& index : mesh.faceMaterials) {
            if (!in.Integer(index))
                return false;
            if (index >= declared)
                return in.Fail("a face uses material " + std::to_string(index) + " of " + std::to_string(declared));
        }
        mesh.materials.clear();
        const bool read = Children(
            "material list",
            // Only the declared materials are kept, objects and references
            // alike: a list that gives more names none that a face can use.
            [&](const std::string& child) {
                if (child != "Material" || mesh.materials.size() >= declared)
                    return SkipObject();
                mesh.materials.emplace_back();
                return MaterialObject(mesh.materials.back(), nullptr);
            },
            [&](const std::string& reference) {
                if (mesh.materials.size() >= declared)
                    return;
                const auto named = namedMaterials.find(reference);
                mesh.materials.push_back(named != namedMaterials.end() ? named->second : DefaultMaterial());
            });
        // Materials declared but not given are drawn plain.
        if (mesh.materials.size() < declared)
            mesh.materials.resize(declared, DefaultMaterial());
        return read;
    }

    bool MaterialObject(XModel::ModelMaterial& material, std::string* name)
    {
        Material& colors = material.colors;
        if (!Open(name) || !ReadColor(colors.diffuse, 4) || !in.Float(colors.power) || !ReadColor(colors.specular, 3) ||
            !ReadColor(colors.emissive, 3))
            return false;
        colors.ambient = colors.diffuse;
        return Children("material", [&](const std::string& child) {
            if (child != "TextureFilename" && child != "TextureFileName")
                return SkipObject();
            if (!Open() || !in.String(material.texture) || !SkipRest())
                return false;
            // Some exporters double every backslash of a path.
            for (std::size_t at = material.texture.find("\\\\"); at != std::string::npos;
                 at = material.texture.find("\\\\", at + 1))
                material.texture.erase(at, 1);
            return true;
        });
    }

    // Places the mesh by its frame and appends it to the model: one vertex per
    // distinct pair of position and normal, its materials after those before.
    bool Merge(MeshData& mesh, const Matrix& world)
    {
        const std::uint32_t firstMaterial = static_cast<std::uint32_t>(out.materials.size());
        if (mesh.materials.empty())
            mesh.materials.push_back(DefaultMaterial());
        if (mesh.materials.size() > MaxXModelMaterials - out.materials.size())
            return in.Fail(TooManyMaterials());
        for (XModel::ModelMaterial& material : mesh.materials)
            out.materials.push_back(std::move(material));
        out.triangles.resize(out.materials.size());

        Matrix normalMatrix;
        normalMatrix.g = glm::transpose(glm::inverse(world.g));
        const bool hasNormals = !mesh.normalCorners.empty();
        std::unordered_map<std::uint64_t, std::uint32_t> vertexOf;
        auto vertex = [&](std::size_t corner) {
            const std::uint32_t position = mesh.corners[corner];
            const std::uint32_t normal = hasNormals ? mesh.normalCorners[corner] : 0;
            const std::uint64_t key = std::uint64_t{position} << 32 | normal;
            const auto [entry, added] = vertexOf.try_emplace(key, static_cast<std::uint32_t>(out.vertices.size()));
            if (added) {
                XModel::Vertex v{};
                const Vector3 p = Vector3(world.g * glm::vec4(mesh.positions[position], 1.0f));
                std::memcpy(v.position, &p.x, sizeof v.position);
                if (hasNormals) {
                    const Vector3 n = Normalize(TransformNormal(mesh.normals[normal], normalMatrix));
                    std::memcpy(v.normal, &n.x, sizeof v.normal);
                }
                if (!mesh.uvs.empty()) {
                    v.uv[0] = mesh.uvs[std::size_t{position} * 2];
                    v.uv[1] = mesh.uvs[std::size_t{position} * 2 + 1];
                }
                out.vertices.push_back(v);
            }
            return entry->second;
        };

        for (std::size_t face = 0; face < mesh.FaceCount(); ++face) {
            std::uint32_t material = 0;
            if (!mesh.faceMaterials.empty())
                material = mesh.faceMaterials[std::min(face, mesh.faceMaterials.size() - 1)];
            std::vector<std::uint32_t>& triangles = out.triangles[firstMaterial + material];
            const std::size_t first = mesh.faceStarts[face];
            for (std::size_t corner = first + 1; corner + 1 < mesh.FaceEnd(face); ++corner) {
                triangles.push_back(vertex(first));
                triangles.push_back(vertex(corner));
                triangles.push_back(vertex(corner + 1));
            }
        }
        return true;
    }

    XTokenStream& in;
    XModel& out;
    std::map<std::string, XModel::ModelMaterial> namedMaterials;
};

}  // namespace

std::optional<XModel> ParseXModel(std::span<const std::uint8_t> file, std::string& error)
{
    if (file.size() < XFileFormat::HeaderBytes || std::memcmp(file.data(), "xof ", 4) != 0) {
        error = "not an X file (no \"xof\" header)";
        return std::nullopt;
    }
    const std::string format(file.begin() + 8, file.begin() + 12);
    const std::string floatSize(file.begin() + 12, file.begin() + 16);
    const bool binary = format == "bin " || format == "bzip";
    const bool compressed = format == "tzip" || format == "bzip";
    if (!binary && !compressed && format != "txt ") {
        error = "unknown X file format \"" + format + "\"";
        return std::nullopt;
    }
    if (floatSize != "0032" && floatSize != "0064") {
        error = "unknown float size \"" + floatSize + "\"";
        return std::nullopt;
    }
    std::span<const std::uint8_t> body = file.subspan(XFileFormat::HeaderBytes);
    std::optional<std::vector<std::uint8_t>> inflated;
    if (compressed) {
        inflated = InflateMsZip(body, MaxXModelBytes, error);
        if (!inflated)
            return std::nullopt;
        body = *inflated;
    }
    if (body.size() > MaxXModelBytes) {
        error = "the model is larger than " + std::to_string(MaxXModelBytes >> 20) + " MiB";
        return std::nullopt;
    }

    // Every count is checked against the file's size before it allocates, but
    // a model may still be more than the memory there is: that is a bad model
    // too, never the end of the game.
    try {
        XModel model;
        XTokenStream tokens(body, binary, floatSize == "0064");
        if (!ModelReader(tokens, model).ReadFile()) {
            error = tokens.Error();
            return std::nullopt;
        }
        return model;
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read the model";
        return std::nullopt;
    }
}
