#pragma once

// The file system of a Windows machine, through Win32. Paths are UTF-8 in the
// program and UTF-16 at the system's edge.

// standard
#include <functional>

// ours
#include "platform/filesystem.h"

namespace platform {

class Win32FileSystem final : public FileSystem {
public:
    /// Flushes what was written through a file handle (a HANDLE) to the
    /// disk, as FlushFileBuffers does: true, or false with the error for
    /// GetLastError() set. Every flush the file system makes goes through
    /// it, so a test can see when data reaches the disk (and fail the flush).
    using Flush = std::function<bool(void* handle)>;

    Win32FileSystem();
    explicit Win32FileSystem(Flush flush);

    bool isFile(const std::string& path) override;
    Result<std::uint64_t> length(const std::string& path) override;
    Status remove(const std::string& path) override;
    /// A file that another program holds open without sharing the access
    /// asked for (as the game holds its files) fails with "the file is in use
    /// by another program". ReadWriteExclusive shares nothing but reading.
    Result<std::unique_ptr<ByteFile>> openExisting(const std::string& path, Access access) override;
    Result<std::string> readAll(const std::string& path) override;
    /// Writes beside the file, flushes, and moves the new file over the old
    /// one with write-through; a read-only file is refused and stays whole.
    Status replaceAtomically(const std::string& path, std::string_view bytes) override;
    /// A symbolic link, junction or mount point (a reparse point that names
    /// another place) is a link; other reparse points, such as files a cloud
    /// service keeps, are what they hold.
    Result<Entry> entry(const std::string& path) override;
    /// The temporary file is made with CREATE_NEW, flushed, and moved to the
    /// path by MoveFileExW without MOVEFILE_REPLACE_EXISTING, with
    /// write-through.
    Status createNew(const std::string& path, std::string_view bytes) override;
    /// Makes and at once drops a temporary file of createNew's scheme
    /// (deleted on close), as the folder's rights can be learnt no other way.
    Status checkCreatable(const std::string& path) override;
    Status removeLeftovers(const std::string& path) override;
    /// Holds a named mutex of the session, named after the folder's full
    /// path in lower case.
    Result<std::unique_ptr<UpdateHold>> holdUpdates(const std::string& path,
                                                    std::chrono::milliseconds wait) override;

private:
    Flush flush_;
};

} // namespace platform
