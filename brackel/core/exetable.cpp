#include "brackel/core/exetable.h"

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
        const std::string needs = "Too many attachments are allowed: " + std::to_string(needed) + " entries are needed,";
        const std::string holds = "but the table of the game holds only " + std::to_string(kTableEntries) + ".";
        const std::string excess = std::to_string(needed - kTableEntries);
        return platform::Status::failure({needs, holds, "Clear " + excess + " of them and save again. Nothing was written."},
                                         needs + " " + holds + " Allow " + excess + " fewer. Nothing was written.");
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

platform::OwnedBytes attachmentTable(const std::string& path, const ExeVersion& version)
{
    return [path, &version](std::uint64_t length) -> platform::Result<platform::PatchSpan> {
        if (length != version.length)
            return platform::Status::failure("The file " + path + " has changed its length since its version was "
                                             "checked.", {}, path);
        return platform::PatchSpan{version.tableOffset, kTableBytes};
    };
}

platform::Result<TableContents> readdata(platform::FileSystem& files, const std::string& path,
                                         const ExeVersion& version, platform::Reading reading)
{
    auto read = platform::readGameFile(files, path, attachmentTable(path, version), reading);
    if (!read)
        return read.status();
    return decodeTable(std::span<const std::uint8_t, kTableBytes>(read->bytes.data(), kTableBytes));
}

platform::Status writedata(platform::FileSystem& files, const std::string& path, const ExeVersion& version,
                           const Flags& flags)
{
    auto table = encodeTable(flags);
    if (!table)
        return table.status();
    return platform::patchGameFile(files, path, attachmentTable(path, version),
                                   [&table](const platform::GameFileBytes&) {
                                       return platform::Result<std::vector<std::uint8_t>>(
                                           std::vector<std::uint8_t>(table->begin(), table->end()));
                                   });
}

} // namespace brackel
