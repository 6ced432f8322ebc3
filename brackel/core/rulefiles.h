#pragma once
// The file steps of Brackel's commands that the window and the command line
// share: reading the rules from a game executable or a .brk file, patching
// them into an executable, and writing a .brk file. Messages are worded for
// the user; lines of a message are joined with "\r".

// standard
#include <string>
#include <string_view>

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

/// Writes the .brk file through the text-file writer, which never replaces
/// a game file.
platform::Status writeRules(platform::FileSystem& files, const std::string& path, const Flags& flags,
                            int remaining);

} // namespace brackel
