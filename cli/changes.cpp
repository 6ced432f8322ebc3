#include "cli/changes.h"

// ours
#include "brackel/core/exetable.h"
#include "brackel/core/rulechanges.h"
#include "brackel/core/rulefiles.h"
#include "cli/command.h"
#include "cli/mercenary.h"
#include "kestrin/core/encapsulatedfile.h"
#include "kestrin/core/profilechanges.h"
#include "kestrin/core/profilerecord.h"
#include "platform/gamefiles.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/textlines.h"
#include "velloc/core/itemchanges.h"
#include "velloc/core/itemcodec.h"

namespace cli {

std::optional<GameFile> gameFileKind(std::uint64_t length)
{
    if (platform::gameBuildOfLength(length))
        return GameFile::Executable;
    if (length == platform::kItemFileLength)
        return GameFile::ItemFile;
    if (length >= kestrin::record::kMinimumLength)
        return GameFile::Profile;
    return std::nullopt;
}

platform::OwnedBytes ownedBytes(GameFile kind, const std::string& path)
{
    switch (kind) {
    case GameFile::Executable:
        return [path](std::uint64_t length) -> platform::Result<platform::PatchSpan> {
            const brackel::ExeVersion* version = brackel::detectversion(length);
            if (!version)
                return platform::Status::failure("The file " + path + " is " + std::to_string(length) +
                                                     " bytes long, the length of no known build of the game "
                                                     "executable.",
                                                 {}, path);
            return brackel::attachmentTable(path, *version)(length);
        };
    case GameFile::ItemFile: return velloc::itemRecords(path);
    case GameFile::Profile: break;
    }
    return kestrin::profileRecord(path);
}

std::optional<brackel::Names> workingFolderNames(platform::FileSystem& files)
{
    const std::string path = platform::joinPath(platform::checkifroot(platform::currentFolder()), "names.def");
    if (!files.isFile(path))
        return std::nullopt;
    auto lines = platform::readTextLines(files, path);
    if (!lines) {
        report(path, lines.status().withLine("Weapons are shown by their numbers alone."));
        return std::nullopt;
    }
    return brackel::parseNames(*lines);
}

ChangeList gameFileChanges(GameFile kind, const std::string& path, velloc::FileType type)
{
    using Lines = platform::Result<std::vector<std::string>>;
    switch (kind) {
    case GameFile::Executable:
        return [path](platform::FileSystem& before, platform::FileSystem& after) -> Lines {
            auto from = brackel::loadRules(before, path);
            if (!from)
                return from.status();
            auto to = brackel::loadRules(after, path);
            if (!to)
                return to.status();
            const std::optional<brackel::Names> names = workingFolderNames(before);
            return brackel::ruleChanges(from->flags, to->flags, names ? &*names : nullptr);
        };
    case GameFile::ItemFile:
        return [path, type](platform::FileSystem& before, platform::FileSystem& after) -> Lines {
            auto from = velloc::readdata(before, path, type, velloc::ItemTexts{});
            if (!from)
                return from.status();
            auto to = velloc::readdata(after, path, type, velloc::ItemTexts{});
            if (!to)
                return to.status();
            return velloc::itemTextChanges(*from, *to);
        };
    case GameFile::Profile:
        break;
    }
    return [path](platform::FileSystem& before, platform::FileSystem& after) -> Lines {
        auto from = loadProfile(before, path);
        if (!from)
            return from.status();
        auto to = loadProfile(after, path);
        if (!to)
            return to.status();
        return kestrin::profileChanges(*from->profile, *to->profile);
    };
}

} // namespace cli
