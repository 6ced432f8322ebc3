#include "brackel/core/namesfile.h"

// standard
#include <charconv>
#include <optional>

namespace brackel {

namespace {

std::optional<int> sectionNumber(std::string_view header)
{
    if (header.size() < 2)
        return std::nullopt;
    std::string_view text = header.substr(1, header.size() - 2);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool startsWith(std::string_view line, std::string_view prefix)
{
    return line.compare(0, prefix.size(), prefix) == 0;
}

// Which kind's caption a section's short name ("name=") or long name
// ("lname=") gives, if any.
std::optional<Kind> captionKind(int section, bool longName)
{
    for (const KindInfo& k : kKinds) {
        if (k.item != section)
            continue;
        const bool takesShortName = k.kind == Kind::Talon || k.kind == Kind::Extender;
        if (takesShortName != longName)
            return k.kind;
    }
    return std::nullopt;
}

} // namespace

Names::Names()
{
    for (const KindInfo& k : kKinds)
        captions[static_cast<int>(k.kind)] = std::string(k.caption);
}

std::string checkforand(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&')
            out += '&';
    }
    return out;
}

Names parseNames(const platform::TextLines& lines)
{
    Names names;
    std::size_t i = 0;
    while (i < lines.size() && lines[i].find("mode=velloc") == std::string_view::npos)
        ++i;

    std::optional<int> section;  // number of the open section; none outside
    bool inSection = false;
    for (++i; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (!line.empty() && line[0] == '[') {
            section = sectionNumber(line);
            inSection = true;
            continue;
        }
        if (line.empty()) {
            inSection = false;
            continue;
        }
        if (!inSection || !section)
            continue;

        const bool longName = startsWith(line, "lname=");
        if (!longName && !startsWith(line, "name="))
            continue;
        const std::string value(line.substr(longName ? 6 : 5));
        if (!longName && *section >= 1 && *section <= kWeaponCount)
            names.weaponNames[*section - 1] = value;
        if (auto kind = captionKind(*section, longName))
            names.captions[static_cast<int>(*kind)] = checkforand(value);
    }
    return names;
}

} // namespace brackel
