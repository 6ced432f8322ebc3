// Code pages on Windows: the system decodes them, and its ANSI code page is
// the one that programs of the game's kind use for their 8-bit texts.

// Windows
#include <windows.h>

// ours
#include "platform/codepagetables.h"

namespace platform {

std::optional<PageTable> decodePage(int number)
{
    if (!IsValidCodePage(static_cast<UINT>(number)))
        return std::nullopt;
    PageTable table;
    for (int byte = 0; byte < 256; ++byte) {
        const char in = static_cast<char>(byte);
        wchar_t out[4] = {};
        // With MB_ERR_INVALID_CHARS an undefined byte fails instead of
        // becoming a best-fit character.
        const int length = MultiByteToWideChar(static_cast<UINT>(number), MB_ERR_INVALID_CHARS, &in, 1, out, 4);
        if (length == 1)
            table[static_cast<std::size_t>(byte)] = static_cast<char16_t>(out[0]);
    }
    return table;
}

int systemPageNumber()
{
    return static_cast<int>(GetACP());
}

} // namespace platform
