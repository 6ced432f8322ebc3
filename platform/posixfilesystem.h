#pragma once

// The file system of the machine the program runs on.

// ours
#include "platform/filesystem.h"

namespace platform {

class PosixFileSystem final : public FileSystem {
public:
    bool exists(const std::string& path) override;
    Result<std::uint64_t> length(const std::string& path) override;
    Status remove(const std::string& path) override;
    Result<std::unique_ptr<ByteFile>> openExisting(const std::string& path, Access access) override;
    Result<std::string> readAll(const std::string& path) override;
    Status replaceAtomically(const std::string& path, std::string_view bytes) override;
};

} // namespace platform
