#include "platform/backup.h"

// standard
#include <vector>

namespace platform {

std::string notABackup(const Entry& found, std::uint64_t length)
{
    switch (found.kind) {
    case Entry::Kind::Missing:
    case Entry::Kind::Regular:
        break;
    case Entry::Kind::Link: return "it is a symbolic link";
    case Entry::Kind::Folder: return "it is a folder";
    case Entry::Kind::Other: return "it is not a regular file";
    }
    // A second name of some file (the game file itself would change with
    // every patch) is said first: whatever its length, it is no copy.
    if (found.names > 1)
        return "it is also a file of another name, a hard link";
    if (found.size == 0)
        return "it is empty";
    if (found.size != length)
        return "it is " + std::to_string(found.size) + " bytes long, not " + std::to_string(length) + " as the file";
    return {};
}

Status ensureBackup(FileSystem& files, const std::string& path, ByteFile& file)
{
    const std::string backup = backupPath(path);
    auto cannot = [&backup](const std::string& why) {
        return Status::failure("Could not make the backup " + backup + ": " + why);
    };
    if (auto cleared = files.removeLeftovers(backup); !cleared)
        return cannot(cleared.error());
    auto found = files.entry(backup);
    if (!found)
        return cannot(found.reason());
    if (found->kind != Entry::Kind::Missing) {
        const std::string why = notABackup(*found, file.size());
        if (why.empty())
            return Status::success();
        // Worded for the window's Save and the console's commands alike.
        return Status::failure({backup + " is not a backup of this file (" + why + ");", "move it away and try again."});
    }

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    if (auto read = file.read(0, bytes); !read)
        return cannot(read.error());
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (auto made = files.createNew(backup, view); !made)
        return cannot(made.reason());
    return Status::success();
}

} // namespace platform
