#pragma once

// The rollback journal that makes a patch of a game file all or nothing
// while the file is still patched in place (its identity, length and every
// byte outside the patched fields stay). Before the first byte is written,
// the old values of the bytes about to be written are saved beside the file
// and flushed; the file is patched and flushed; then the journal is deleted.
// A program killed in between leaves the journal, and the next patch of the
// file puts the old bytes back before it begins.
//
// The journal (".<name>.varnhold-journal" beside the file) holds:
//   the line "varnhold patch journal 1\n",
//   the file's length (8 bytes, least significant first),
//   the number of spans (4 bytes), then each span: its offset and length
//   (8 bytes each) and its old bytes,
//   and the FNV-1a 64 checksum of everything before it (8 bytes).
// It is made as a new file (FileSystem::createNew), so it appears whole or
// not at all; the checksum still guards against a damaged one.

// standard
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"

namespace platform {

/// The journal's path beside the file: "/games/.vrn.exe.varnhold-journal".
std::string journalPath(const std::string& path);

/// A run of bytes a patch writes.
struct PatchSpan {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

/// Rolls back a patch of the file at `path` that a killed program left
/// unfinished. Called right after the file is opened for exclusive use,
/// before anything else is read from it or written to it.
///
/// A whole journal for a file of this length has its old bytes written back,
/// the file flushed and the journal deleted; the result is then the note
/// "An unfinished patch of <path> was rolled back." for the user. A journal
/// that is damaged or made for a file of another length was never finished
/// and so the file was never touched: it is deleted and the result is empty,
/// as it is when there is no journal.
[[nodiscard]] Result<std::string> rollBackUnfinishedPatch(FileSystem& files, const std::string& path,
                                                          ByteFile& file);

/// The journal of one patch, from before its first write to its end.
class PatchJournal {
public:
    /// Saves the old bytes of the spans, read through `file`, in the
    /// journal beside `path`; the journal is on the disk when this returns.
    /// A failure writes nothing to the file; its message names the journal.
    [[nodiscard]] static Result<PatchJournal> begin(FileSystem& files, const std::string& path, ByteFile& file,
                                                    std::span<const PatchSpan> spans);

    /// The patch is written: flushes the file, then deletes the journal.
    [[nodiscard]] Status finish(ByteFile& file);

    /// The patch failed part-way: writes the old bytes back, flushes the file
    /// and deletes the journal. When that fails too, the journal stays for
    /// the next patch to roll back. Returns whether the file is as it was.
    bool undo(ByteFile& file);

    /// The patch failed before any of its bytes reached the file: deletes
    /// the journal, which has nothing to put back.
    void discard();

private:
    struct Saved {
        std::uint64_t offset;
        std::vector<std::uint8_t> bytes;
    };
    PatchJournal(FileSystem& files, std::string journal, std::vector<Saved> saved)
        : files_(&files), journal_(std::move(journal)), saved_(std::move(saved))
    {
    }
    FileSystem* files_;
    std::string journal_;
    std::vector<Saved> saved_;
};

} // namespace platform
