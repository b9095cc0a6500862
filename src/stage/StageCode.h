#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stage/StageFile.h"

// A stage as a short printable code to pass around by hand, such as
// "ORB-2G0KA-8C3QZ-HM1". What it holds, bit by bit, is in docs/stage-code.md:
// the blocks at rest on the 10 × 10 × 10 field in cell order, each kind, and
// a checksum, in Crockford's base 32 (no I, L, O or U), in groups of five.
// The player always starts in cell (0, 0, 0), which a stage file does not
// name either.
namespace StageCode {

// The code of a stage's blocks; nothing, with the reason in error, when one
// is not at rest, is outside the field or shares its cell with another.
std::optional<std::string> Encode(const std::vector<BlockRecord>& blocks, std::string& error);
// The blocks of a code in cell order (y, then z, then x), at rest; nothing,
// with the reason in error, unless the whole code reads and its checksum
// matches. Case, hyphens, spaces, tabs and line breaks do not matter.
std::optional<std::vector<BlockRecord>> Decode(std::string_view code, std::string& error);
// Whether text looks meant as a code (it starts "ORB-"), not as a file name.
bool LooksLikeCode(std::string_view text);

}  // namespace StageCode
