#include "platform/console.h"

// standard
#include <algorithm>
#include <cstdio>

// Windows
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// ours
#include "platform/win32paths.h"

namespace platform {

namespace {

using win32::wide;

/// The system's reason for an error code, without the full stop and line
/// break Windows ends it with.
std::string reason(DWORD error)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text ? std::string(text, length) : "error " + std::to_string(error);
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.' ||
                                message.back() == ' '))
        message.pop_back();
    return message;
}

struct HandleInfo {
    FileIdentity identity;
    std::uint64_t length = 0;
    bool folder = false;
};

std::optional<HandleInfo> infoOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return std::nullopt;
    HandleInfo out;
    out.identity.volume = info.dwVolumeSerialNumber;
    out.identity.file = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    out.length = (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    out.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return out;
}

/// Standard output's handle when it is a file on disk, else null.
HANDLE outputFileHandle()
{
    const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr)
        return nullptr;
    // A console or NUL is a character device, a pipe a pipe; only a disk
    // file is a file that output could be added to.
    return GetFileType(handle) == FILE_TYPE_DISK ? handle : nullptr;
}

} // namespace

void useBinaryStandardStreams()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::optional<FileIdentity> fileIdentity(const std::string& path)
{
    // No access asked beyond the file's attributes, and every kind of sharing
    // granted, so that a file the game or Kestrin holds open is still known.
    const HANDLE handle = CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const auto info = infoOf(handle);
    CloseHandle(handle);
    if (!info)
        return std::nullopt;
    return info->identity;
}

std::optional<OutputFile> standardOutputFile()
{
    const HANDLE handle = outputFileHandle();
    if (!handle)
        return std::nullopt;
    const auto info = infoOf(handle);
    if (!info || info->folder)
        return std::nullopt;
    return OutputFile{info->identity, info->length};
}

Result<std::string> readStandardOutputFile(std::uint64_t most)
{
    const HANDLE output = outputFileHandle();
    if (!output)
        return Result<std::string>::failure(reason(ERROR_INVALID_HANDLE));
    // A handle of its own, for reading from the start; the redirection's
    // handle may be one for appending alone.
    const HANDLE handle =
        ReOpenFile(output, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
    if (handle == INVALID_HANDLE_VALUE)
        return Result<std::string>::failure(reason(GetLastError()));
    std::string bytes(static_cast<std::size_t>(most), '\0');
    std::size_t done = 0;
    DWORD error = ERROR_SUCCESS;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(handle, bytes.data() + done, want, &got, nullptr)) {
            error = GetLastError();
            break;
        }
        if (got == 0)
            break; // it shrank while we looked
        done += got;
    }
    CloseHandle(handle);
    if (error != ERROR_SUCCESS)
        return Result<std::string>::failure(reason(error));
    bytes.resize(done);
    return bytes;
}

} // namespace platform
