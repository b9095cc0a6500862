#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writes one JSON value into a string, placing the commas itself. Strings are
// UTF-8 and pass through as they are, with quotes, backslashes and control
// characters escaped.
class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    void Key(std::string_view key);

    void String(std::string_view value);
    void Int(long long value);
    void Float(double value);
    void Bool(bool value);
    void Null();

    const std::string& Text() const { return text; }

private:
    void BeforeValue();
    void Quoted(std::string_view value);

    std::string text;
    // One entry per open object or array: whether it holds a value yet.
    std::vector<bool> hasValue;
    bool afterKey = false;
};
