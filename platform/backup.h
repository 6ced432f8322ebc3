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

/// Copies the file to backupPath(path) unless a file of that name exists
/// already: the first backup holds the file as it was before any patch and
/// is never overwritten. The copy is replaced atomically, so a failure leaves
/// no half-made backup. The failure names the backup and the reason, e.g.
/// "Could not make the backup /x/vrn.exe.bak: No space left on device"; the
/// caller adds that nothing was saved and must then write nothing.
[[nodiscard]] Status ensureBackup(FileSystem& files, const std::string& path);

} // namespace platform
