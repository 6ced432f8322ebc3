#pragma once

// The machine's file system with faults a test can switch on per path:
// a failing open, read, removal or atomic replacement, as a locked,
// unreadable or full disk would give; a read-only file; a write that stops
// part-way; and another process acting on the file just before it is opened.

// standard
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

// ours
#include "platform/nativefilesystem.h"

namespace testsupport {

/// What the fault tests do to the file a flow writes.
enum class Fault {
    Vanishes,     // deleted by another process between the choice and the write
    ReadOnly,     // no write permission
    Locked,       // held by another process
    Shortened,    // cut to half its length between the choice and the write
    DiskFull,     // the atomic replacement fails
    BackupFails,  // the disk is full when the backup beside the file is made
    BreaksMidway, // an in-place write stops after 10 bytes
};

/// The fault's name as the tests name their cases: "Vanishes".
const char* faultName(Fault fault);

/// Thrown where a test kills the program: nothing after that point runs,
/// and what is on the disk stays as it is.
struct Killed {};

class FaultyFileSystem final : public platform::FileSystem {
public:
    std::set<std::string> failOpen;    // openExisting, replaceAtomically and createNew fail ("in use")
    std::set<std::string> failRead;    // readAll fails
    std::set<std::string> failReplace; // replaceAtomically and createNew fail ("disk full")
    std::set<std::string> failWrite;   // ByteFile::write fails after opening
    std::set<std::string> readOnly;    // opening for writing and replacing fail ("Permission denied")
    /// ByteFile::write puts this many bytes in all on the disk, then fails
    /// ("Input/output error"), as a medium that breaks mid-way would.
    std::map<std::string, std::uint64_t> failWriteAfter;
    /// As failWriteAfter, but the medium recovers: the writes after the one
    /// that failed go through, as a network folder that drops and comes back
    /// would give.
    std::map<std::string, std::uint64_t> failWriteOnceAfter;
    std::set<std::string> failRemove; // remove fails ("Permission denied")
    /// The program is killed (Killed is thrown) once this many bytes in all
    /// have been written to the path through ByteFile: the write that would
    /// pass the count puts its first part on the disk, and a flush or close
    /// after the count is reached never happens.
    std::map<std::string, std::uint64_t> killAfter;
    /// The program is killed just before it would delete the path.
    std::set<std::string> killOnRemove;
    /// Runs once, just before the next openExisting, replaceAtomically or
    /// createNew of the path: another process deleting, shortening or locking
    /// the file after it was chosen, or patching it while ours is at work.
    std::map<std::string, std::function<void()>> beforeOpen;

    void inject(Fault fault, const std::string& path);
    void clearFaults();

    bool isFile(const std::string& path) override { return real_.isFile(path); }
    platform::Result<std::uint64_t> length(const std::string& path) override { return real_.length(path); }
    platform::Status remove(const std::string& path) override
    {
        if (killOnRemove.count(path))
            throw Killed{};
        if (failRemove.count(path))
            return platform::Status::failure("Could not remove " + path + ": Permission denied", "Permission denied");
        return real_.remove(path);
    }
    platform::Result<std::unique_ptr<platform::ByteFile>> openExisting(const std::string& path,
                                                                      platform::Access access) override;
    platform::Result<std::string> readAll(const std::string& path) override;
    platform::Status replaceAtomically(const std::string& path, std::string_view bytes) override;
    platform::Result<platform::Entry> entry(const std::string& path) override { return real_.entry(path); }
    platform::Status createNew(const std::string& path, std::string_view bytes) override;
    platform::Status checkCreatable(const std::string& path) override { return real_.checkCreatable(path); }
    platform::Status removeLeftovers(const std::string& path) override { return real_.removeLeftovers(path); }
    platform::Result<std::unique_ptr<platform::UpdateHold>> holdUpdates(const std::string& path,
                                                                        std::chrono::milliseconds wait) override
    {
        return real_.holdUpdates(path, wait);
    }

private:
    void runBeforeOpen(const std::string& path);
    /// Runs the path's hook, then the refusal that a replacement or a
    /// creation of the path meets; success when it meets none.
    platform::Status wholeWriteFault(const std::string& path);
    platform::NativeFileSystem real_;
};

} // namespace testsupport
