#include "platform/console.h"

// standard
#include <cerrno>
#include <cstring>

// POSIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

FileIdentity identityOf(const struct stat& st)
{
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

/// Reads up to `most` bytes from the start of the open file.
Result<std::string> readFrom(int fd, std::uint64_t most)
{
    std::string bytes(static_cast<std::size_t>(most), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Result<std::string>::failure(std::strerror(errno));
        if (got == 0)
            break; // it shrank while we looked
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

} // namespace

void useBinaryStandardStreams()
{
    // POSIX streams carry bytes as they are.
}

std::optional<FileIdentity> fileIdentity(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return identityOf(st);
}

std::optional<OutputFile> standardOutputFile()
{
    struct stat st {};
    if (::fstat(STDOUT_FILENO, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return OutputFile{identityOf(st), static_cast<std::uint64_t>(st.st_size)};
}

Result<std::string> readStandardOutputFile(std::uint64_t most)
{
    const int flags = ::fcntl(STDOUT_FILENO, F_GETFL);
    if (flags >= 0 && (flags & O_ACCMODE) == O_RDWR)
        return readFrom(STDOUT_FILENO, most);
    // Opened for writing alone: the file is opened again for reading through
    // the descriptor's name, and taken only when it is the same file.
    struct stat out {};
    if (::fstat(STDOUT_FILENO, &out) != 0)
        return Result<std::string>::failure(std::strerror(errno));
    int error = ENOENT;
    for (const char* name : {"/proc/self/fd/1", "/dev/fd/1"}) {
        const int fd = ::open(name, O_RDONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            error = errno;
            continue;
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && identityOf(st) == identityOf(out)) {
            auto bytes = readFrom(fd, most);
            ::close(fd);
            return bytes;
        }
        ::close(fd);
    }
    return Result<std::string>::failure(std::strerror(error));
}

} // namespace platform
