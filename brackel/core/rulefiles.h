#pragma once
// The file steps of Brackel's commands that the window and the command line
// share: reading the rules from a game executable or a .brk file, patching
// them into an executable, and writing a .brk file. Messages are worded for
// the user.

// standard
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// ours
#include "brackel/core/attachments.h"
#include "platform/gamefilepatch.h"
#include "platform/filesystem.h"
#include "platform/result.h"

namespace brackel {

enum class FileKind { None, Executable, Brk };

/// What a file gave: its kind, the build's tag for an executable, the flags
/// and the free entries.
struct LoadedRules {
    FileKind kind = FileKind::None;
    std::string_view tag; // "[US1.03]"; empty for a .brk file
    Flags flags;
    int remaining = kTableEntries;
};

/// Reads the file at path: an executable of a known build by its length,
/// anything else as a .brk file. Fails with the message the user sees. An
/// executable with an unfinished patch is read as `reading` says
/// (platform/gamefilepatch.h), with a note added to `files`.
platform::Result<LoadedRules> loadRules(platform::FileSystem& files, const std::string& path,
                                        platform::Reading reading = platform::Reading::ReadOnly);

/// Patches the flags into the table of the existing executable at path and
/// returns its build's tag. Refuses an unknown build ("Unknown version !")
/// and everything writedata refuses, writing nothing.
platform::Result<std::string_view> applyRules(platform::FileSystem& files, const std::string& path,
                                              const Flags& flags);

/// What a save of the window's rules into an executable wrote, when it kept
/// the changes another program made to the table since the window read it.
struct MergedRules {
    Flags flags;            // what the table holds now
    int remaining = kTableEntries;
    std::size_t theirsKept = 0; // weapons whose rules the other program changed, kept
    bool cancelled = false;     // a conflict was asked about and the save cancelled
};

/// Which weapons (by position) the user lets the window's rules overwrite,
/// asked when both sides changed them differently: true to overwrite, false
/// to cancel the save.
using ResolveConflicts = std::function<bool(const std::vector<int>& positions)>;

/// Patches the window's rules (`ours`) into the executable at path, whose
/// table held `base` when the window read or last wrote it, under one hold:
/// a weapon whose eight flags only another program changed keeps the other
/// program's flags, one changed only here gets ours, and one changed on both
/// sides to different flags is asked about once (`resolve`); a cancel
/// writes nothing. Rules that then need more than the table's entries are
/// refused as encodeTable refuses them. Everything else as applyRules.
platform::Result<MergedRules> applyRulesOver(platform::FileSystem& files, const std::string& path, const Flags& ours,
                                             const Flags& base, const ResolveConflicts& resolve);

/// Writes the .brk file through the text-file writer, which never replaces
/// a game file.
platform::Status writeRules(platform::FileSystem& files, const std::string& path, const Flags& flags,
                            int remaining);

} // namespace brackel
