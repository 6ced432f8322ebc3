#pragma once
// A game file put back as its backup holds it.

// standard
#include <string>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"

namespace cli {

/// Puts the bytes the editors own in the game file at `path` back as its
/// backup (platform::backupPath) holds them, the backup kept. The backup
/// must be a regular file with no other name, of the file's length, and the
/// file one of a game file's length (cli::gameFileKind). The patch goes
/// through the one game-file patch path (platform/gamefilepatch.h): held
/// for our use alone, an unfinished patch rolled back first (with a note
/// added to `files`), the bytes that differ written under a rollback
/// journal. Bytes outside the owned ones are never written; when some of
/// them differ from the backup, `remarks` gets a line that says how many.
/// A refusal names the file and writes nothing.
[[nodiscard]] platform::Status restoreBackup(platform::FileSystem& files, const std::string& path,
                                             std::vector<std::string>* remarks = nullptr);

} // namespace cli
