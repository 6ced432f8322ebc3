#include "brackel/core/exetable.h"

// ours
#include "platform/backup.h"
#include "platform/journal.h"

namespace brackel {

const ExeVersion* detectversion(std::uint64_t length)
{
    return platform::gameBuildOfLength(length);
}

TableContents decodeTable(std::span<const std::uint8_t, kTableBytes> table)
{
    TableContents contents;
    for (int entry = 0; entry < kTableEntries; ++entry) {
        const std::uint8_t* e = table.data() + entry * 4;
        const int item = e[0] | (e[1] << 8);
        const int position = e[2] == 0 ? 0 : e[2] - 1;
        if (position >= kWeaponCount)
            continue;
        for (const KindInfo& k : kKinds) {
            if (k.item == item) {
                contents.flags.set(k.kind, position, true);
                --contents.remaining;
                break;
            }
        }
    }
    return contents;
}

platform::Result<TableBytes> encodeTable(const Flags& flags)
{
    const int needed = flags.count();
    if (needed > kTableEntries) {
        const std::string counts = "Too many attachments are allowed: " + std::to_string(needed) +
                                   " entries are needed,\rbut the table of the game holds only " +
                                   std::to_string(kTableEntries) + ".\r";
        const std::string excess = std::to_string(needed - kTableEntries);
        return platform::Status::failure(counts + "Clear " + excess + " of them and save again. Nothing was written.",
                                         counts + "Allow " + excess + " fewer. Nothing was written.");
    }

    TableBytes table;
    table.fill(0xFF);
    std::size_t at = 0;
    for (const KindInfo& k : kKinds) {
        for (int p = 0; p < kWeaponCount; ++p) {
            if (!flags.get(k.kind, p))
                continue;
            table[at++] = static_cast<std::uint8_t>(k.item & 0xFF);
            table[at++] = static_cast<std::uint8_t>(k.item >> 8);
            table[at++] = static_cast<std::uint8_t>(p + 1);
            table[at++] = 0;
        }
    }
    return table;
}

platform::Result<TableContents> readdata(platform::FileSystem& files, const std::string& path,
                                         const ExeVersion& version)
{
    auto file = files.openExisting(path, platform::Access::Read);
    if (!file)
        return file.status();
    TableBytes table;
    if (auto read = (*file)->read(version.tableOffset, table); !read)
        return read;
    if (auto closed = (*file)->close(); !closed)
        return closed;
    return decodeTable(table);
}

platform::Status writedata(platform::FileSystem& files, const std::string& path, const ExeVersion& version,
                           const Flags& flags)
{
    auto table = encodeTable(flags);
    if (!table)
        return table.status();
    // Held for our use alone until the backup and the patch are done: a
    // second patch of the file waits its turn (it is refused as in use)
    // rather than put its table into our backup or ours over its own.
    auto file = files.openExisting(path, platform::Access::ReadWriteExclusive);
    if (!file)
        return file.status();
    // A patch a killed program left half-written is undone before anything
    // else looks at the file, so the backup and the checks see it whole.
    auto rolledBack = platform::rollBackUnfinishedPatch(files, path, **file);
    if (!rolledBack)
        return rolledBack.status();
    if (!rolledBack->empty())
        files.addNote(*rolledBack);
    if ((*file)->size() != version.length)
        return platform::Status::failure("The file " + path + " has changed its length since its version was "
                                         "checked.\rNothing was written.", {}, path);
    if (auto backup = platform::ensureBackup(files, path, **file); !backup)
        return backup.nothingWritten();
    // The table's old bytes are on the disk beside the file before its first
    // byte changes: a kill mid-way is rolled back by the next patch.
    const platform::PatchSpan span{version.tableOffset, kTableBytes};
    auto journal = platform::PatchJournal::begin(files, path, **file, std::span(&span, 1));
    if (!journal)
        return journal.status().nothingWritten();
    if (auto written = (*file)->write(version.tableOffset, *table); !written) {
        journal->undo(**file);
        return written;
    }
    if (auto finished = journal->finish(**file); !finished)
        return finished;
    return (*file)->close();
}

} // namespace brackel
