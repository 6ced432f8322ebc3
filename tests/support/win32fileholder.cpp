#include "tests/support/fileholder.h"

// Windows
#include <windows.h>

namespace testsupport {

FileHolder::FileHolder(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), length);
    // Open for writing and share nothing, as a running game does.
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    handle_ = reinterpret_cast<std::intptr_t>(file);
    held_ = true;
}

FileHolder::~FileHolder()
{
    if (held_)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

} // namespace testsupport
