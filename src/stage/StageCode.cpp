#include "stage/StageCode.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdint>

namespace StageCode {

namespace {

constexpr std::string_view Prefix = "ORB-";
constexpr std::string_view Digits = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int DigitBits = 5;
constexpr int GroupLength = 5;
constexpr unsigned Version = 1;
constexpr int VersionBits = 3;
constexpr int CountOrder = 4;
constexpr int GapOrder = 2;
constexpr int KindBits = 2;
constexpr int CheckDigits = 4;
constexpr int CheckBits = CheckDigits * DigitBits;
// Longer than any Exp-Golomb code of a number below 2^20.
constexpr int MostLeadingZeros = 20;
constexpr int Cells = StageFile::FieldCells * StageFile::FieldCells * StageFile::FieldCells;

int CellIndex(const BlockRecord& block)
{
    return (block.y * StageFile::FieldCells + block.z) * StageFile::FieldCells + block.x;
}

class BitWriter {
public:
    void Put(unsigned value, int count)
    {
        for (int bit = count - 1; bit >= 0; --bit)
            stream.push_back(((value >> bit) & 1u) != 0);
    }
    // Exp-Golomb of the given order: small numbers in few bits, any number in some.
    void PutNumber(unsigned value, int order)
    {
        const unsigned shifted = value + (1u << order);
        const int width = std::bit_width(shifted);
        Put(0, width - 1 - order);
        Put(shifted, width);
    }
    std::string Digits() const
    {
        std::string text;
        for (std::size_t at = 0; at < stream.size(); at += DigitBits) {
            unsigned digit = 0;
            for (std::size_t i = at; i < at + DigitBits; ++i)
                digit = (digit << 1) | (i < stream.size() && stream[i] ? 1u : 0u);
            text += StageCode::Digits[digit];
        }
        return text;
    }

private:
    std::vector<bool> stream;
};

class BitReader {
public:
    explicit BitReader(std::string_view text) : digits(text) {}

    bool Get(int count, unsigned& value)
    {
        value = 0;
        for (int i = 0; i < count; ++i) {
            if (position >= digits.size() * DigitBits)
                return false;
            const unsigned digit = static_cast<unsigned>(StageCode::Digits.find(digits[position / DigitBits]));
            value = (value << 1) | ((digit >> (DigitBits - 1 - position % DigitBits)) & 1u);
            ++position;
        }
        return true;
    }
    bool GetNumber(int order, unsigned& value)
    {
        int zeros = 0;
        unsigned bit = 0;
        while (Get(1, bit) && bit == 0) {
            if (++zeros > MostLeadingZeros)
                return false;
        }
        if (bit != 1)
            return false;
        unsigned rest = 0;
        if (!Get(zeros + order, rest))
            return false;
        value = ((1u << (zeros + order)) | rest) - (1u << order);
        return true;
    }
    // Only the zero bits that fill the last digit are left.
    bool OnlyPaddingLeft()
    {
        const std::size_t left = digits.size() * DigitBits - position;
        unsigned rest = 0;
        return left < DigitBits && Get(static_cast<int>(left), rest) && rest == 0;
    }

private:
    std::string_view digits;
    std::size_t position = 0;
};

// FNV-1a over the digits, folded to the check's bits.
unsigned Checksum(std::string_view digits)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : digits) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return (hash ^ (hash >> CheckBits)) & ((1u << CheckBits) - 1u);
}

std::string Grouped(const std::string& digits)
{
    std::string code(Prefix);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && i % GroupLength == 0)
            code += '-';
        code += digits[i];
    }
    return code;
}

// The digits of a code in canonical form, or nothing when a character is not one.
std::optional<std::string> Canonical(std::string_view code)
{
    std::string digits;
    for (const char raw : code) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
        // A code wrapped over lines, or pasted with its line break, reads the same.
        if (c == '-' || c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        // Read as Crockford's base 32 reads them: easily confused letters are digits.
        const char digit = c == 'O' ? '0' : (c == 'I' || c == 'L') ? '1' : c;
        if (Digits.find(digit) == std::string_view::npos)
            return std::nullopt;
        digits += digit;
    }
    return digits;
}

}  // namespace

bool LooksLikeCode(std::string_view text)
{
    return text.size() >= Prefix.size() && std::equal(Prefix.begin(), Prefix.end(), text.begin(), [](char a, char b) {
               return a == std::toupper(static_cast<unsigned char>(b));
           });
}

