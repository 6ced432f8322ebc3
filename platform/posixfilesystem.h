#pragma once

// The file system of the machine the program runs on.

// standard
#include <functional>

// ours
#include "platform/filesystem.h"

namespace platform {

class PosixFileSystem final : public FileSystem {
public:
    /// Flushes what was written through a descriptor to the disk, as ::fsync
    /// does: returns 0, or -1 with errno set. Every flush the file system
    /// makes goes through it, so a test can see when data reaches the disk
    /// (and fail the flush).
    using Sync = std::function<int(int fd)>;

    PosixFileSystem();
    explicit PosixFileSystem(Sync sync);

    bool isFile(const std::string& path) override;
    Result<std::uint64_t> length(const std::string& path) override;
    Status remove(const std::string& path) override;
    Result<std::unique_ptr<ByteFile>> openExisting(const std::string& path, Access access) override;
    Result<std::string> readAll(const std::string& path) override;
    Status replaceAtomically(const std::string& path, std::string_view bytes) override;
    Result<Entry> entry(const std::string& path) override;
    /// The temporary file is made with O_CREAT | O_EXCL | O_NOFOLLOW and the
    /// permissions a new file gets (0666 less the creation mask), flushed,
    /// and given its name by a rename that refuses to replace
    /// (renameat2 RENAME_NOREPLACE), or, where the file system cannot do
    /// that, by link() and the removal of the temporary name.
    Status createNew(const std::string& path, std::string_view bytes) override;
    /// Asks faccessat, with the effective user's rights, whether the folder
    /// takes a new name.
    Status checkCreatable(const std::string& path) override;
    Status removeLeftovers(const std::string& path) override;
    /// Holds flock's lock of the folder. On a file system without flock
    /// the hold holds nothing.
    Result<std::unique_ptr<UpdateHold>> holdUpdates(const std::string& path,
                                                    std::chrono::milliseconds wait) override;

private:
    Sync sync_;
};

} // namespace platform
