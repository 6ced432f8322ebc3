#include "platform/win32filesystem.h"

// standard
#include <chrono>
#include <cstdint>
#include <cwchar>
#include <string_view>

// Windows
#include <windows.h>

// ours
#include "platform/bytefilechecks.h"
#include "platform/filefailure.h"
#include "platform/paths.h"
#include "platform/temporarynames.h"
#include "platform/win32paths.h"

namespace platform {

namespace {

using win32::utf8;
using win32::wide;

/// The system's reason for an error code, e.g. "Access denied", without the
/// full stop and line break that Windows ends it with.
std::string reason(DWORD error)
{
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return "the file is in use by another program";
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length > 0 && text ? utf8(text, length) : "error " + std::to_string(error);
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.' ||
                                message.back() == ' '))
        message.pop_back();
    return message;
}

Status failed(std::string_view what, const std::string& path, DWORD error)
{
    return fileFailure(what, path, reason(error));
}

/// Closes a handle on every path out of a scope.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { reset(); }
    Handle(Handle&& other) noexcept : h_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other) {
            reset();
            h_ = other.release();
        }
        return *this;
    }
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE release()
    {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return h;
    }
    bool reset()
    {
        bool ok = true;
        if (valid())
            ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

/// Opens an existing regular file; a folder or a device is refused. On
/// failure the handle is invalid and GetLastError() tells why (a folder
/// gives ERROR_DIRECTORY, any other kind of file ERROR_INVALID_FUNCTION).
Handle openRegular(const std::string& path, DWORD access, DWORD share)
{
    Handle file(CreateFileW(wide(path).c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(wide(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            SetLastError(ERROR_DIRECTORY);
        else
            SetLastError(error);
        return file;
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        file.reset();
        SetLastError(ERROR_INVALID_FUNCTION);
    }
    return file;
}

Status openError(const std::string& path, DWORD error)
{
    if (error == ERROR_INVALID_FUNCTION)
        return fileFailure("Could not open", path, "it is not a regular file");
    if (error == ERROR_DIRECTORY)
        return fileFailure("Could not open", path, "it is a folder");
    return failed("Could not open", path, error);
}

/// Reads or writes exactly `size` bytes at an absolute offset. Returns 0, or
/// the error code (ERROR_HANDLE_EOF when the file ended early).
DWORD transfer(HANDLE file, void* data, std::size_t size, std::uint64_t offset, bool writing)
{
    auto* at = static_cast<char*>(data);
    while (size > 0) {
        OVERLAPPED position{};
        position.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        position.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD done = 0;
        const BOOL ok = writing ? WriteFile(file, at, chunk, &done, &position)
                                : ReadFile(file, at, chunk, &done, &position);
        if (!ok)
            return GetLastError();
        if (done == 0)
            return writing ? ERROR_WRITE_FAULT : ERROR_HANDLE_EOF;
        at += done;
        size -= done;
        offset += done;
    }
    return 0;
}

class Win32ByteFile final : public ByteFile {
public:
    Win32ByteFile(HANDLE file, std::string path, std::uint64_t size, bool writable, Win32FileSystem::Flush flush)
        : file_(file), path_(std::move(path)), size_(size), writable_(writable), flush_(std::move(flush))
    {
    }

    ~Win32ByteFile() override { (void)close(); }

    std::uint64_t size() const override { return size_; }

    Status read(std::uint64_t offset, std::span<std::uint8_t> out) override
    {
        if (auto refused = checkRead(file_.valid(), path_, size_, offset, out.size()); !refused)
            return refused;
        if (const DWORD error = transfer(file_.get(), out.data(), out.size(), offset, false)) {
            if (error == ERROR_HANDLE_EOF) // someone else shortened the file since it was opened
                return fileFailure("Could not read", path_, "the file ended early");
            return failed("Could not read", path_, error);
        }
        return Status::success();
    }

    Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override
    {
        if (auto refused = checkWrite(file_.valid(), writable_, path_, size_, offset, data.size()); !refused)
            return refused;
        if (data.empty())
            return Status::success();
        written_ = true;
        if (const DWORD error =
                transfer(file_.get(), const_cast<std::uint8_t*>(data.data()), data.size(), offset, true))
            return failed("Could not write", path_, error);
        return Status::success();
    }

    Status sync() override
    {
        if (!file_.valid())
            return fileFailure("Could not write", path_, "the file is closed");
        if (!flush_(file_.get()))
            return failed("Could not write", path_, GetLastError());
        written_ = false; // nothing more for close() to flush
        return Status::success();
    }

    Status close() override
    {
        if (!file_.valid())
            return Status::success();
        DWORD flushError = 0;
        if (written_ && !flush_(file_.get()))
            flushError = GetLastError();
        const bool closed = file_.reset();
        const DWORD closeError = closed ? 0 : GetLastError();
        if (flushError != 0)
            return failed("Could not write", path_, flushError);
        if (closeError != 0)
            return failed("Could not close", path_, closeError);
        return Status::success();
    }

private:
    Handle file_;
    std::string path_;
    std::uint64_t size_;
    bool writable_;
    Win32FileSystem::Flush flush_;
    bool written_ = false;
};

/// Writes the bytes into a new file named from `prefix` beside `path` (made
/// with CREATE_NEW, which fails on any existing name, a link included),
/// flushes it, and moves it to `path` with `moveFlags`. A failure removes
/// the new file and is worded as a failed save of `path`.
Status writeThenMoveOnce(const std::string& path, const std::string& prefix, std::string_view bytes,
                         DWORD moveFlags, const Win32FileSystem::Flush& flush)
{
    std::wstring temp;
    Handle file;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        temp = wide(temporaryName(prefix));
        file = Handle(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (file.valid())
            break;
        // A name another file has taken: the next attempt draws another.
        if (const DWORD error = GetLastError(); error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return failed("Could not save", path, error);
    }
    if (!file.valid())
        return fileFailure("Could not save", path, "no free name for the new file beside it");

    auto abandon = [&](DWORD error) {
        file.reset();
        DeleteFileW(temp.c_str());
        return failed("Could not save", path, error);
    };
    if (const DWORD error = transfer(file.get(), const_cast<char*>(bytes.data()), bytes.size(), 0, true))
        return abandon(error);
    // The data must be on the disk before the move gives it the name.
    if (!flush(file.get()))
        return abandon(GetLastError());
    if (!file.reset())
        return abandon(GetLastError());
    if (!MoveFileExW(temp.c_str(), wide(path).c_str(), moveFlags))
        return abandon(GetLastError());
    return Status::success();
}

/// writeThenMoveOnce, again under a new name when the new file vanished
/// before its move: shared with nobody while it is written, it can be taken
/// by another program's removeLeftovers only in the moment between its
/// closing and its move.
Status writeThenMove(const std::string& path, const std::string& prefix, std::string_view bytes, DWORD moveFlags,
                     const Win32FileSystem::Flush& flush)
{
    Status outcome = writeThenMoveOnce(path, prefix, bytes, moveFlags, flush);
    for (int retry = 0; retry < 3 && !outcome && outcome.reason() == reason(ERROR_FILE_NOT_FOUND); ++retry)
        outcome = writeThenMoveOnce(path, prefix, bytes, moveFlags, flush);
    return outcome;
}

} // namespace

Win32FileSystem::Win32FileSystem() : Win32FileSystem(nullptr) {}

Win32FileSystem::Win32FileSystem(Flush flush)
    : flush_(flush ? std::move(flush) : Flush([](void* handle) { return FlushFileBuffers(handle) != 0; }))
{
}

bool Win32FileSystem::isFile(const std::string& path)
{
    // Opened for its attributes only, which no other program's sharing can
    // refuse; a link is followed to what it names (a dangling one fails to
    // open), and a folder opens only with backup semantics, to be told apart.
    Handle file(CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(file.get(), &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           GetFileType(file.get()) == FILE_TYPE_DISK;
}

Result<std::uint64_t> Win32FileSystem::length(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data))
        return failed("Could not read the size of", path, GetLastError());
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return fileFailure("Could not read the size of", path, "it is a folder");
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Status Win32FileSystem::remove(const std::string& path)
{
    if (!DeleteFileW(wide(path).c_str()))
        return failed("Could not delete", path, GetLastError());
    return Status::success();
}

Result<std::unique_ptr<ByteFile>> Win32FileSystem::openExisting(const std::string& path, Access access)
{
    const bool writable = access != Access::Read;
    DWORD share = FILE_SHARE_READ;
    if (access == Access::Read)
        share |= FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    else if (access == Access::ReadWrite)
        share |= FILE_SHARE_WRITE;
    Handle file = openRegular(path, GENERIC_READ | (writable ? GENERIC_WRITE : 0), share);
    if (!file.valid())
        return openError(path, GetLastError());
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size))
        return failed("Could not read the size of", path, GetLastError());
    return std::unique_ptr<ByteFile>(std::make_unique<Win32ByteFile>(
        file.release(), path, static_cast<std::uint64_t>(size.QuadPart), writable, flush_));
}

Result<std::string> Win32FileSystem::readAll(const std::string& path)
{
    Handle file = openRegular(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!file.valid())
        return openError(path, GetLastError());
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD done = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &done, nullptr))
            return failed("Could not read", path, GetLastError());
        if (done == 0)
            break;
        bytes.append(buffer, done);
    }
    return bytes;
}

