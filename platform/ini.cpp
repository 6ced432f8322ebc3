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
// Lookup, listing and the writers that change a section all read the lines
// through parseLine below, so a section the one finds is one the others
// list and change.

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
    // Other: a line the reader passes over that is neither blank nor a
    // comment ("[Sniper" with no ']', a line with no '=').
    enum class Kind { Other, Blank, Header, Key } kind = Kind::Other;
    std::string_view name; // the section's name or the key, trimmed
    std::string_view value; // a key's value, trimmed
    // Where the line lies in the text: its first byte, the end of its bytes,
    // and the start of the next line (after its line end).
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

IniLine parseLine(std::string_view raw)
{
    const std::string_view line = trimmed(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#')
        return {IniLine::Kind::Blank, {}, {}};
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
    std::size_t at = text.starts_with(bom) ? bom.size() : 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        IniLine line = parseLine(text.substr(at, end - at));
        line.begin = at;
        line.end = end;
        at = std::min(text.size(), end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
        line.next = at;
        if (!visit(line))
            return;
    }
}

/// Where the first section of a name lies: from its header line's first
/// byte to the line end of its last line that is neither blank nor a
/// comment, so that the blank lines and comments before the next header
/// stay outside it. The first header of the name is the one the lookup
/// reads, so the section the lookup searches is the one given.
struct Extent {
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::optional<Extent> sectionExtent(std::string_view text, std::string_view section)
{
    std::optional<Extent> extent;
    forEachLine(text, [&](const IniLine& line) {
        if (!extent) {
            if (line.kind == IniLine::Kind::Header && !line.name.empty() && sameIniName(line.name, section))
                extent = Extent{line.begin, line.next};
            return true;
        }
        if (line.kind == IniLine::Kind::Header)
            return false;
        if (line.kind != IniLine::Kind::Blank)
            extent->end = line.next;
        return true;
    });
    return extent;
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
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

std::string iniLineEnd(std::string_view iniText)
{
    const auto at = iniText.find_first_of("\r\n");
    if (at == std::string_view::npos || iniText.substr(at, 2) == "\r\n")
        return "\r\n";
    return std::string(1, iniText[at]);
}

std::string replaceIniSection(std::string_view iniText, std::string_view section,
                              const std::vector<std::string>& lines)
{
    const std::string lineEnd = iniLineEnd(iniText);
    std::string block;
    for (const std::string& line : lines)
        block += line + lineEnd;

    std::string text;
    if (const auto extent = sectionExtent(iniText, section)) {
        text.reserve(iniText.size() + block.size());
        text.append(iniText.substr(0, extent->begin));
        text += block;
        text.append(iniText.substr(extent->end));
        return text;
    }
    text = iniText;
    std::optional<IniLine> last;
    forEachLine(iniText, [&last](const IniLine& line) {
        last = line;
        return true;
    });
    if (last) {
        if (last->next == last->end) // the text's last line has no line end
            text += lineEnd;
        if (!trimmed(iniText.substr(last->begin, last->end - last->begin)).empty())
            text += lineEnd; // a blank line before the new section
    }
    return text + block;
}

std::optional<std::string> setIniValue(std::string_view iniText, std::string_view section, std::string_view key,
                                       std::string_view value)
{
    const auto extent = sectionExtent(iniText, section);
    if (!extent)
        return std::nullopt;
    std::optional<IniLine> found;
    forEachLine(iniText, [&](const IniLine& line) {
        if (line.begin >= extent->end)
            return false;
        if (line.begin > extent->begin && line.kind == IniLine::Kind::Key && sameIniName(line.name, key))
            found = line;
        return !found;
    });
    std::string text(iniText);
    if (found) {
        // The value's bytes: from the first non-blank after the line's first
        // '=' to its last non-blank, or an empty stretch just after the '='.
        const std::string_view line = iniText.substr(found->begin, found->end - found->begin);
        const std::size_t equals = line.find('=');
        std::size_t first = line.find_first_not_of(kIniBlanks, equals + 1);
        std::size_t end = line.find_last_not_of(kIniBlanks) + 1;
        if (first == std::string_view::npos)
            first = end = equals + 1;
        return text.replace(found->begin + first, end - first, value);
    }
    const std::string line = std::string(key) + "=" + std::string(value);
    if (extent->end > 0 && isLineEnd(iniText[extent->end - 1]))
        return text.insert(extent->end, line + iniLineEnd(iniText));
    return text.insert(extent->end, iniLineEnd(iniText) + line); // the text's last line, which has no line end
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
