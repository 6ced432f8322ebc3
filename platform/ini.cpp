#include "platform/ini.h"

// standard
#include <algorithm>

// How the text is read, as Windows reads its profile files:
// - lines end at CR LF, CR or LF and may be of any length; a UTF-8 byte order
//   mark before the first line is skipped;
// - blanks around section names, keys and values do not count;
// - a line that starts with ';' or '#' is a comment; a ';' after a value is
//   part of the value, and an indented line is a key of its own;
// - a key line is split at its first '=' ("Args=-w=1" is key "Args");
//   a line with no '=' and a '[' line with no ']' are ignored;
// - keys before the first section header belong to the section "";
// - only the first section of a name counts: a later one of the same name,
//   whatever its spelling, is never searched.

namespace platform {

namespace {

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trimmed(std::string_view s)
{
    constexpr std::string_view blanks = " \t\r\n\f\v";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool sameName(std::string_view a, std::string_view b)
{
    a = trimmed(a);
    b = trimmed(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

} // namespace

std::string iniValue(std::string_view iniText, std::string_view section, std::string_view key,
                     std::string_view defaultValue)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (iniText.substr(0, bom.size()) == bom)
        iniText.remove_prefix(bom.size());

    bool inSection = sameName("", section); // keys before any header
    std::size_t at = 0;
    while (at < iniText.size()) {
        const std::size_t end = std::min(iniText.find_first_of("\r\n", at), iniText.size());
        const std::string_view line = trimmed(iniText.substr(at, end - at));
        at = end + (iniText.substr(end, 2) == "\r\n" ? 2 : 1);

        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']', 1);
            if (close == std::string_view::npos)
                continue;
            if (inSection)
                break; // the first section of that name has ended
            inSection = sameName(line.substr(1, close - 1), section);
            continue;
        }
        if (!inSection)
            continue;
        const auto equals = line.find('=');
        if (equals != std::string_view::npos && sameName(line.substr(0, equals), key))
            return std::string(trimmed(line.substr(equals + 1)));
    }
    return std::string(defaultValue);
}

std::string iniValue(FileSystem& files, const std::string& path, std::string_view section,
                     std::string_view key, std::string_view defaultValue)
{
    auto text = files.readAll(path);
    if (!text)
        return std::string(defaultValue);
    return iniValue(*text, section, key, defaultValue);
}

} // namespace platform
