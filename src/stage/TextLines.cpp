#include "stage/TextLines.h"

#include <string_view>

#include "files/FileBytes.h"

namespace {
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
}

bool TextLines::Next(std::string& line)
{
    line.clear();
    if (linesRead == MaxLines || bytesRead >= MaxBytes)
        return false;
    std::streambuf* buffer = in.rdbuf();
    if (!buffer)
        return false;

    bool any = false;
    bool tooLong = false;
    for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) {
        any = true;
        // A line cut short by the cap is no line to read.
        if (++bytesRead > MaxBytes) {
            tooLong = true;
            break;
        }
        if (c == '\n')
            break;
        if (line.size() < MaxLineLength)
            line.push_back(static_cast<char>(c));
        else
            tooLong = true;
    }
    if (!any)
        return false;

    if (linesRead == 0 && line.starts_with(ByteOrderMark))
        line.erase(0, ByteOrderMark.size());
    ++linesRead;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (tooLong)
        line.clear();
    return true;
}

std::optional<std::istringstream> ReadTextFile(const std::string& path)
{
    std::string error;
    std::optional<std::string> text = ReadFileText(path, TextLines::MaxBytes, error);
    if (!text)
        return std::nullopt;
    return std::istringstream(std::move(*text));
}
