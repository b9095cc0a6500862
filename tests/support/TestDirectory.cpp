#include "support/TestDirectory.h"

#include <fstream>
#include <random>

TestDirectory::TestDirectory()
{
    std::random_device seed;
    path = std::filesystem::temp_directory_path() / ("orb-test-" + std::to_string(seed()));
    std::filesystem::create_directories(path);
    std::filesystem::copy(std::filesystem::path(ORB_SOURCE_DIR) / "data" / "Shader", path / "Shader",
                          std::filesystem::copy_options::recursive);
    previous = std::filesystem::current_path();
    std::filesystem::current_path(path);
}

TestDirectory::~TestDirectory()
{
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void TestDirectory::Write(const std::string& relativePath, const std::string& text) const
{
    const std::filesystem::path file = path / relativePath;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}