std::optional<std::string> Encode(const std::vector<BlockRecord>& blocks, std::string& error)
{
    std::vector<BlockRecord> sorted = blocks;
    for (const BlockRecord& block : sorted) {
        if (block.launched != 0 || block.state != 0) {
            error = "a block in flight has no code";
            return std::nullopt;
        }
        if (block.x < 0 || block.y < 0 || block.z < 0 || block.x >= StageFile::FieldCells ||
            block.y >= StageFile::FieldCells || block.z >= StageFile::FieldCells) {
            error = "a block outside the field has no code";
            return std::nullopt;
        }
        if (block.kind < StageFile::MinKind || block.kind > StageFile::MaxKind) {
            error = "kind " + std::to_string(block.kind) + " is not one of 1 to 3";
            return std::nullopt;
        }
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const BlockRecord& a, const BlockRecord& b) { return CellIndex(a) < CellIndex(b); });
    BitWriter bits;
    bits.Put(Version, VersionBits);
    bits.PutNumber(static_cast<unsigned>(sorted.size()), CountOrder);
    int next = 0;
    for (const BlockRecord& block : sorted) {
        const int cell = CellIndex(block);
        if (cell < next) {
            error = "two blocks share the cell (" + std::to_string(block.x) + ", " + std::to_string(block.y) + ", " +
                    std::to_string(block.z) + ")";
            return std::nullopt;
        }
        bits.PutNumber(static_cast<unsigned>(cell - next), GapOrder);
        bits.Put(static_cast<unsigned>(block.kind), KindBits);
        next = cell + 1;
    }
    std::string digits = bits.Digits();
    BitWriter check;
    check.Put(Checksum(digits), CheckBits);
    digits += check.Digits();
    return Grouped(digits);
}

std::optional<std::vector<BlockRecord>> Decode(std::string_view code, std::string& error)
{
    const auto fail = [&error](const char* why) {
        error = why;
        return std::nullopt;
    };
    if (!LooksLikeCode(code))
        return fail("not a stage code: a code starts with ORB-");
    const std::optional<std::string> digits = Canonical(code.substr(Prefix.size()));
    if (!digits)
        return fail("not a stage code: it holds a character that is no digit of one");
    if (digits->size() <= CheckDigits)
        return fail("cut short: not even its checksum is whole");
    const std::string_view body = std::string_view(*digits).substr(0, digits->size() - CheckDigits);
    unsigned check = 0;
    BitReader checkBits(std::string_view(*digits).substr(body.size()));
    checkBits.Get(CheckBits, check);
    if (check != Checksum(body))
        return fail("damaged: its checksum does not match (a character mistyped, left out or added?)");

    BitReader bits(body);
    unsigned version = 0;
    unsigned count = 0;
    if (!bits.Get(VersionBits, version) || version != Version)
        return fail("made by another version of the game");
    if (!bits.GetNumber(CountOrder, count) || count > static_cast<unsigned>(Cells))
        return fail("damaged: no field holds that many blocks");
    std::vector<BlockRecord> blocks;
    unsigned next = 0;
    for (unsigned i = 0; i < count; ++i) {
        unsigned gap = 0;
        unsigned kind = 0;
        if (!bits.GetNumber(GapOrder, gap) || !bits.Get(KindBits, kind))
            return fail("damaged: it ends in the middle of a block");
        const unsigned cell = next + gap;
        if (gap >= static_cast<unsigned>(Cells) || cell >= static_cast<unsigned>(Cells))
            return fail("damaged: a block lies outside the field");
        if (kind < static_cast<unsigned>(StageFile::MinKind))
            return fail("damaged: a block of no kind");
        BlockRecord block;
        block.x = static_cast<int>(cell % StageFile::FieldCells);
        block.z = static_cast<int>(cell / StageFile::FieldCells % StageFile::FieldCells);
        block.y = static_cast<int>(cell / (StageFile::FieldCells * StageFile::FieldCells));
        block.kind = static_cast<int>(kind);
        blocks.push_back(block);
        next = cell + 1;
    }
    if (!bits.OnlyPaddingLeft())
        return fail("damaged: more follows its last block");
    return blocks;
}

}  // namespace StageCode
