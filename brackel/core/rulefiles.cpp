#include "brackel/core/rulefiles.h"

// ours
#include "brackel/core/brkfile.h"
#include "brackel/core/exetable.h"
#include "platform/fieldmerge.h"
#include "platform/textlines.h"

namespace brackel {

platform::Result<LoadedRules> loadRules(platform::FileSystem& files, const std::string& path,
                                        platform::Reading reading)
{
    auto length = files.length(path);
    if (!length)
        return length.status();
    LoadedRules rules;
    if (const ExeVersion* version = detectversion(*length)) {
        auto table = readdata(files, path, *version, reading);
        if (!table)
            return table.status();
        rules.kind = FileKind::Executable;
        rules.tag = version->tag;
        rules.flags = table->flags;
        rules.remaining = table->remaining;
        return rules;
    }
    // Neither a known build nor a Brackel file: the box says so in the
    // window's words, the reason says which test the file failed.
    const platform::Message unknown = {"Could not open file,", "wrong file format or", "unknown VRN-Version"};
    const std::string noBuild = "The file is " + std::to_string(*length) + " bytes long, the length of no known build of "
                                "the game executable, ";
    if (platform::tooLargeForText(*length))
        return platform::Status::failure(unknown, noBuild + "and " + std::string(platform::kTextFileLimit) + ".", path);
    auto lines = platform::readTextLines(files, path);
    if (!lines)
        return lines.status();
    const BrkParse brk = parseBrk(*lines);
    if (brk.outcome == BrkParse::Outcome::Malformed)
        return platform::Status::failure({"Could not open file,", path, "The Brackel file is damaged at " + brk.error},
                                         "The Brackel file is damaged at " + brk.error, path);
    if (brk.outcome == BrkParse::Outcome::NotBrk)
        return platform::Status::failure(unknown, noBuild + "and it has no line \"mode=brackel\" of a Brackel file.",
                                         path);
    rules.kind = FileKind::Brk;
    rules.flags = brk.contents.flags;
    rules.remaining = brk.contents.remaining;
    return rules;
}

namespace {

/// The build of the executable at path, by its length; "Unknown version !"
/// for a file of no known build's length.
platform::Result<const ExeVersion*> buildOf(platform::FileSystem& files, const std::string& path)
{
    auto length = files.length(path);
    if (!length)
        return length.status();
    const ExeVersion* version = detectversion(*length);
    if (!version)
        return platform::Status::failure("Unknown version !",
                                         "The file is " + std::to_string(*length) +
                                             " bytes long, the length of no known build of the game executable.",
                                         path);
    return version;
}

} // namespace

platform::Result<std::string_view> applyRules(platform::FileSystem& files, const std::string& path,
                                              const Flags& flags)
{
    auto found = buildOf(files, path);
    if (!found)
        return found.status();
    const ExeVersion* version = *found;
    if (auto written = writedata(files, path, *version, flags); !written)
        return written;
    return version->tag;
}

namespace {

/// Whether weapon `position` has the same eight flags in both.
bool sameWeapon(const Flags& a, const Flags& b, int position)
{
    for (const KindInfo& k : kKinds)
        if (a.get(k.kind, position) != b.get(k.kind, position))
            return false;
    return true;
}

void copyWeapon(const Flags& from, Flags& to, int position)
{
    for (const KindInfo& k : kKinds)
        to.set(k.kind, position, from.get(k.kind, position));
}

} // namespace

platform::Result<MergedRules> applyRulesOver(platform::FileSystem& files, const std::string& path, const Flags& ours,
                                             const Flags& base, const ResolveConflicts& resolve)
{
    auto found = buildOf(files, path);
    if (!found)
        return found.status();
    const ExeVersion* version = *found;
    MergedRules merged;
    auto patched = platform::patchGameFile(
        files, path, attachmentTable(path, *version),
        [&](const platform::GameFileBytes& current) -> platform::Result<std::vector<std::uint8_t>> {
            const Flags theirs =
                decodeTable(std::span<const std::uint8_t, kTableBytes>(current.bytes.data(), kTableBytes)).flags;
            const Flags* sides[] = {&base, &ours, &theirs};
            const platform::FieldMerge merge =
                platform::mergeFields(kWeaponCount, [&](std::size_t p, platform::Side a, platform::Side b) {
                    return sameWeapon(*sides[int(a)], *sides[int(b)], int(p));
                });
            Flags result = theirs;
            for (std::size_t p : merge.ours)
                copyWeapon(ours, result, int(p));
            if (!merge.conflicts.empty()) {
                if (!resolve(std::vector<int>(merge.conflicts.begin(), merge.conflicts.end()))) {
                    merged.cancelled = true;
                    return platform::Status::failure("The save was cancelled.").nothingWritten();
                }
                for (std::size_t p : merge.conflicts)
                    copyWeapon(ours, result, int(p));
            }
            auto table = encodeTable(result);
            if (!table)
                return table.status();
            merged.flags = result;
            merged.remaining = kTableEntries - result.count();
            merged.theirsKept = merge.theirsKept;
            return std::vector<std::uint8_t>(table->begin(), table->end());
        });
    if (merged.cancelled)
        return merged;
    if (!patched)
        return patched;
    return merged;
}

platform::Status writeRules(platform::FileSystem& files, const std::string& path, const Flags& flags, int remaining)
{
    return platform::writeTextLines(files, path, brkLines(flags, remaining));
}

} // namespace brackel
