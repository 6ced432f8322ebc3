#include "platform/gamefilepatch.h"

// standard
#include <algorithm>
#include <cassert>
#include <new>

// ours
#include "platform/backup.h"

namespace platform {

namespace {

/// Whether the owned bytes lie inside a file of `length` bytes, as OwnedBytes
/// promises.
[[maybe_unused]] bool inside(const PatchSpan& owned, std::uint64_t length)
{
    return owned.offset <= length && owned.length <= length - owned.offset;
}

/// Runs of changed bytes closer than this are journaled and written as one,
/// which keeps the journal and the number of writes small.
constexpr std::uint64_t kJoinedGap = 16;

/// The runs in which `now` differs from `old`, the owned bytes at `offset`.
std::vector<PatchJournal::Change> changedRuns(std::uint64_t offset, const std::vector<std::uint8_t>& old,
                                              const std::vector<std::uint8_t>& now)
{
    std::vector<std::pair<std::size_t, std::size_t>> runs; // begin, end
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (old[i] == now[i])
            continue;
        if (!runs.empty() && i - runs.back().second < kJoinedGap)
            runs.back().second = i + 1;
        else
            runs.emplace_back(i, i + 1);
    }
    std::vector<PatchJournal::Change> changes;
    for (const auto& [begin, end] : runs)
        changes.push_back({offset + begin, std::vector<std::uint8_t>(old.begin() + std::ptrdiff_t(begin),
                                                                     old.begin() + std::ptrdiff_t(end)),
                           std::vector<std::uint8_t>(now.begin() + std::ptrdiff_t(begin),
                                                     now.begin() + std::ptrdiff_t(end))});
    return changes;
}

/// A failure after the first byte was written: the old bytes are put back,
/// and the message says whether that worked and what the file holds.
Status undone(const Status& failure, PatchJournal& journal, ByteFile& file, const std::string& path)
{
    if (auto undo = journal.undo(file); !undo)
        return failure.withLine(path + " may be half-written: putting its old bytes back failed too (" + undo.reason() +
                                "). The journal " + journal.path() +
                                " beside it puts them back at the next patch, and " + backupPath(path) +
                                " holds the original.");
    return failure.withLine("What was written was put back: the file is as it was.");
}

/// Rolls back an unfinished patch of the held file, with a note for the user
/// when bytes were put back.
Status rollBack(FileSystem& files, const std::string& path, ByteFile& file, const OwnedBytes& owned)
{
    auto rolledBack = rollBackUnfinishedPatch(files, path, file, owned);
    if (!rolledBack)
        return rolledBack.status();
    if (!rolledBack->empty())
        files.addNote(*rolledBack);
    return Status::success();
}

Status patchHeld(FileSystem& files, const std::string& path, const OwnedBytes& owned, const PatchStep& step,
                 bool& writing)
{
    // Held for this program alone from the first read to the last write:
    // another patch of the file waits its turn (it is refused as in use)
    // rather than put its bytes into our backup or lose them under ours.
    auto opened = files.openExisting(path, Access::ReadWriteExclusive);
    if (!opened)
        return opened.status();
    ByteFile& file = **opened;
    // A patch a killed program left half-written is undone before anything
    // else looks at the file, so the step and the backup see it whole.
    if (auto rolledBack = rollBack(files, path, file, owned); !rolledBack)
        return rolledBack;
    auto range = owned(file.size());
    if (!range)
        return range.status().nothingWritten();
    assert(inside(*range, file.size()));
    GameFileBytes current{file.size(), *range, std::vector<std::uint8_t>(static_cast<std::size_t>(range->length))};
    if (auto read = file.read(range->offset, current.bytes); !read)
        return read.nothingWritten();
    auto next = step(current);
    if (!next)
        return next.status();
    if (next->size() != current.bytes.size())
        return Status::failure("The patch of " + path + " would change its length.", {}, path).nothingWritten();

    // The backup is made even when no byte changes: the first patch that
    // went through keeps the untouched file, whatever it changed.
    if (auto backup = ensureBackup(files, path, file); !backup)
        return backup.nothingWritten();
    std::vector<PatchJournal::Change> changes = changedRuns(range->offset, current.bytes, *next);
    if (changes.empty())
        return file.close();
    // The old and new bytes are on the disk beside the file before its first
    // byte changes: a kill mid-way is rolled back by the next program.
    auto journal = PatchJournal::begin(files, path, file.size(), std::move(changes));
    if (!journal)
        return journal.status().nothingWritten();
    writing = true;
    if (auto written = journal->write(file); !written)
        return undone(written, *journal, file, path);
    if (auto finished = journal->finish(file); !finished)
        return undone(finished, *journal, file, path);
    return file.close();
}

/// Reads the owned bytes through `file`, which is open for reading.
Result<GameFileBytes> readOwned(ByteFile& file, const OwnedBytes& owned)
{
    auto range = owned(file.size());
    if (!range)
        return range.status();
    assert(inside(*range, file.size()));
    GameFileBytes read{file.size(), *range, std::vector<std::uint8_t>(static_cast<std::size_t>(range->length))};
    if (auto done = file.read(range->offset, read.bytes); !done)
        return done;
    return read;
}

Result<GameFileBytes> readToEdit(FileSystem& files, const std::string& path, ByteFile& file, const OwnedBytes& owned)
{
    if (auto rolledBack = rollBack(files, path, file, owned); !rolledBack)
        return rolledBack;
    auto read = readOwned(file, owned);
    if (!read)
        return read;
    if (auto closed = file.close(); !closed)
        return closed;
    return read;
}

Result<GameFileBytes> readOnly(FileSystem& files, const std::string& path, const OwnedBytes& owned)
{
    auto opened = files.openExisting(path, Access::Read);
    if (!opened)
        return opened.status();
    ByteFile& file = **opened;
    // The journal is looked at before and after the bytes are read: a patch
    // that began or ended in between could have given torn bytes.
    auto before = checkJournal(files, path, file, owned);
    if (!before)
        return before.status();
    auto read = readOwned(file, owned);
    if (!read)
        return read;
    auto after = checkJournal(files, path, file, owned);
    if (!after)
        return after.status();
    if (before->outcome != after->outcome)
        return Status::failure("Could not read " + path + ": another program is patching it; try again.", {}, path);
    if (before->outcome == JournalCheck::Outcome::Unfinished) {
        for (const SavedBytes& old : before->old)
            std::copy(old.bytes.begin(), old.bytes.end(),
                      read->bytes.begin() + std::ptrdiff_t(old.offset - read->owned.offset));
        files.addNote(shownRolledBackNote(path));
    }
    if (auto closed = file.close(); !closed)
        return closed;
    return read;
}

Status outOfMemory(const std::string& path, const std::string& what)
{
    return Status::failure("There is not enough memory to " + what + " " + path + ".", {}, path);
}

} // namespace

