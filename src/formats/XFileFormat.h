#pragma once

#include <cstddef>
#include <cstdint>

// The numbers of the DirectX X file format that both its reader and the tools
// writing it need.
namespace XFileFormat {

// "xof 0303txt 0032": magic, version, form ("txt ", "bin ", "tzip", "bzip"), float size.
constexpr std::size_t HeaderBytes = 16;
// A compressed body comes in MSZIP blocks that inflate to at most this many
// bytes each, every block using the one before as its dictionary.
constexpr std::size_t CompressedBlockBytes = 32768;

// Token codes of the binary form.
enum Token : std::uint16_t {
    Name = 1,
    String = 2,
    Integer = 3,
    Guid = 5,
    IntegerList = 6,
    FloatList = 7,
    OpenBrace = 10,
    CloseBrace = 11,
    OpenParen = 12,
    CloseParen = 13,
    OpenBracket = 14,
    CloseBracket = 15,
    Comma = 19,
    Semicolon = 20,
    Template = 31,
};

}  // namespace XFileFormat
