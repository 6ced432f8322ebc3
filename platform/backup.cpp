#include "platform/backup.h"

namespace platform {

Status ensureBackup(FileSystem& files, const std::string& path)
{
    const std::string backup = backupPath(path);
    if (files.exists(backup))
        return Status::success();
    auto original = files.readAll(path);
    if (!original)
        return Status::failure("Could not make the backup " + backup + ": " + original.error());
    if (auto copied = files.replaceAtomically(backup, *original); !copied)
        return Status::failure("Could not make the backup " + backup + ": " + copied.reason());
    return Status::success();
}

} // namespace platform