Status patchGameFile(FileSystem& files, const std::string& path, const OwnedBytes& owned, const PatchStep& step)
{
    bool writing = false;
    try {
        return patchHeld(files, path, owned, step, writing);
    } catch (const std::bad_alloc&) {
        if (!writing)
            return outOfMemory(path, "patch").nothingWritten();
        // Only a message could not be made once the bytes were being written.
        return outOfMemory(path, "finish the patch of")
            .withLine(path + " may be half-written. The journal " + journalPath(path) +
                      " beside it puts it right at the next patch, and " + backupPath(path) + " holds the original.");
    }
}

Result<GameFileBytes> readGameFile(FileSystem& files, const std::string& path, const OwnedBytes& owned,
                                   Reading reading)
{
    try {
        if (reading == Reading::ToEdit) {
            // A file this program may not write, or one another program
            // holds, is read as a reader reads it; its save will say why.
            if (auto held = files.openExisting(path, Access::ReadWriteExclusive))
                return readToEdit(files, path, **held, owned);
        }
        return readOnly(files, path, owned);
    } catch (const std::bad_alloc&) {
        return outOfMemory(path, "read");
    }
}

std::string shownRolledBackNote(const std::string& path)
{
    return path + " holds an unfinished patch: it is shown as it was before that patch, as the next patch of it "
                  "will roll it back.";
}

} // namespace platform
