#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The body of a compressed X file ("tzip" or "bzip"): after the 16-byte
// header a 32-bit size, then blocks of a 16-bit uncompressed size, a 16-bit
// compressed size counting the "CK" that follows, and raw deflate data that
// may refer back to the block before. Gives the uncompressed body, or nothing
// with a reason; never more than limit bytes.
std::optional<std::vector<std::uint8_t>> InflateMsZip(std::span<const std::uint8_t> compressed, std::size_t limit,
                                                      std::string& error);
