#include "tests/support/fileholder.h"

// POSIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace testsupport {

FileHolder::FileHolder(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    handle_ = fd;
    held_ = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

FileHolder::~FileHolder()
{
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

} // namespace testsupport
