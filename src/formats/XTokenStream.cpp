#include "formats/XTokenStream.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "files/LittleEndian.h"
#include "formats/XFileFormat.h"

namespace {

// Binary punctuation (12 to 18) and type keywords (40 to 52) only matter inside
// template declarations, which the reader skips.
constexpr std::uint16_t FirstPunctuation = 12;
constexpr std::uint16_t LastPunctuation = 18;
constexpr std::uint16_t FirstKeyword = 40;
constexpr std::uint16_t LastKeyword = 52;
constexpr std::size_t GuidBytes = 16;

bool IsSpace(std::uint8_t c)
{
    return c <= ' ';
}

// Ends a bare text token (a name or a number).
bool IsDelimiter(std::uint8_t c)
{
    return IsSpace(c) || std::strchr("{},;<>\"()[]", c) != nullptr;
}

// A float as a text file writes it. Some exporters write the C library's
// spellings of not-a-number and infinity ("1.#QNAN0", "-1.#IND00"): those read
// as 0, the same as a zero they stand in for.
bool ParseTextNumber(std::string_view token, double& value, bool& whole)
{
    if (!token.empty() && token.front() == '+')
        token.remove_prefix(1);
    // Names such as "nan" or "Inf" are not numbers.
    if (token.empty() || !std::strchr("0123456789-.", token.front()))
        return false;
    const char* first = token.data();
    const char* last = first + token.size();
    std::uint32_t integer = 0;
    const auto [integerEnd, integerError] = std::from_chars(first, last, integer);
    whole = integerError == std::errc() && integerEnd == last;
    if (whole) {
        value = integer;
        return true;
    }
    const auto [floatEnd, floatError] = std::from_chars(first, last, value);
    if (floatError == std::errc() && floatEnd == last)
        return true;
    const std::size_t hash = token.find('#');
    if (hash != std::string_view::npos && hash > 0) {
        value = 0.0;
        return true;
    }
    return false;
}

float ToFloat(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest)
        return std::numeric_limits<float>::infinity();
    if (value < -largest)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace

XTokenStream::XTokenStream(std::span<const std::uint8_t> body, bool isBinary, bool isDoubles)
    : at(body.data()), end(body.data() + body.size()), binary(isBinary), doubles(isDoubles)
{
}

bool XTokenStream::Fail(const std::string& reason)
{
    if (error.empty())
        error = reason;
    at = end;
    listLeft = 0;
    return false;
}

std::size_t XTokenStream::MaxNumbersLeft() const
{
    // A text number takes at least one digit and one separator; a binary
    // number at least four bytes of a list.
    return binary ? listLeft + Left() / 4 : Left() / 2 + 1;
}

XTokenStream::Kind XTokenStream::Next(std::string& text)
{
    for (;;) {
        switch (ReadRaw(text)) {
        case Raw::End: return Kind::End;
        case Raw::Name: return Kind::Name;
        case Raw::String: return Kind::String;
        case Raw::OpenBrace: return Kind::OpenBrace;
        case Raw::CloseBrace: return Kind::CloseBrace;
        case Raw::Other: return Kind::Other;
        case Raw::Separator:
        case Raw::Guid:
        case Raw::Integer:
        case Raw::Float: break;
        case Raw::IntegerList:
        case Raw::FloatList: {
            // Numbers nobody asked for: step over the whole list.
            const std::size_t bytes = static_cast<std::size_t>(listLeft) * (listOfFloats && doubles ? 8 : 4);
            at += bytes;
            listLeft = 0;
            break;
        }
        }
    }
}

bool XTokenStream::Integer(std::uint32_t& value)
{
    std::string text;
    for (;;) {
        if (listLeft > 0) {
            if (listOfFloats)
                return Fail("a whole number was expected, the file has a float");
            --listLeft;
            return ReadDword(value);
        }
        switch (ReadRaw(text)) {
        case Raw::Separator:
        case Raw::Guid: continue;
        case Raw::IntegerList:
        case Raw::FloatList: continue;
        case Raw::Integer: value = wholeNumber; return true;
        case Raw::Float: return Fail("a whole number was expected, the file has \"" + text + "\"");
        case Raw::End: return Fail(Failed() ? error : "the file ends where a number was expected");
        default: return Fail("a number was expected, the file has \"" + text + "\"");
        }
    }
}

bool XTokenStream::Float(float& value)
{
    std::string text;
    for (;;) {
        if (listLeft > 0) {
            --listLeft;
            if (listOfFloats)
                return ReadListFloat(value);
            std::uint32_t integer = 0;
            if (!ReadDword(integer))
                return false;
            value = static_cast<float>(integer);
            return true;
        }
        switch (ReadRaw(text)) {
        case Raw::Separator:
        case Raw::Guid:
        case Raw::IntegerList:
        case Raw::FloatList: continue;
        case Raw::Integer:
        case Raw::Float: value = ToFloat(number); return true;
        case Raw::End: return Fail(Failed() ? error : "the file ends where a number was expected");
        default: return Fail("a number was expected, the file has \"" + text + "\"");
        }
    }
}

bool XTokenStream::String(std::string& value)
{
    for (;;) {
        switch (ReadRaw(value)) {
        case Raw::Separator:
        case Raw::Guid: continue;
        case Raw::String: return true;
        case Raw::End: return Fail(Failed() ? error : "the file ends where a string was expected");
        default: return Fail("a string was expected");
        }
    }
}

XTokenStream::Raw XTokenStream::ReadRaw(std::string& text)
{
    text.clear();
    if (binary) {
        // A list half taken is left behind when structure is asked for.
        at += static_cast<std::size_t>(listLeft) * (listOfFloats && doubles ? 8 : 4);
        listLeft = 0;
        return ReadBinary(text);
    }
    return ReadText(text);
}

XTokenStream::Raw XTokenStream::ReadText(std::string& text)
{
    for (;;) {
        while (at < end && IsSpace(*at))
            ++at;
        if (at == end)
            return Raw::End;
        const bool slashes = *at == '/' && Left() >= 2 && at[1] == '/';
        if (*at == '#' || slashes) {
            while (at < end && *at != '\n')
                ++at;
            continue;
        }
        break;
    }
    const std::uint8_t c = *at++;
    switch (c) {
    case '{': return Raw::OpenBrace;
    case '}': return Raw::CloseBrace;
    case ',':
    case ';': return Raw::Separator;
    case '(':
    case ')':
    case '[':
    case ']':
    case '>': return Raw::Other;
    case '<': {
        const auto* close = static_cast<const std::uint8_t*>(std::memchr(at, '>', Left()));
        if (!close)
            return Stop("a GUID has no closing '>'");
        at = close + 1;
        return Raw::Guid;
    }
    case '"': {
        const auto* close = static_cast<const std::uint8_t*>(std::memchr(at, '"', Left()));
        if (!close)
            return Stop("a string has no closing quote");
        text.assign(at, close);
        at = close + 1;
        return Raw::String;
    }
    default: break;
    }
    const std::uint8_t* start = at - 1;
    while (at < end && !IsDelimiter(*at))
        ++at;
    text.assign(start, at);
    bool whole = false;
    if (ParseTextNumber(text, number, whole)) {
        if (whole)
            wholeNumber = static_cast<std::uint32_t>(number);
        return whole ? Raw::Integer : Raw::Float;
    }
    return Raw::Name;
}

XTokenStream::Raw XTokenStream::ReadBinary(std::string& text)
{
    if (at == end)
        return Raw::End;
    std::uint16_t token = 0;
    if (!ReadWord(token))
        return Raw::End;
    std::uint32_t count = 0;
    switch (token) {
    case XFileFormat::Name:
    case XFileFormat::String:
        if (!ReadDword(count))
            return Raw::End;
        if (count > Left())
            return Stop("a name or string is longer than the rest of the file");
        text.assign(at, at + count);
        at += count;
        return token == XFileFormat::Name ? Raw::Name : Raw::String;
    case XFileFormat::Integer:
        if (!ReadDword(count))
            return Raw::End;
        wholeNumber = count;
        number = count;
        return Raw::Integer;
    case XFileFormat::Guid:
        if (Left() < GuidBytes)
            return Stop("the file ends inside a GUID");
        at += GuidBytes;
        return Raw::Guid;
    case XFileFormat::IntegerList:
    case XFileFormat::FloatList: {
        if (!ReadDword(count))
            return Raw::End;
        listOfFloats = token == XFileFormat::FloatList;
        const std::size_t size = listOfFloats && doubles ? 8 : 4;
        if (count > Left() / size)
            return Stop("a list of " + std::to_string(count) + " numbers is longer than the rest of the file");
        listLeft = count;
        return listOfFloats ? Raw::FloatList : Raw::IntegerList;
    }
    case XFileFormat::OpenBrace: return Raw::OpenBrace;
    case XFileFormat::CloseBrace: return Raw::CloseBrace;
    case XFileFormat::Comma:
    case XFileFormat::Semicolon: return Raw::Separator;
    case XFileFormat::Template: text = "template"; return Raw::Name;
    default:
        if ((token >= FirstPunctuation && token <= LastPunctuation) || (token >= FirstKeyword && token <= LastKeyword))
            return Raw::Other;
        return Stop("unknown binary token " + std::to_string(token));
    }
}

XTokenStream::Raw XTokenStream::Stop(const std::string& reason)
{
    Fail(reason);
    return Raw::End;
}

bool XTokenStream::ReadWord(std::uint16_t& value)
{
    if (Left() < 2)
        return Fail("the file ends inside a token");
    value = ReadLittle16(at);
    at += 2;
    return true;
}

bool XTokenStream::ReadDword(std::uint32_t& value)
{
    if (Left() < 4)
        return Fail("the file ends inside a token");
    value = ReadLittle32(at);
    at += 4;
    return true;
}

bool XTokenStream::ReadListFloat(float& value)
{
    if (doubles) {
        if (Left() < 8)
            return Fail("the file ends inside a number");
        double wide = 0.0;
        std::memcpy(&wide, at, 8);
        at += 8;
        value = ToFloat(wide);
        return true;
    }
    std::uint32_t bits = 0;
    if (!ReadDword(bits))
        return false;
    std::memcpy(&value, &bits, 4);
    return true;
}
