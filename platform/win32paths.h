#pragma once

// Windows only: our paths are UTF-8, the system's wide (UTF-16). Included by
// the Win32 sources of the platform layer alone.

// standard
#include <string>

// Windows
#include <windows.h>

namespace platform::win32 {

/// The UTF-16 form of a UTF-8 path, as the system's wide functions take it.
inline std::wstring wide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
    return text;
}

/// The UTF-8 form of a UTF-16 text the system's wide functions give.
inline std::string utf8(const wchar_t* text, std::size_t size)
{
    if (size == 0)
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

} // namespace platform::win32
