#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

class Canvas;
class MeshBuilder;

// Writes generated files under the runtime directory, making folders as
// needed, and keeps count. A failed write is remembered, not thrown.
class ContentWriter {
public:
    explicit ContentWriter(std::filesystem::path root);

    void Write(const std::string& relativePath, std::string_view bytes);
    void Write(const std::string& relativePath, const Canvas& image);
    // The model's file name (without folder and extension) names its mesh.
    void Write(const std::string& relativePath, const MeshBuilder& model);

    int Files() const { return files; }
    std::uintmax_t Bytes() const { return bytes; }
    // The first failure, or empty when every write succeeded.
    const std::string& Error() const { return error; }

private:
    std::filesystem::path root;
    int files = 0;
    std::uintmax_t bytes = 0;
    std::string error;
};

// A model names its textures by file name alone, so they lie beside it: the
// path of file in model's folder.
std::string Beside(const std::string& model, const std::string& file);
