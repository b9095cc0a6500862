#pragma once

#include <string_view>

// Reads a record such as "x:1,y:2" field by field, the way the C scanner reads
// "x:%d,y:%d": each field is its literal text followed by a number, and the
// first mismatch ends the record, leaving the values not yet reached as they
// were. Unlike the C scanner it refuses a number out of range (and a float that
// is not finite) instead of storing whatever the overflow gives.
class RecordScanner {
public:
    explicit RecordScanner(std::string_view line) : rest(line) {}

    // Matches literal, then reads an int into value. False from the first mismatch on.
    bool Int(std::string_view literal, int& value);
    bool Float(std::string_view literal, float& value);

    // How many values the record supplied.
    int Count() const { return count; }

private:
    // Matches literal and skips the blanks before a number.
    bool Literal(std::string_view literal);

    std::string_view rest;
    int count = 0;
    bool failed = false;
};
