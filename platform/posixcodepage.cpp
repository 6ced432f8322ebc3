// Code pages on POSIX systems: glibc's iconv decodes them, and the locale
// variables imply which one the game's texts use.

// standard
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

// POSIX
#include <iconv.h>

// ours
#include "platform/codepage.h"
#include "platform/codepagetables.h"

namespace platform {

namespace {

/// The character of one byte as iconv decodes it, or nothing when the code
/// page leaves the byte undefined.
std::optional<char16_t> decodeByte(iconv_t cd, unsigned char byte)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // fresh state for each byte
    char in = static_cast<char>(byte);
    char* inPtr = &in;
    std::size_t inLeft = 1;
    std::uint32_t out[4] = {};
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    // Code pages with combining marks (1255, 1258) hold a letter back until
    // they know whether a mark follows; flushing releases it.
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    if (inLeft != 0 || sizeof out - outLeft != sizeof(std::uint32_t) || out[0] > 0xFFFF)
        return std::nullopt;
    return static_cast<char16_t>(out[0]);
}

} // namespace

std::optional<PageTable> decodePage(int number)
{
    const std::string names[] = {"WINDOWS-" + std::to_string(number), "CP" + std::to_string(number)};
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
    for (const auto& name : names) {
        cd = iconv_open("UTF-32LE", name.c_str());
        if (cd != reinterpret_cast<iconv_t>(-1))
            break;
    }
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    PageTable table;
    for (int byte = 0; byte < 256; ++byte)
        table[static_cast<std::size_t>(byte)] = decodeByte(cd, static_cast<unsigned char>(byte));
    iconv_close(cd);
    return table;
}

int systemPageNumber()
{
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return CodePage::numberForLocale(value);
    }
    return CodePage::numberForLocale("");
}

} // namespace platform
