#pragma once
// A game file put back as its backup holds it.

// standard
#include <string>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"

namespace cli {

/// Puts the backup of the game file at `path` (platform::backupPath) back
/// in place, the backup kept. The backup must be a regular file with no
/// other name, of the file's length, and the file one of a game file's
/// length (cli::gameFileKind). The file is held for our use alone (one
/// another program holds is refused as in use), a patch a killed program
/// left unfinished is rolled back first (with a note added to `files`),
/// and the bytes that differ are written under a rollback journal: a kill
/// leaves the old or the new file. A refusal names the file and writes
/// nothing.
[[nodiscard]] platform::Status restoreBackup(platform::FileSystem& files, const std::string& path);

} // namespace cli
