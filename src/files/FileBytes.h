#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The whole content of a file, for every reader of the game's files. Only a
// regular file is read, and opening it never waits: a FIFO or a device under
// a file's name would otherwise hold the game up for good. A file that cannot
// be opened or read, that is no regular file, or that is larger than limit,
// gives nothing and a one-line reason; errno is then ENOENT only when there is
// no file by that name.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t limit, std::string& error);
std::optional<std::string> ReadFileText(const std::string& path, std::size_t limit, std::string& error);

// A regular file held open and read a piece at a time, for what is too large
// to hold whole (the music). It is opened, and refused, as ReadFileBytes
// would read it, its size checked against limit at once.
class FileReader {
public:
    static std::unique_ptr<FileReader> Open(const std::string& path, std::size_t limit, std::string& error);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    std::size_t Size() const { return size; }
    // Fills out with the bytes from offset on; false when the file no longer
    // holds them all (cut short since it was opened) or cannot be read.
    bool Read(std::size_t offset, std::span<std::uint8_t> out) const;

private:
    FileReader(int descriptor, std::size_t size);

    int descriptor;
    std::size_t size;
};
