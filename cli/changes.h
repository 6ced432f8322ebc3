#pragma once
// The change lists of the three kinds of game file, which the dry runs,
// restore and diff print: the attachment rules of a game executable, the
// texts of an item text file, the custom mercenary of IMP.dat.

// standard
#include <cstdint>
#include <optional>
#include <string>

// ours
#include "brackel/core/namesfile.h"
#include "cli/dryrun.h"
#include "platform/filesystem.h"
#include "platform/journal.h"
#include "platform/result.h"
#include "velloc/core/itemtexts.h"

namespace cli {

/// The game files the programs patch, told apart by their length.
enum class GameFile { Executable, ItemFile, Profile };

/// A known build's length, an item text file's, or (any other length of at
/// least the record's) a profile; none for a shorter file.
std::optional<GameFile> gameFileKind(std::uint64_t length);

/// The bytes the editors own in a game file of this kind at `path`, which
/// a patch may change and a journal beside it may put back.
platform::OwnedBytes ownedBytes(GameFile kind, const std::string& path);

/// The weapon names of names.def in the working folder, which the
/// attachment editor reads at its start: none when there is no such file;
/// one that cannot be read is said on standard error, and then none.
std::optional<brackel::Names> workingFolderNames(platform::FileSystem& files);

/// The change list of the game file at `path` from one file system to the
/// other, in its kind's form; an item text file is read as `type`. Weapons
/// are named from names.def in the working folder (workingFolderNames),
/// read when the list is made.
ChangeList gameFileChanges(GameFile kind, const std::string& path,
                           velloc::FileType type = velloc::FileType::Items);

} // namespace cli
