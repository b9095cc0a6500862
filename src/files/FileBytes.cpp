#include "files/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t limit, std::string& error)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    // Read in pieces rather than trusting the size the file reports: a pipe or
    // a file that grows while it is read must not overrun the limit.
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t Piece = 1 << 16;
    for (;;) {
        const std::size_t start = bytes.size();
        try {
            bytes.resize(start + Piece);
        } catch (const std::bad_alloc&) {
            error = "not enough memory to read it";
            return std::nullopt;
        }
        const std::size_t got = std::fread(bytes.data() + start, 1, Piece, file.get());
        bytes.resize(start + got);
        if (bytes.size() > limit) {
            error = "larger than " + std::to_string(limit) + " bytes";
            return std::nullopt;
        }
        if (got < Piece)
            break;
    }
    if (std::ferror(file.get())) {
        error = "read error";
        return std::nullopt;
    }
    return bytes;
}
