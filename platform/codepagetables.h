#pragma once

// What the code pages take from the system they run on: how a byte of a
// Windows code page decodes, and which code page the system's 8-bit texts
// use. One source file per system implements these (posixcodepage.cpp with
// iconv and the locale variables, win32codepage.cpp with the ANSI code page).

// standard
#include <array>
#include <optional>

namespace platform {

/// Each byte's character in the Windows code page `number`; std::nullopt for
/// a byte the code page leaves undefined. std::nullopt as a whole when the
/// system cannot convert that code page at all.
using PageTable = std::array<std::optional<char16_t>, 256>;
std::optional<PageTable> decodePage(int number);

/// The number of the Windows code page the system uses for 8-bit texts.
int systemPageNumber();

} // namespace platform
