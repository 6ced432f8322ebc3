#pragma once

// ASCII letter case and printable text, the same on every system and in
// every locale: only 'A' to 'Z' and 'a' to 'z' have a case here, so a name
// in any 8-bit code page compares byte for byte outside those letters.

// standard
#include <string>
#include <string_view>

namespace platform {

constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = asciiLower(c);
    return lower;
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

/// The text as a terminal can show it on one line: printable ASCII as it is,
/// every other byte (controls, line breaks, bytes above 127) as \xNN.
inline std::string printableAscii(std::string_view text)
{
    constexpr char digits[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            shown += "\\x";
            shown += digits[byte >> 4];
            shown += digits[byte & 0xF];
        }
    }
    return shown;
}

/// A line of a file quoted in a message: printableAscii of its first
/// `longest` bytes, and "..." after them when the line is longer, so that a
/// damaged file of one long line never makes a message as long.
inline std::string quotedLine(std::string_view line, std::size_t longest = 60)
{
    if (line.size() <= longest)
        return printableAscii(line);
    return printableAscii(line.substr(0, longest)) + "...";
}

/// The text in double quotes as C writes a string, its bytes kept as bytes:
/// a line break as \r or \n, a tab as \t, a quote and a backslash escaped,
/// and every other byte below 0x20, 0x7F and every byte from 0x80 up as \xNN
/// (lower case), so the result is plain printable ASCII on one line. The
/// change lists of the console program show old and new texts so.
inline std::string quotedAscii(std::string_view text)
{
    constexpr char digits[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\r': out += "\\r"; continue;
        case '\n': out += "\\n"; continue;
        case '\t': out += "\\t"; continue;
        case '"': out += "\\\""; continue;
        case '\\': out += "\\\\"; continue;
        default: break;
        }
        if (c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out + '"';
}

} // namespace platform
