#include "stage/RecordScanner.h"

#include <charconv>
#include <cmath>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

bool RecordScanner::Literal(std::string_view literal)
{
    if (failed || !rest.starts_with(literal)) {
        failed = true;
        return false;
    }
    rest.remove_prefix(literal.size());
    while (!rest.empty() && IsBlank(rest.front()))
        rest.remove_prefix(1);
    // The scanner takes a leading plus sign; from_chars does not.
    if (rest.size() > 1 && rest.front() == '+' && rest[1] != '-')
        rest.remove_prefix(1);
    return true;
}

bool RecordScanner::Int(std::string_view literal, int& value)
{
    if (!Literal(literal))
        return false;
    int read = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), read);
    if (error != std::errc()) {
        failed = true;
        return false;
    }
    rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    value = read;
    ++count;
    return true;
}

bool RecordScanner::Float(std::string_view literal, float& value)
{
    if (!Literal(literal))
        return false;
    // A number starts with a digit or a point; from_chars would also take "inf" and "nan".
    const bool number = !rest.empty() && (IsDigit(rest.front()) || rest.front() == '.' || rest.front() == '-');
    float read = 0.0f;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), read);
    if (!number || error != std::errc() || !std::isfinite(read)) {
        failed = true;
        return false;
    }
    rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    value = read;
    ++count;
    return true;
}
