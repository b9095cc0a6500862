#include "JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

void JsonWriter::BeforeValue()
{
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!hasValue.empty()) {
        if (hasValue.back())
            text += ',';
        hasValue.back() = true;
    }
}

void JsonWriter::BeginObject()
{
    BeforeValue();
    text += '{';
    hasValue.push_back(false);
}

void JsonWriter::EndObject()
{
    text += '}';
    hasValue.pop_back();
}

void JsonWriter::BeginArray()
{
    BeforeValue();
    text += '[';
    hasValue.push_back(false);
}

void JsonWriter::EndArray()
{
    text += ']';
    hasValue.pop_back();
}

void JsonWriter::Key(std::string_view key)
{
    BeforeValue();
    Quoted(key);
    text += ':';
    afterKey = true;
}

void JsonWriter::String(std::string_view value)
{
    BeforeValue();
    Quoted(value);
}

void JsonWriter::Int(long long value)
{
    BeforeValue();
    text += std::to_string(value);
}

void JsonWriter::Float(double value)
{
    BeforeValue();
    if (!std::isfinite(value)) {
        text += "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

void JsonWriter::Bool(bool value)
{
    BeforeValue();
    text += value ? "true" : "false";
}

void JsonWriter::Null()
{
    BeforeValue();
    text += "null";
}

void JsonWriter::Quoted(std::string_view value)
{
    text += '"';
    for (const char c : value) {
        switch (c) {
        case '"':
            text += "\\\"";
            break;
        case '\\':
            text += "\\\\";
            break;
        case '\n':
            text += "\\n";
            break;
        case '\r':
            text += "\\r";
            break;
        case '\t':
            text += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                text += escaped;
            } else {
                text += c;
            }
        }
    }
    text += '"';
}
