#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The whole content of a file, for readers that check every byte themselves.
// A file that cannot be opened or read, or that is larger than limit, gives
// nothing and a one-line reason.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t limit, std::string& error);
