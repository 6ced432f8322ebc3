#pragma once

// The known builds of the game executable and the attachment table inside
// them: 182 entries of 4 bytes (attachment item, weapon item; 16-bit
// little-endian each). A build is recognised by the exact file length alone.

// standard
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// ours
#include "brackel/core/attachments.h"
#include "platform/gamefilepatch.h"
#include "platform/gamefiles.h"
#include "platform/filesystem.h"
#include "platform/result.h"

namespace brackel {

/// A known build: its length, tag and table offset (platform/gamefiles.h,
/// where every program finds the game's files by their length).
using ExeVersion = platform::GameBuild;

inline constexpr const auto& kExeVersions = platform::kGameBuilds;

/// The build of a file of this length, or null for an unknown build.
const ExeVersion* detectversion(std::uint64_t length);

/// What a table holds for Brackel: the flags of its eight kinds and the
/// number of entries not taken by them.
struct TableContents {
    Flags flags;
    int remaining = kTableEntries;
};

using TableBytes = std::array<std::uint8_t, kTableBytes>;

/// Reads the flags out of the table's bytes. Only bytes 0-2 of an entry are
/// looked at; a weapon byte of 0 counts as weapon 1. Entries of other
/// attachments, free entries and entries for weapons above 65 (which have no
/// place in the model) are passed over and count as free.
TableContents decodeTable(std::span<const std::uint8_t, kTableBytes> table);

/// The table's bytes for these flags: the entries grouped by kind in writing
/// order, by weapon within a kind, then free entries. A free entry is written
/// as FF FF FF FF, an attachment number no item has: the game ends its
/// lookup at the first entry whose attachment number is 0, so zero bytes
/// would hide the entries that follow the table in the executable.
/// Fails, naming the counts, when the flags need more than 182 entries.
platform::Result<TableBytes> encodeTable(const Flags& flags);

/// The bytes Brackel owns in the executable at `path` of build `version`:
/// its table. A file that no longer has the build's length is refused.
platform::OwnedBytes attachmentTable(const std::string& path, const ExeVersion& version);

/// Reads the table of the file at `path`, which is of build `version`,
/// through the one game-file path (platform/gamefilepatch.h), which honours
/// an unfinished patch of the file as `reading` says.
platform::Result<TableContents> readdata(platform::FileSystem& files, const std::string& path,
                                         const ExeVersion& version,
                                         platform::Reading reading = platform::Reading::ReadOnly);

/// Overwrites the bytes of the table of the file at `path` that change, and
/// nothing else, through the one game-file patch path: held exclusively from
/// the opening to the end of the patch (a file another program holds is
/// refused as in use), an unfinished patch rolled back first, the untouched
/// file kept in `path`.bak, the bytes written under a rollback journal.
/// Refuses, writing nothing, when the flags do not fit the table or the file
/// no longer has the build's length.
platform::Status writedata(platform::FileSystem& files, const std::string& path, const ExeVersion& version,
                           const Flags& flags);

} // namespace brackel
