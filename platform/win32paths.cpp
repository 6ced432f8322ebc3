// What a path's separator and root are on Windows: '\' and '/' both
// separate; a root is a separator at the start, or a drive "C:" with the
// separator after it, if any.

#include "platform/paths.h"

namespace platform {

extern const char kPathSeparator = '\\';

bool isPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::size_t pathRootLength(std::string_view path)
{
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (drive)
        return path.size() >= 3 && isPathSeparator(path[2]) ? 3 : 2;
    return !path.empty() && isPathSeparator(path.front()) ? 1 : 0;
}

} // namespace platform
