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

    bool exists(const std::string& path) override;
    Result<std::uint64_t> length(const std::string& path) override;
    Status remove(const std::string& path) override;
    Result<std::unique_ptr<ByteFile>> openExisting(const std::string& path, Access access) override;
    Result<std::string> readAll(const std::string& path) override;
    Status replaceAtomically(const std::string& path, std::string_view bytes) override;

private:
    Sync sync_;
};

} // namespace platform
