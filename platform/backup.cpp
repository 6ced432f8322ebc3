#include "platform/backup.h"

namespace platform {

namespace {

/// The reason from a message of the form "<what> <path>: <reason>"; the
/// whole message when it does not have that form.
std::string reasonOf(const std::string& message, const std::string& path)
{
    const std::string marker = path + ": ";
    if (const auto at = message.find(marker); at != std::string::npos && at + marker.size() < message.size())
        return message.substr(at + marker.size());
    return message;
}

} // namespace

Status ensureBackup(FileSystem& files, const std::string& path)
{
    const std::string backup = backupPath(path);
    if (files.exists(backup))
        return Status::success();
    auto original = files.readAll(path);
    if (!original)
        return Status::failure("Could not make the backup " + backup + ": " + original.error());
    if (auto copied = files.replaceAtomically(backup, *original); !copied)
        return Status::failure("Could not make the backup " + backup + ": " + reasonOf(copied.error(), backup));
    return Status::success();
}

} // namespace platform