Status Win32FileSystem::replaceAtomically(const std::string& path, std::string_view bytes)
{
    const auto [head, name] = splitPath(path);
    if (name.empty() || name == "." || name == "..")
        return fileFailure("Could not save", path, "it does not name a file");
    const std::wstring target = wide(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return fileFailure("Could not save", path, "it is a folder");
        // Moving over a read-only file would replace it; a save must not.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return failed("Could not save", path, ERROR_ACCESS_DENIED);
    }

    // What a killed write of this file left is removed first (a write still
    // under way keeps its file open, unshared, and is left alone); a
    // leftover that cannot be removed does not stop this save. Then a new
    // file beside the old one, under a name nobody else uses, moved over it.
    [[maybe_unused]] const Status cleared = removeLeftovers(path);
    return writeThenMove(path, head + temporaryPrefix(name), bytes,
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, flush_);
}

Result<Entry> Win32FileSystem::entry(const std::string& path)
{
    // Opened for its attributes only, which no other program's sharing can
    // refuse; the reparse point itself is opened, never what it names.
    Handle file(CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return Entry{};
        return failed("Could not look at", path, error);
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file.get(), &info))
        return failed("Could not look at", path, GetLastError());
    Entry found;
    found.names = info.nNumberOfLinks;
    bool link = false;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        FILE_ATTRIBUTE_TAG_INFO tag{};
        // Where the tag cannot be read, the reparse point counts as a link.
        link = !GetFileInformationByHandleEx(file.get(), FileAttributeTagInfo, &tag, sizeof tag) ||
               IsReparseTagNameSurrogate(tag.ReparseTag);
    }
    if (link)
        found.kind = Entry::Kind::Link;
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        found.kind = Entry::Kind::Folder;
    else if (GetFileType(file.get()) != FILE_TYPE_DISK)
        found.kind = Entry::Kind::Other;
    else {
        found.kind = Entry::Kind::Regular;
        found.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    }
    return found;
}

