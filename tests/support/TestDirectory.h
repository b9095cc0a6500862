#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary directory, made the working
// directory while it lives, with the game's effect files copied in (the code
// under test reads "Shader/..." relative to where it runs). Removed afterwards.
class TestDirectory {
public:
    TestDirectory();
    ~TestDirectory();
    TestDirectory(const TestDirectory&) = delete;
    TestDirectory& operator=(const TestDirectory&) = delete;

    const std::filesystem::path& Path() const { return path; }
    // Writes text to a file below the folder, making its parent folders.
    void Write(const std::string& relativePath, const std::string& text) const;

private:
    std::filesystem::path path;
    std::filesystem::path previous;
};
