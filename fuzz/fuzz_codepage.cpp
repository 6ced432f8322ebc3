// Code pages: every byte string comes back exactly from its Unicode form,
// for the code pages the programs meet most.

// standard
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// ours
#include "platform/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::optional<platform::CodePage> pages[] = {
        platform::CodePage::windows(1252), platform::CodePage::windows(1251), platform::CodePage::windows(1250)};
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& page : pages) {
        if (!page)
            continue;
        const std::optional<std::string> back = page->fromUnicode(page->toUnicode(bytes));
        if (!back || *back != bytes)
            __builtin_trap();
    }
    return 0;
}