Status Win32FileSystem::createNew(const std::string& path, std::string_view bytes)
{
    const auto [head, name] = splitPath(path);
    if (name.empty() || name == "." || name == "..")
        return fileFailure("Could not save", path, "it does not name a file");
    const std::string prefix = head + temporaryPrefix(name);

    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    return writeThenMove(path, prefix, bytes, MOVEFILE_WRITE_THROUGH, flush_);
}

Status Win32FileSystem::checkCreatable(const std::string& path)
{
    const auto [head, name] = splitPath(path);
    if (name.empty() || name == "." || name == "..")
        return fileFailure("Could not save", path, "it does not name a file");
    const std::string prefix = head + temporaryPrefix(name);
    for (int attempt = 0; attempt < 100; ++attempt) {
        Handle probe(CreateFileW(wide(temporaryName(prefix)).c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (probe.valid())
            return Status::success();
        if (const DWORD error = GetLastError(); error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return failed("Could not save", path, error);
    }
    return Status::success(); // every name taken: createNew will say so itself
}

Status Win32FileSystem::removeLeftovers(const std::string& path)
{
    const auto [base, name] = splitPath(path);
    if (name.empty())
        return Status::success();
    const std::string prefix = temporaryPrefix(name);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(base + prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES)
            return Status::success();
        return failed("Could not read the folder", base.empty() ? "." : base, error);
    }
    Status outcome = Status::success();
    do {
        const std::string entryName = utf8(found.cFileName, std::wcslen(found.cFileName));
        // A folder of that name is no leftover of ours; a file or a link is
        // removed itself (a link's target is never touched).
        if (!isTemporaryName(entryName, prefix) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (!DeleteFileW(wide(base + entryName).c_str())) {
            const DWORD error = GetLastError();
            // Gone already, or still open without sharing: a write of
            // another program under way, whose file is not ours to take.
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_SHARING_VIOLATION)
                continue;
            outcome = failed("Could not remove the unfinished file", base + entryName, error);
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return outcome;
}

namespace {

/// A named mutex held by this thread: the hold ends with the object.
class MutexHold final : public UpdateHold {
public:
    explicit MutexHold(HANDLE mutex) : mutex_(mutex) {}
    MutexHold(const MutexHold&) = delete;
    MutexHold& operator=(const MutexHold&) = delete;
    ~MutexHold() override
    {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }

private:
    HANDLE mutex_;
};

} // namespace

Result<std::unique_ptr<UpdateHold>> Win32FileSystem::holdUpdates(const std::string& path,
                                                                 std::chrono::milliseconds wait)
{
    // One name for the folder however it is written: its full path, in
    // lower case as the file system compares names, hashed to fit a name.
    const std::string head = splitPath(path).head;
    const std::wstring folder = wide(head.empty() ? "." : head);
    std::wstring full(GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr) + 1, L'\0');
    const DWORD length = GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return failed("Could not save", path, GetLastError());
    full.resize(length);
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    CharLowerBuffW(full.data(), static_cast<DWORD>(full.size()));
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a over the UTF-16 units
    for (wchar_t unit : full) {
        hash = (hash ^ static_cast<std::uint16_t>(unit)) * 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, 64, L"Local\\varnhold-updates-%016llx", static_cast<unsigned long long>(hash));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name);
    if (!mutex)
        return failed("Could not save", path, GetLastError());
    // WAIT_ABANDONED: the last holder ended without letting go, which a
    // replace through a temporary file survives; the hold is ours now.
    const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(wait.count()));
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        return std::unique_ptr<UpdateHold>(std::make_unique<MutexHold>(mutex));
    const DWORD error = waited == WAIT_FAILED ? GetLastError() : ERROR_SHARING_VIOLATION;
    CloseHandle(mutex);
    return failed("Could not save", path, error);
}

} // namespace platform
