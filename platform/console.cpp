#include "platform/console.h"

// standard
#include <cstdio>

namespace platform {

bool writeStandardOutput(std::string_view bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

} // namespace platform
