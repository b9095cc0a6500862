#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The tokens of an X file's body (what follows the 16-byte header), read the
// same way whether the body is text or binary. The model reader asks for
// structure (names, strings, braces) and for numbers; separators, GUIDs and
// numbers nobody asked for are skipped.
//
// The input is untrusted: every length and count is checked against the bytes
// left before it is used, and the first fault ends the stream with a reason.
class XTokenStream {
public:
    enum class Kind {
        End,         // the body is over, or the stream failed
        Name,        // an identifier; binary "template" comes as the name "template"
        String,      // a quoted string
        OpenBrace,
        CloseBrace,
        Other,       // punctuation and type keywords of template declarations
    };

    // doubles: a binary body whose float lists hold 8-byte floats.
    XTokenStream(std::span<const std::uint8_t> body, bool binary, bool doubles);

    // The next structural token; text holds a name or a string's content.
    Kind Next(std::string& text);
    // The next number of the current data object, as a whole number or a float.
    // False (and the stream fails) when something else comes first.
    bool Integer(std::uint32_t& value);
    bool Float(float& value);
    // The next string of the current data object.
    bool String(std::string& value);

    // An upper bound of the numbers the rest of the body can hold, so that a
    // declared count can be checked before anything is allocated for it.
    std::size_t MaxNumbersLeft() const;

    bool Failed() const { return !error.empty(); }
    const std::string& Error() const { return error; }
    // Ends the stream with reason (the first reason stays).
    bool Fail(const std::string& reason);

private:
    // One raw token: structure, a number, or a separator.
    enum class Raw { End, Name, String, OpenBrace, CloseBrace, Other, Separator, Guid, Integer, Float, IntegerList, FloatList };

    Raw ReadRaw(std::string& text);
    Raw ReadText(std::string& text);
    Raw ReadBinary(std::string& text);
    Raw Stop(const std::string& reason);
    // Binary: a little-endian value, if that many bytes are left.
    bool ReadWord(std::uint16_t& value);
    bool ReadDword(std::uint32_t& value);
    bool ReadListFloat(float& value);
    std::size_t Left() const { return static_cast<std::size_t>(end - at); }

    const std::uint8_t* at;
    const std::uint8_t* end;
    bool binary;
    bool doubles;
    // Binary: the numbers not yet taken from the current list.
    std::uint32_t listLeft = 0;
    bool listOfFloats = false;
    // The last single number read (a text number or a binary integer token).
    double number = 0.0;
    std::uint32_t wholeNumber = 0;
    std::string error;
};
