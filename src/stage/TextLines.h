#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <sstream>
#include <string>

// Reads the lines of a stage or result file, which may come from anywhere:
// a leading byte-order mark and the "\r" of a "\r\n" ending are dropped, a
// line too long to be a record comes back empty, and reading ends after
// MaxLines lines or MaxBytes bytes, so no file can make the reader hold more
// than one short line, or read for long.
class TextLines {
public:
    static constexpr std::size_t MaxLineLength = 1024;
    static constexpr std::size_t MaxLines = 100000;
    static constexpr std::size_t MaxBytes = 16 * 1024 * 1024;

    explicit TextLines(std::istream& stream) : in(stream) {}

    // The next line without its line break; false at the end of the file.
    bool Next(std::string& line);

private:
    std::istream& in;
    std::size_t linesRead = 0;
    std::size_t bytesRead = 0;
};

// A stage, par or result file's text to read with TextLines; nothing when it
// cannot be read (see ReadFileText) or is larger than TextLines::MaxBytes.
std::optional<std::istringstream> ReadTextFile(const std::string& path);
