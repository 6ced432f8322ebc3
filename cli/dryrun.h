#pragma once
// A look at a patch before it is made: the same flow, with every check and
// refusal, run over a file system that keeps what the flow would write in
// memory. The game file is opened as the flow opens it (so a file another
// program holds is refused as in use), but nothing is written: no byte of
// any file, no backup, no journal, and an unfinished patch's journal is
// rolled back only in memory.

// standard
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// ours
#include "platform/filesystem.h"

namespace cli {

class DryRunFileSystem final : public platform::FileSystem {
public:
    enum class Opening {
        AsAsked,    // a game file is held as the flow asks, for its checks
        ForReading, // every file is opened for reading alone (a comparison)
    };
    explicit DryRunFileSystem(platform::FileSystem& real, Opening opening = Opening::AsAsked)
        : real_(real), opening_(opening)
    {
    }

    bool isFile(const std::string& path) override;
    platform::Result<std::uint64_t> length(const std::string& path) override;
    platform::Status remove(const std::string& path) override;
    platform::Result<std::unique_ptr<platform::ByteFile>> openExisting(const std::string& path,
                                                                       platform::Access access) override;
    platform::Result<std::string> readAll(const std::string& path) override;
    platform::Status replaceAtomically(const std::string& path, std::string_view bytes) override;
    platform::Result<platform::Entry> entry(const std::string& path) override;
    platform::Status createNew(const std::string& path, std::string_view bytes) override;
    /// What the real file system answers: the dry run makes nothing.
    platform::Status checkCreatable(const std::string& path) override;
    platform::Status removeLeftovers(const std::string& path) override;
    /// Holds nothing: a dry run replaces no file.
    platform::Result<std::unique_ptr<platform::UpdateHold>> holdUpdates(const std::string& path,
                                                                        std::chrono::milliseconds wait) override;

private:
    friend class ShadowFile;
    platform::FileSystem& real_;
    Opening opening_;
    std::map<std::string, std::string> made_; // files made or replaced, in memory
    std::set<std::string> removed_;           // files removed, in memory
public:
    /// The runs of bytes written to an existing file, by offset: disjoint,
    /// with a gap between any two.
    using Runs = std::map<std::uint64_t, std::vector<std::uint8_t>>;
    /// What was written to the existing file at `path`; empty when nothing.
    const Runs& written(const std::string& path) const;

private:
    std::map<std::string, Runs> shadows_;
};

/// Rolls back, in the dry-run file system's memory, a patch of the file at
/// `path` that a killed program left unfinished, as the next patch will:
/// afterwards the file reads as that patch will find it. Gives the note a
/// real rollback gives, or empty when there was nothing to roll back.
platform::Result<std::string> previewRollBack(DryRunFileSystem& files, const std::string& path);

/// How a patch of a game file ended: success, or the refusal and the file
/// it is reported on; and what is said of the game file after a patch that
/// went through.
struct PatchOutcome {
    PatchOutcome(std::string refused, platform::Status outcome = platform::Status::success())
        : file(std::move(refused)), status(std::move(outcome))
    {
    }
    std::string file;
    platform::Status status;
    std::vector<std::string> remarks;
};
using Patch = std::function<PatchOutcome(platform::FileSystem& files)>;

/// The change list from the file as the patch finds it (`before`) to the
/// file as it leaves it (`after`), both at the same path.
using ChangeList = std::function<platform::Result<std::vector<std::string>>(platform::FileSystem& before,
                                                                            platform::FileSystem& after)>;

/// How many bytes of the file at `path` read differently through the two
/// dry-run file systems; only the bytes either has written can differ.
platform::Result<std::uint64_t> differingBytes(DryRunFileSystem& a, DryRunFileSystem& b, const std::string& path);

/// Reports a refusal of a patching command as its patch's refusals are
/// reported: one that does not say what became of the file ends with
/// "Nothing was written.".
void reportRefusal(const std::string& file, const platform::Status& failure);

/// Makes the patch of `game`: the notes of an unfinished patch it rolled
/// back, then its refusal or its remarks, on standard error. Exit status 0
/// or 1.
int runPatch(platform::FileSystem& files, const std::string& game, const Patch& patch);

/// Runs the patch of `game` over a dry-run file system and prints its
/// change list, one line each; writes nothing. A refusal is reported as the
/// patch reports it, and the status is 1; otherwise 0.
int dryRunPatch(platform::FileSystem& files, const std::string& game, const Patch& patch,
                const ChangeList& changes);

} // namespace cli
