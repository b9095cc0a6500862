#include "XConvert.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "formats/XFileFormat.h"

namespace XConvert {

namespace {

using namespace XFileFormat;

class BinaryWriter {
public:
    explicit BinaryWriter(bool wide) : doubles(wide) {}

    void Word(std::uint16_t v) { Bytes(&v, 2); }
    void Dword(std::uint32_t v) { Bytes(&v, 4); }
    void Bytes(const void* data, std::size_t size) { out.append(static_cast<const char*>(data), size); }

    void Text(std::uint16_t token, const std::string& text)
    {
        Flush();
        Word(token);
        Dword(static_cast<std::uint32_t>(text.size()));
        Bytes(text.data(), text.size());
        if (token == String)
            Word(Semicolon);
    }

    void Punctuation(std::uint16_t token)
    {
        Flush();
        Word(token);
    }

    void Number(const std::string& text)
    {
        // Only plain digits make a whole number: "-2" is a coordinate.
        const bool isFloat = text.find_first_not_of("0123456789") != std::string::npos;
        if (!numbers.empty() && isFloat != floats)
            Flush();
        floats = isFloat;
        numbers.push_back(text);
    }

    // Writes the pending run of numbers as one list.
    void Flush()
    {
        if (numbers.empty())
            return;
        Word(floats ? FloatList : IntegerList);
        Dword(static_cast<std::uint32_t>(numbers.size()));
        for (const std::string& n : numbers) {
            if (!floats) {
                Dword(static_cast<std::uint32_t>(std::stoul(n)));
            } else if (doubles) {
                const double d = n.find('#') != std::string::npos ? 0.0 : std::stod(n);
                Bytes(&d, 8);
            } else {
                const float f = n.find('#') != std::string::npos ? 0.0f : std::stof(n);
                Bytes(&f, 4);
            }
        }
        numbers.clear();
    }

    std::string out;

private:
    bool doubles;
    bool floats = false;
    std::vector<std::string> numbers;
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

// A GUID as text ("3D82AB44-62DA-11cf-AB39-0020AF71E433") in its binary
// layout: one 32-bit, two 16-bit little-endian fields, then eight bytes.
void WriteGuid(BinaryWriter& writer, const std::string& text)
{
    std::string hex;
    for (char c : text)
        if (c != '-')
            hex += c;
    hex.resize(32, '0');
    std::uint8_t bytes[16];
    auto byteAt = [&](int i) { return static_cast<std::uint8_t>(HexDigit(hex[2 * i]) << 4 | HexDigit(hex[2 * i + 1])); };
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i)
        bytes[i] = byteAt(order[i]);
    writer.Punctuation(Guid);
    writer.Bytes(bytes, 16);
}

}  // namespace

std::optional<std::string> TextToBinary(const std::string& text, bool doubles)
{
    if (text.size() < HeaderBytes || text.compare(0, 4, "xof ") != 0 || text.compare(8, 4, "txt ") != 0)
        return std::nullopt;
    BinaryWriter writer(doubles);
    writer.Bytes(text.data(), 8);
    writer.Bytes("bin ", 4);
    writer.Bytes(doubles ? "0064" : "0032", 4);

    std::size_t at = HeaderBytes;
    while (at < text.size()) {
        const char c = text[at];
        if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == ';') {
            ++at;
        } else if (c == '/' || c == '#') {
            at = text.find('\n', at);
        } else if (c == '"') {
            const std::size_t close = text.find('"', at + 1);
            if (close == std::string::npos)
                return std::nullopt;
            writer.Text(String, text.substr(at + 1, close - at - 1));
            at = close + 1;
        } else if (c == '<') {
            const std::size_t close = text.find('>', at);
            if (close == std::string::npos)
                return std::nullopt;
            WriteGuid(writer, text.substr(at + 1, close - at - 1));
            at = close + 1;
        } else if (std::strchr("{}()[]", c)) {
            const std::uint16_t tokens[] = {OpenBrace, CloseBrace, OpenParen, CloseParen, OpenBracket, CloseBracket};
            writer.Punctuation(tokens[std::strchr("{}()[]", c) - "{}()[]"]);
            ++at;
        } else {
            std::size_t stop = at;
            while (stop < text.size() && static_cast<unsigned char>(text[stop]) > ' ' &&
                   !std::strchr("{}()[]<>\",;", text[stop]))
                ++stop;
            const std::string word = text.substr(at, stop - at);
            if (std::strchr("0123456789-.+", word[0]))
                writer.Number(word);
            else if (word == "template")
                writer.Punctuation(Template);
            else
                writer.Text(Name, word);
            at = stop;
        }
    }
    writer.Flush();
    return writer.out;
}

std::optional<std::string> Compress(const std::string& file)
{
    if (file.size() < HeaderBytes || file.compare(0, 4, "xof ") != 0)
        return std::nullopt;
    const bool binary = file.compare(8, 4, "bin ") == 0;
    if (!binary && file.compare(8, 4, "txt ") != 0)
        return std::nullopt;
    std::string out = file.substr(0, 8) + (binary ? "bzip" : "tzip") + file.substr(12, 4);
    const std::uint32_t total = static_cast<std::uint32_t>(file.size());
    out.append(reinterpret_cast<const char*>(&total), 4);

    const auto* body = reinterpret_cast<const Bytef*>(file.data() + HeaderBytes);
    const std::size_t size = file.size() - HeaderBytes;
    std::vector<Bytef> packed(compressBound(CompressedBlockBytes) + 64);
    for (std::size_t start = 0; start < size; start += CompressedBlockBytes) {
        const std::size_t length = std::min(CompressedBlockBytes, size - start);
        z_stream stream{};
        if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return std::nullopt;
        // Each block may refer back into the one before it.
        if (start > 0)
            deflateSetDictionary(&stream, body + start - CompressedBlockBytes, CompressedBlockBytes);
        stream.next_in = const_cast<Bytef*>(body + start);
        stream.avail_in = static_cast<uInt>(length);
        stream.next_out = packed.data();
        stream.avail_out = static_cast<uInt>(packed.size());
        const int result = deflate(&stream, Z_FINISH);
        const std::size_t packedSize = packed.size() - stream.avail_out;
        deflateEnd(&stream);
        if (result != Z_STREAM_END)
            return std::nullopt;
        const std::uint16_t sizes[2] = {static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(packedSize + 2)};
        out.append(reinterpret_cast<const char*>(sizes), 4);
        out += "CK";
        out.append(reinterpret_cast<const char*>(packed.data()), packedSize);
    }
    return out;
}

}  // namespace XConvert
