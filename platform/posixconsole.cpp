#include "platform/console.h"

namespace platform {

void useBinaryStandardStreams()
{
    // POSIX streams carry bytes as they are.
}

} // namespace platform
