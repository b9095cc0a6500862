#include "ContentWriter.h"

#include <fstream>

#include "Canvas.h"
#include "MeshBuilder.h"
#include "XFileWriter.h"

std::string Beside(const std::string& model, const std::string& file)
{
    return std::filesystem::path(model).replace_filename(file).string();
}

ContentWriter::ContentWriter(std::filesystem::path rootPath) : root(std::move(rootPath)) {}

void ContentWriter::Write(const std::string& relativePath, std::string_view content)
{
    const std::filesystem::path path = root / relativePath;
    std::error_code failure;
    std::filesystem::create_directories(path.parent_path(), failure);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (failure || !out) {
        if (error.empty()) {
            error = "cannot write " + path.string();
        }
        return;
    }
    ++files;
    bytes += content.size();
}

void ContentWriter::Write(const std::string& relativePath, const Canvas& image)
{
    const std::vector<unsigned char> png = image.EncodePng();
    Write(relativePath, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
}

void ContentWriter::Write(const std::string& relativePath, const MeshBuilder& model)
{
    Write(relativePath, WriteXFile(model, std::filesystem::path(relativePath).stem().string()));
}
