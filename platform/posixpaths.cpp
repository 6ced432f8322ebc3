// What a path's separator and root are on POSIX: '/' alone separates, and a
// path that begins with it has the root "/".

#include "platform/paths.h"

namespace platform {

extern const char kPathSeparator = '/';

bool isPathSeparator(char c)
{
    return c == '/';
}

std::size_t pathRootLength(std::string_view path)
{
    return !path.empty() && path.front() == '/' ? 1 : 0;
}

} // namespace platform
