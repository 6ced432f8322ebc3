#pragma once

// The machine's file system with faults a test can switch on per path:
// a failing open, read or atomic replacement, as a locked, unreadable or
// full disk would give.

// standard
#include <set>
#include <string>

// ours
#include "platform/posixfilesystem.h"

namespace testsupport {

class FaultyFileSystem final : public platform::FileSystem {
public:
    std::set<std::string> failOpen;    // openExisting fails ("in use")
    std::set<std::string> failRead;    // readAll fails
    std::set<std::string> failReplace; // replaceAtomically fails ("disk full")
    std::set<std::string> failWrite;   // ByteFile::write fails after opening

    bool exists(const std::string& path) override { return real_.exists(path); }
    platform::Result<std::uint64_t> length(const std::string& path) override { return real_.length(path); }
    platform::Status remove(const std::string& path) override { return real_.remove(path); }
    platform::Result<std::unique_ptr<platform::ByteFile>> openExisting(const std::string& path,
                                                                      platform::Access access) override;
    platform::Result<std::string> readAll(const std::string& path) override;
    platform::Status replaceAtomically(const std::string& path, std::string_view bytes) override;

private:
    platform::PosixFileSystem real_;
};

} // namespace testsupport
