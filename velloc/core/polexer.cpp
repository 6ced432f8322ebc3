#include "velloc/core/polexer.h"

// standard
#include <utility>

namespace velloc {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

/// Undoes a PO string's escapes from `at` (just past the opening quote) to
/// its closing quote, appending the bytes to `into`; `at` ends past the
/// closing quote. An error text when the string is not well formed.
std::optional<std::string> readString(std::string_view line, std::size_t& at, std::string& into)
{
    while (at < line.size() && line[at] != '"') {
        const char c = line[at++];
        if (c != '\\') {
            into += c;
            continue;
        }
        if (at == line.size())
            break;
        const char e = line[at++];
        switch (e) {
        case 'n': into += '\n'; continue;
        case 't': into += '\t'; continue;
        case 'r': into += '\r'; continue;
        case 'b': into += '\b'; continue;
        case 'f': into += '\f'; continue;
        case 'v': into += '\v'; continue;
        case 'a': into += '\a'; continue;
        case '\\': case '"': case '\'': case '?': into += e; continue;
        default:
            break;
        }
        unsigned value = 0;
        int digits = 0;
        if (e >= '0' && e <= '7') {
            value = static_cast<unsigned>(e - '0');
            for (digits = 1; digits < 3 && at < line.size() && line[at] >= '0' && line[at] <= '7'; ++digits)
                value = value * 8 + static_cast<unsigned>(line[at++] - '0');
        } else if (e == 'x') {
            for (; at < line.size() && hexValue(line[at]) >= 0 && value <= 0xFF; ++digits)
                value = value * 16 + static_cast<unsigned>(hexValue(line[at++]));
            if (digits == 0)
                return "the escape \\x has no hex digits";
        } else {
            return "the escape \\" + std::string(1, e) + " is not one of a PO file";
        }
        if (value > 0xFF)
            return "an escape stands for a value above 255";
        into += static_cast<char>(value);
    }
    if (at == line.size())
        return "a string is not closed";
    ++at; // the closing quote
    return std::nullopt;
}

/// The strings of the rest of a line, joined, appended to `into`: at least
/// one, and nothing but blanks around them.
std::optional<std::string> readStrings(std::string_view rest, std::string& into)
{
    int count = 0;
    for (std::size_t at = 0;;) {
        while (at < rest.size() && isBlank(rest[at]))
            ++at;
        if (at == rest.size())
            break;
        if (rest[at] != '"')
            return count == 0 ? "a keyword is not followed by a string in double quotes"
                              : "there is more than strings after the keyword";
        ++at;
        if (auto error = readString(rest, at, into))
            return error;
        ++count;
    }
    if (count == 0)
        return "a keyword is not followed by a string in double quotes";
    return std::nullopt;
}

/// Whether a "#," line's flags, separated by commas, hold "fuzzy".
bool hasFuzzyFlag(std::string_view flags)
{
    for (std::size_t from = 0; from <= flags.size();) {
        std::size_t comma = flags.find(',', from);
        if (comma == std::string_view::npos)
            comma = flags.size();
        if (trimmed(flags.substr(from, comma - from)) == "fuzzy")
            return true;
        from = comma + 1;
    }
    return false;
}

} // namespace

PoLexer::PoLexer(std::string_view text) : text_(text)
{
    if (text_.substr(0, 3) == "\xEF\xBB\xBF")
        text_.remove_prefix(3);
}

std::optional<PoLine> PoLexer::next()
{
    while (at_ < text_.size()) {
        std::size_t end = text_.find('\n', at_);
        if (end == std::string_view::npos)
            end = text_.size();
        std::string_view line = text_.substr(at_, end - at_);
        at_ = end + 1;
        ++number_;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty())
            continue;

        PoLine token;
        token.number = number_;
        if (line.front() == '#') {
            if (line.substr(0, 2) == "#~") {
                token.kind = PoLine::Kind::Obsolete;
            } else if (line.substr(0, 2) == "#,") {
                token.kind = PoLine::Kind::Flags;
                token.fuzzy = hasFuzzyFlag(line.substr(2));
            }
            return token;
        }
        std::size_t wordEnd = 0;
        if (line.front() == '"') {
            token.kind = PoLine::Kind::Strings;
        } else {
            token.kind = PoLine::Kind::Keyword;
            while (wordEnd < line.size() && !isBlank(line[wordEnd]) && line[wordEnd] != '"')
                ++wordEnd;
            token.keyword = line.substr(0, wordEnd);
        }
        token.stringError = readStrings(line.substr(wordEnd), token.strings);
        return token;
    }
    return std::nullopt;
}

} // namespace velloc
