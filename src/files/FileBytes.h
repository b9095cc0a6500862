#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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
