#include "platform/ini.h"

// standard
#include <algorithm>

// ours
#include "platform/ascii.h"
#include "platform/textlines.h"

// How the text is read, as Windows reads its profile files:
// - lines end at CR LF, CR or LF and may be of any length; a UTF-8 byte order
//   mark before the first line is skipped;
// - blanks around section names, keys and values do not count;
// - a line that starts with ';' or '#' is a comment; a ';' after a value is
//   part of the value, and an indented line is a key of its own;
// - a section header is a line that starts with '[': its name ends at the
//   first ']', and whatever follows that on the line ("[Sniper] ; long
//   range") is passed over; a '[' line with no ']' is ignored;
// - a key line is split at its first '=' ("Args=-w=1" is key "Args");
//   a line with no '=' is ignored;
// - keys before the first section header belong to the section "";
// - only the first section of a name counts: a later one of the same name,
//   whatever its spelling, is never searched.
// Lookup and listing both read the lines through parseLine below, so a
// section the one finds is one the other lists.

namespace platform {

namespace {

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(kIniBlanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(kIniBlanks) - first + 1);
}

struct IniLine {
    enum class Kind { Other, Header, Key } kind = Kind::Other;
    std::string_view name; // the section's name or the key, trimmed
    std::string_view value; // a key's value, trimmed
};

IniLine parseLine(std::string_view raw)
{
    const std::string_view line = trimmed(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#')
        return {};
    if (line.front() == '[') {
        const auto close = line.find(']', 1);
        if (close == std::string_view::npos)
            return {};
        return {IniLine::Kind::Header, trimmed(line.substr(1, close - 1)), {}};
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return {};
    return {IniLine::Kind::Key, trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

/// Calls visit(IniLine) for each line of the text in order, until it
/// returns false.
template <typename Visit>
void forEachLine(std::string_view text, Visit&& visit)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.starts_with(bom))
        text.remove_prefix(bom.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const IniLine line = parseLine(text.substr(at, end - at));
        at = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        if (!visit(line))
            return;
    }
}

} // namespace

bool sameIniName(std::string_view a, std::string_view b)
{
    return equalsIgnoringAsciiCase(trimmed(a), trimmed(b));
}

std::vector<std::string> iniSections(std::string_view iniText)
{
    std::vector<std::string> names;
    forEachLine(iniText, [&names](const IniLine& line) {
        if (line.kind == IniLine::Kind::Header && !line.name.empty() &&
            std::none_of(names.begin(), names.end(), [&](const std::string& n) { return sameIniName(n, line.name); }))
            names.emplace_back(line.name);
        return true;
    });
    return names;
}

bool hasIniSection(std::string_view iniText, std::string_view section)
{
    bool found = false;
    forEachLine(iniText, [&](const IniLine& line) {
        found = line.kind == IniLine::Kind::Header && !line.name.empty() && sameIniName(line.name, section);
        return !found;
    });
    return found;
}

std::optional<std::string> iniLookup(std::string_view iniText, std::string_view section, std::string_view key)
{
    std::optional<std::string> value;
    bool inSection = sameIniName("", section); // keys before any header
    forEachLine(iniText, [&](const IniLine& line) {
        if (line.kind == IniLine::Kind::Header) {
            if (inSection)
                return false; // the first section of that name has ended
            inSection = sameIniName(line.name, section);
        } else if (inSection && line.kind == IniLine::Kind::Key && sameIniName(line.name, key)) {
            value = std::string(line.value);
            return false;
        }
        return true;
    });
    return value;
}

std::string iniValue(std::string_view iniText, std::string_view section, std::string_view key,
                     std::string_view defaultValue)
{
    return iniLookup(iniText, section, key).value_or(std::string(defaultValue));
}

std::string iniValue(FileSystem& files, const std::string& path, std::string_view section,
                     std::string_view key, std::string_view defaultValue)
{
    auto text = readTextFile(files, path);
    if (!text)
        return std::string(defaultValue);
    return iniValue(*text, section, key, defaultValue);
}

} // namespace platform
