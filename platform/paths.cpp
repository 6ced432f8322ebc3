#include "platform/paths.h"

namespace platform {

PathParts splitPath(std::string_view path)
{
    std::size_t cut = pathRootLength(path);
    for (std::size_t i = path.size(); i > cut; --i) {
        if (isPathSeparator(path[i - 1])) {
            cut = i;
            break;
        }
    }
    return {std::string(path.substr(0, cut)), std::string(path.substr(cut))};
}

std::string folderOf(std::string_view path)
{
    std::string head = splitPath(path).head;
    // Past the root the head ends in a separator, which the folder drops.
    if (head.size() > pathRootLength(head))
        head.pop_back();
    return head;
}

std::string nameOf(std::string_view path)
{
    return splitPath(path).name;
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && !isPathSeparator(path.back()))
        path += kPathSeparator;
    path += name;
    return path;
}

std::string checkifroot(std::string_view path)
{
    const bool driveRoot = path.size() == 3 &&
                           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return std::string(driveRoot ? path.substr(0, 2) : path);
}

} // namespace platform
