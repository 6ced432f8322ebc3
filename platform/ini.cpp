#include "platform/ini.h"

// standard
#include <climits>
#include <mutex>
#include <optional>
#include <string>

// inih
#include <ini.h>

// How inih reads the text here (its switches are process-wide variables in
// this build, so they are set for each parse under a lock and put back):
// - lines of any length: the line buffer lives on the heap and may grow to
//   the length of the whole text;
// - no multi-line values: an indented line is a key of its own, as on
//   Windows, not the continuation of the previous value;
// - no comments after a value: ';' inside a value is part of it. Lines that
//   start with ';' or '#' are comments.
// What inih does and Windows does not: a line is split at the first '=' or
// ':', so "a:b=c" is key "a"; section names are cut at 49 bytes; the text
// ends at its first NUL byte. Only the first section of a name counts, but
// inih reports no section without keys and no header that repeats the name
// just read, so "[A] x=1 [A] y=2" (same spelling, nothing between) reads as
// one section. None of these occur in the programs' files.

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

struct Lookup {
    std::string_view section;
    std::string_view key;
    std::optional<std::string> value;
    // The spelling of the first matching section seen, and whether keys of a
    // later section have been seen since: only the first section counts.
    std::optional<std::string> firstSection;
    bool firstSectionEnded = false;
};

int onValue(void* user, const char* section, const char* name, const char* value)
{
    auto& lookup = *static_cast<Lookup*>(user);
    if (lookup.value || lookup.firstSectionEnded)
        return 1;
    if (lookup.firstSection) {
        if (*lookup.firstSection != section) {
            lookup.firstSectionEnded = true;
            return 1;
        }
    } else if (sameName(section, lookup.section)) {
        lookup.firstSection = section;
    } else {
        return 1;
    }
    if (sameName(name, lookup.key))
        lookup.value = std::string(value ? value : "");
    return 1;
}

std::mutex& inihLock()
{
    static std::mutex lock;
    return lock;
}

} // namespace

std::string iniValue(std::string_view iniText, std::string_view section, std::string_view key,
                     std::string_view defaultValue)
{
    const std::string text(iniText);
    Lookup lookup{section, key, std::nullopt, std::nullopt, false};
    {
        std::lock_guard guard(inihLock());
        const bool useStack = ini_use_stack;
        const bool allowRealloc = ini_allow_realloc;
        const int maxLine = ini_max_line;
        const int initialAlloc = ini_initial_alloc;
        const bool multiline = ini_allow_multiline;
        const bool inlineComments = ini_allow_inline_comments;

        ini_use_stack = false;
        ini_allow_realloc = true;
        ini_initial_alloc = 256;
        // Room for the longest possible line plus its CR, LF and NUL.
        ini_max_line = text.size() < static_cast<std::size_t>(INT_MAX) - 259
            ? static_cast<int>(text.size()) + 259
            : INT_MAX;
        ini_allow_multiline = false;
        ini_allow_inline_comments = false;

        // Errors only mark lines inih could not read; the rest is still seen.
        (void)ini_parse_string(text.c_str(), onValue, &lookup);

        ini_use_stack = useStack;
        ini_allow_realloc = allowRealloc;
        ini_max_line = maxLine;
        ini_initial_alloc = initialAlloc;
        ini_allow_multiline = multiline;
        ini_allow_inline_comments = inlineComments;
    }
    return lookup.value ? *lookup.value : std::string(defaultValue);
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
