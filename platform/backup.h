#pragma once

// The backup of a game file before it is patched in place. A patch cannot be
// made atomic, so the first one keeps a copy of the untouched file beside it.

// standard
#include <string>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"

namespace platform {

/// The backup's path: the file's path with ".bak" appended ("vrn.exe.bak").
inline std::string backupPath(const std::string& path)
{
    return path + ".bak";
}

/// Why an existing entry at the backup's path is no backup of a file of
/// `length` bytes ("it is a symbolic link", "it is empty", "it is 2 bytes
/// long, not 290304 as the file", "it is also a file of another name, a hard
/// link"); empty when it is one. A missing entry is none either: "it is
/// empty".
std::string notABackup(const Entry& found, std::uint64_t length);

/// Keeps the untouched game file at `path`, which the caller holds open as
/// `file` (exclusively, from its first read until the patch is written), in
/// backupPath(path).
///
/// An existing backup is kept as it is and never overwritten: the first one
/// holds the file as it was before any patch. It is believed only when it is
/// a regular file of the game file's length with no other name; anything
/// else there (a symbolic link, a folder, an empty file or one of another
/// length, a second name of some file) refuses the patch, and the message
/// says to move it away. A missing backup is made from the bytes read
/// through `file`, as a new file that never follows or replaces anything
/// (FileSystem::createNew); the temporary files an interrupted backup left
/// are removed first.
///
/// A failure names the backup and the reason, e.g. "Could not make the
/// backup /x/vrn.exe.bak: No space left on device"; the caller adds that
/// nothing was saved and must then write nothing.
[[nodiscard]] Status ensureBackup(FileSystem& files, const std::string& path, ByteFile& file);

} // namespace platform
