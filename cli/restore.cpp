// A game file put back as its backup holds it: FILE.bak patched over FILE,
// all or nothing, the backup kept.

// standard
#include <algorithm>
#include <vector>

// ours
#include "cli/changes.h"
#include "cli/command.h"
#include "cli/restore.h"
#include "platform/ascii.h"
#include "platform/backup.h"
#include "platform/journal.h"

namespace cli {

namespace {

/// Runs of differing bytes closer than this are written as one, which keeps
/// the journal and the number of writes small when many bytes differ.
constexpr std::uint64_t kJoinedGap = 16;
/// The files are compared this many bytes at a time.
constexpr std::size_t kChunk = 64 * 1024;

/// The runs of bytes in which the two files of `length` bytes differ, read a
/// chunk at a time.
platform::Result<std::vector<platform::PatchSpan>> differingSpans(platform::ByteFile& now, platform::ByteFile& old,
                                                                  std::uint64_t length)
{
    std::vector<platform::PatchSpan> spans;
    std::vector<std::uint8_t> a(kChunk), b(kChunk);
    for (std::uint64_t at = 0; at < length; at += kChunk) {
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - at));
        if (auto read = now.read(at, std::span(a).first(count)); !read)
            return read;
        if (auto read = old.read(at, std::span(b).first(count)); !read)
            return read;
        for (std::size_t i = 0; i < count; ++i) {
            if (a[i] == b[i])
                continue;
            const std::uint64_t offset = at + i;
            if (!spans.empty() && offset - (spans.back().offset + spans.back().length) < kJoinedGap)
                spans.back().length = offset + 1 - spans.back().offset;
            else
                spans.push_back({offset, 1});
        }
    }
    return spans;
}

/// A refusal of the restore, naming the file: "FILE: reason. Nothing was written."
platform::Status refused(const std::string& path, const std::string& reason)
{
    return platform::Status::failure("Could not restore " + path + ":\r" + reason, reason, path).nothingWritten();
}

/// The item text layout for a dry run's change list: the one asked for,
/// else Braydesc's for a file named so, else Itemdesc's.
velloc::FileType itemLayout(const Arguments& args, const std::string& path)
{
    if (args.has("--itemdesc") || args.has("--braydesc"))
        return args.has("--braydesc") ? velloc::FileType::BobbyRay : velloc::FileType::Items;
    const std::string name = platform::asciiLower(std::string_view(path).substr(platform::folderOf(path).size()));
    return name.find("braydesc") != std::string::npos ? velloc::FileType::BobbyRay : velloc::FileType::Items;
}

} // namespace

platform::Status restoreBackup(platform::FileSystem& files, const std::string& path)
{
    const std::string backup = platform::backupPath(path);
    auto found = files.entry(backup);
    if (!found)
        return refused(path, found.reason());
    const auto notBackup = [&](const std::string& why) {
        return refused(path, backup + " is not a backup of this file (" + why + ")");
    };
    switch (found->kind) {
    case platform::Entry::Kind::Missing: return refused(path, "There is no backup " + backup + ".");
    case platform::Entry::Kind::Link: return notBackup("it is a symbolic link");
    case platform::Entry::Kind::Folder: return notBackup("it is a folder");
    case platform::Entry::Kind::Other: return notBackup("it is not a regular file");
    case platform::Entry::Kind::Regular: break;
    }
    if (found->names > 1)
        return notBackup("it is also a file of another name, a hard link");

    auto length = files.length(path);
    if (!length)
        return length.status().nothingWritten();
    if (!gameFileKind(*length))
        return refused(path, "The file is " + std::to_string(*length) +
                                 " bytes long, the length of no game file the editors patch.");
    // A backup is a copy of the whole file, and a restore patches the file in
    // place: both have one length, which also makes them of one kind.
    if (found->size != *length)
        return notBackup(found->size == 0 ? "it is empty"
                                          : "it is " + std::to_string(found->size) + " bytes long, not " +
                                                std::to_string(*length) + " as the file");

    auto file = files.openExisting(path, platform::Access::ReadWriteExclusive);
    if (!file)
        return file.status().nothingWritten();
    // A patch a killed program left half-written is undone first: its
    // journal would otherwise put its old bytes over the restored file.
    auto rolledBack = platform::rollBackUnfinishedPatch(files, path, **file);
    if (!rolledBack)
        return rolledBack.status();
    if (!rolledBack->empty())
        files.addNote(*rolledBack);
    if ((*file)->size() != *length)
        return refused(path, "The file has changed its length since it was checked.");
    auto saved = files.openExisting(backup, platform::Access::Read);
    if (!saved)
        return saved.status().nothingWritten();
    if ((*saved)->size() != *length)
        return notBackup("it changed while it was checked");
    auto spans = differingSpans(**file, **saved, *length);
    if (!spans)
        return spans.status().nothingWritten();
    if (spans->empty())
        return (*file)->close();

    auto journal = platform::PatchJournal::begin(files, path, **file, *spans);
    if (!journal)
        return journal.status().nothingWritten();
    std::vector<std::uint8_t> bytes;
    for (const platform::PatchSpan& span : *spans) {
        bytes.resize(static_cast<std::size_t>(span.length));
        auto written = (*saved)->read(span.offset, bytes);
        if (written)
            written = (*file)->write(span.offset, bytes);
        if (!written) {
            journal->undo(**file);
            return written;
        }
    }
    if (auto finished = journal->finish(**file); !finished)
        return finished;
    return (*file)->close();
}

int restore(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {}, {"--dry-run", "--itemdesc", "--braydesc"});
    args.expectOperands(1, 1);
    if (args.has("--itemdesc") && args.has("--braydesc"))
        throw UsageError{"--itemdesc and --braydesc exclude each other"};
    const std::string& path = args.operands()[0];
    const Patch patch = [&](platform::FileSystem& on) { return PatchOutcome{path, restoreBackup(on, path)}; };
    if (!args.has("--dry-run"))
        return runPatch(files, path, patch);
    // The kind is known once the restore has checked the file.
    const velloc::FileType type = itemLayout(args, path);
    const ChangeList changes = [&](platform::FileSystem& before, platform::FileSystem& after) {
        auto length = before.length(path);
        if (!length)
            return platform::Result<std::vector<std::string>>(length.status());
        return gameFileChanges(gameFileKind(*length).value_or(GameFile::Profile), path, type)(before, after);
    };
    return dryRunPatch(files, path, patch, changes);
}

} // namespace cli
