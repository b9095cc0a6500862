#pragma once

#include <optional>
#include <string>

// Writes a text X file in the other forms other exporters use, so the game's
// reader can be tried on them: binary (numbers as typed lists, separators
// dropped) and MSZIP-compressed. Everything stays byte-for-byte deterministic.
namespace XConvert {

// The binary form of a text X file; nothing when text is not a text X file.
// A number of plain digits goes into an integer list, any other into a float
// list. doubles: 8-byte floats ("0064").
std::optional<std::string> TextToBinary(const std::string& text, bool doubles = false);
// The compressed form ("tzip" or "bzip") of a text or binary X file.
std::optional<std::string> Compress(const std::string& file);

}  // namespace XConvert
