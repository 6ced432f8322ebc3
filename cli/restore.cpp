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
#include "platform/gamefilepatch.h"
#include "platform/gamefiles.h"
#include "platform/paths.h"

namespace cli {

namespace {

/// The files are compared this many bytes at a time.
constexpr std::size_t kChunk = 64 * 1024;

/// How many bytes of the two files of `length` bytes differ outside the
/// run `owned`, read a chunk at a time.
platform::Result<std::uint64_t> differingOutside(platform::ByteFile& now, platform::ByteFile& old,
                                                 std::uint64_t length, const platform::PatchSpan& owned)
{
    std::uint64_t differing = 0;
    std::vector<std::uint8_t> a(kChunk), b(kChunk);
    for (std::uint64_t at = 0; at < length; at += kChunk) {
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - at));
        if (auto read = now.read(at, std::span(a).first(count)); !read)
            return read;
        if (auto read = old.read(at, std::span(b).first(count)); !read)
            return read;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t offset = at + i;
            const bool inside = offset >= owned.offset && offset - owned.offset < owned.length;
            differing += a[i] != b[i] && !inside;
        }
    }
    return differing;
}

/// A refusal of the restore, naming the file: "FILE: reason. Nothing was written."
platform::Status refused(const std::string& path, const std::string& reason)
{
    return platform::Status::failure({"Could not restore " + path + ":", reason}, reason, path).nothingWritten();
}

/// The item text layout for a dry run's change list: the one asked for,
/// else Braydesc's for a file named so, else Itemdesc's.
velloc::FileType itemLayout(const Arguments& args, const std::string& path)
{
    if (args.has("--itemdesc") || args.has("--braydesc"))
        return args.has("--braydesc") ? velloc::FileType::BobbyRay : velloc::FileType::Items;
    const std::string name = platform::asciiLower(platform::nameOf(path));
    return name.find("braydesc") != std::string::npos ? velloc::FileType::BobbyRay : velloc::FileType::Items;
}

} // namespace

platform::Status restoreBackup(platform::FileSystem& files, const std::string& path, std::vector<std::string>* remarks)
{
    const std::string backup = platform::backupPath(path);
    // A file that is not there is said to be missing, in the system's words,
    // whatever lies beside it.
    if (auto there = files.entry(path); there && there->kind == platform::Entry::Kind::Missing)
        if (auto size = files.length(path); !size)
            return refused(path, size.reason());
    auto found = files.entry(backup);
    if (!found)
        return refused(path, found.reason());
    if (found->kind == platform::Entry::Kind::Missing)
        return refused(path, "There is no backup " + backup + ".");

    auto length = files.length(path);
    if (!length)
        return length.status().nothingWritten();
    if (!gameFileKind(*length))
        return refused(path, "The file is " + std::to_string(*length) +
                                 " bytes long, the length of no game file the editors patch.");
    // Believed as a patch believes it before it makes one. A backup is a copy
    // of the whole file, and a restore patches the file in place: both have
    // one length, which also makes them of one kind.
    if (const std::string why = platform::notABackup(*found, *length); !why.empty())
        return refused(path, backup + " is not a backup of this file (" + why + ")");

    // The backup's owned bytes are read while the file is held, and only
    // those are patched back.
    return platform::patchGameFile(
        files, path, ownedBytes(*gameFileKind(*length), path),
        [&](const platform::GameFileBytes& current) -> platform::Result<std::vector<std::uint8_t>> {
            if (current.length != *length)
                return refused(path, "The file has changed its length since it was checked.");
            if (*gameFileKind(*length) == GameFile::Profile) {
                const std::string what = platform::notAProfile(
                    std::string_view(reinterpret_cast<const char*>(current.bytes.data()), current.bytes.size()));
                if (!what.empty())
                    return refused(path, "The file is " + what + ", not a custom mercenary profile.");
            }
            auto saved = files.openExisting(backup, platform::Access::Read);
            if (!saved)
                return saved.status().nothingWritten();
            if ((*saved)->size() != *length)
                return refused(path, backup + " is not a backup of this file (it changed while it was checked)");
            std::vector<std::uint8_t> bytes(current.bytes.size());
            if (auto read = (*saved)->read(current.owned.offset, bytes); !read)
                return read.nothingWritten();
            if (remarks) {
                auto now = files.openExisting(path, platform::Access::Read);
                if (!now)
                    return now.status().nothingWritten();
                auto outside = differingOutside(**now, **saved, *length, current.owned);
                if (!outside)
                    return outside.status().nothingWritten();
                if (*outside == 1)
                    remarks->push_back("1 byte outside those the editors patch differs from the backup; it is left "
                                       "as it is.");
                else if (*outside > 1)
                    remarks->push_back(std::to_string(*outside) + " bytes outside those the editors patch differ "
                                       "from the backup; they are left as they are.");
            }
            return bytes;
        });
}

int restore(const std::vector<std::string>& words, platform::FileSystem& files)
{
    const Arguments args(words, {}, {"--dry-run", "--itemdesc", "--braydesc"});
    args.expectOperands(1, 1);
    if (args.has("--itemdesc") && args.has("--braydesc"))
        throw UsageError{"--itemdesc and --braydesc exclude each other"};
    const std::string& path = args.operands()[0];
    const Patch patch = [&](platform::FileSystem& on) {
        PatchOutcome outcome{path};
        outcome.status = restoreBackup(on, path, &outcome.remarks);
        return outcome;
    };
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
