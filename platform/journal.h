#pragma once

// The rollback journal that makes a patch of a game file all or nothing
// while the file is still patched in place (its identity, length and every
// byte outside the patched fields stay). Before the first byte is written,
// the old and the new values of the bytes about to change are saved beside
// the file and flushed; the file is patched and flushed; then the journal is
// deleted. A program killed in between leaves the journal, and the next
// program to open the file puts the old bytes back before it reads.
//
// The journal (".<name>.varnhold-journal" beside the file) holds:
//   the line "varnhold patch journal 2\n",
//   the file's length (8 bytes, least significant first),
//   the number of spans (4 bytes), then each span: its offset and length
//   (8 bytes each), its old bytes and its new bytes,
//   and the SHA-256 of everything before it (32 bytes).
// It is made as a new file (FileSystem::createNew), so it appears whole or
// not at all.
//
// A journal is believed only as far as it proves itself. The rules, checked
// in this order against the file as it is held now:
//   1. A journal longer than any this file can need, or of another version,
//      is refused: the patch stops, nothing is written, and the journal
//      stays, named in the message, for the user to move away. A longer one
//      is never read whole.
//   2. A journal that does not begin as one, is cut short or fails its hash
//      was never whole, so its patch never began: it is removed and the file
//      left untouched.
//   3. A journal of another file length, with no span, an empty span,
//      overlapping spans or a span outside the bytes the program owns in
//      the file is refused as in 1.
//   4. Every byte of every span must hold its old or its new value, which is
//      all a killed patch can leave. Any other value means the file changed
//      since, or the journal is another file's: refused as in 1.
//   5. When every byte still holds its old value, the patch never reached
//      the file: the journal is removed and nothing is said.
//   6. Otherwise the old bytes are written back, the file flushed, and the
//      journal removed; the user is told the patch was rolled back.
// A program that only reads the file applies rule 6 in memory and removes
// nothing (gamefilepatch.h).

// standard
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"

namespace platform {

/// A run of bytes of a file.
struct PatchSpan {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

/// The run of bytes a program owns in a game file of the given length: the
/// only bytes a patch of it may change, and so the only ones a journal
/// beside it may put back. A file of a length that is none of the kind's is
/// refused with the message the user is shown.
using OwnedBytes = std::function<Result<PatchSpan>(std::uint64_t length)>;

/// The journal's path beside the file: "/games/.vrn.exe.varnhold-journal".
/// A name too long to leave room for the journal's is cut (never inside a
/// UTF-8 character) and followed by a hash of the whole name, so that the
/// journal's name, and the temporary name it is made under, always fit.
std::string journalPath(const std::string& path);

/// Bytes of a file at an offset.
struct SavedBytes {
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> bytes;
};

/// What the journal beside a file says of it, checked by the rules above.
struct JournalCheck {
    enum class Outcome {
        None,       // there is no journal
        Void,       // rules 2 and 5: to be removed, the file left as it is
        Unfinished, // rule 6: `old` is to be put back
    };
    Outcome outcome = Outcome::None;
    std::vector<SavedBytes> old;
};

/// Reads the journal beside `path` and checks it against the file as `file`
/// holds it; nothing is written or removed. Each failure names the file that
/// failed:
///   - a refused journal (rules 1, 3 and 4), or something other than a
///     regular file in its place, is a failure whose message names the
///     journal and why, and what to do; its path() is the game file's;
///   - a journal that cannot be looked at or read: "Could not check the
///     patch journal JOURNAL: why", whose path() is the journal's;
///   - a failed read of the file itself is that read's own failure, which
///     names the file ("Could not read PATH: why");
///   - when there is a journal to check, a file whose length `owned`
///     refuses gets `owned`'s refusal, which names the file.
[[nodiscard]] Result<JournalCheck> checkJournal(FileSystem& files, const std::string& path, ByteFile& file,
                                                const OwnedBytes& owned);

/// Rolls back a patch of the file at `path` that a killed program left
/// unfinished. Called right after the file is opened for exclusive use,
/// before anything else is read from it or written to it. Gives the note
/// "An unfinished patch of <path> was rolled back." when it put bytes back,
/// and empty when there was nothing to put back. A failure says what the
/// file holds: as it was when the rollback could not begin, or half-written
/// with its journal kept for the next patch.
[[nodiscard]] Result<std::string> rollBackUnfinishedPatch(FileSystem& files, const std::string& path,
                                                          ByteFile& file, const OwnedBytes& owned);

/// The journal of one patch, from before its first write to its end.
class PatchJournal {
public:
    /// One run the patch changes: its offset, its old bytes and its new ones
    /// (of the same length, not empty). The runs of a patch lie inside the
    /// file, in order, and do not overlap: a journal of other runs would be
    /// refused when read back (rule 3).
    struct Change {
        std::uint64_t offset = 0;
        std::vector<std::uint8_t> old;
        std::vector<std::uint8_t> now;
    };

    /// Saves the changes (at least one) in the journal beside `path`, for a
    /// file of `length` bytes; the journal is on the disk when this returns. A
    /// failure has written nothing to the file; its message names the
    /// journal.
    [[nodiscard]] static Result<PatchJournal> begin(FileSystem& files, const std::string& path, std::uint64_t length,
                                                    std::vector<Change> changes);

    /// The journal's whole bytes for these changes, as begin writes them;
    /// any changes are encoded, even ones begin would not take.
    static std::string encode(std::uint64_t length, const std::vector<Change>& changes);

    /// Writes the new bytes of every change into the file.
    [[nodiscard]] Status write(ByteFile& file) const;

    /// The patch is written: flushes the file, then deletes the journal.
    [[nodiscard]] Status finish(ByteFile& file);

    /// The patch failed part-way: writes the old bytes back, flushes the file
    /// and deletes the journal. A failure means the old bytes could not be
    /// put back: the file may be half-written, and the journal stays for the
    /// next patch to roll back. A journal that cannot be deleted once the
    /// old bytes are back is left for the next patch to drop (rule 5).
    [[nodiscard]] Status undo(ByteFile& file);

    const std::string& path() const { return journal_; }

private:
    PatchJournal(FileSystem& files, std::string journal, std::vector<Change> changes)
        : files_(&files), journal_(std::move(journal)), changes_(std::move(changes))
    {
    }
    FileSystem* files_;
    std::string journal_;
    std::vector<Change> changes_;
};

} // namespace platform
