#include "platform/posixfilesystem.h"

// standard
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <system_error>
#include <thread>

// POSIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// ours
#include "platform/bytefilechecks.h"
#include "platform/filefailure.h"
#include "platform/paths.h"
#include "platform/temporarynames.h"

namespace platform {

namespace {

/// The system's reason for an errno value, e.g. "Permission denied".
std::string reason(int error)
{
    return std::system_category().message(error);
}

/// "<what> <path>: <reason>", with the reason also kept apart.
Status failed(std::string_view what, const std::string& path, int error)
{
    return fileFailure(what, path, reason(error));
}

/// Opens a path as a regular file. O_NONBLOCK keeps the open from hanging on
/// a FIFO; it is cleared again once the path is known to be a regular file.
/// Returns the descriptor, or -1 with errno set (EISDIR for a folder, EINVAL
/// for any other kind of special file).
int openRegular(const std::string& path, int flags, struct stat& info)
{
    int fd;
    do
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return -1;
    int error = 0;
    if (::fstat(fd, &info) != 0)
        error = errno;
    else if (S_ISDIR(info.st_mode))
        error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        error = EINVAL;
    else if (int fl = ::fcntl(fd, F_GETFL); fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0)
        error = errno;
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

Status openError(const std::string& path, int error)
{
    if (error == EINVAL)
        return fileFailure("Could not open", path, "it is not a regular file");
    return failed("Could not open", path, error);
}

/// Writes all bytes at the descriptor's current position (offset < 0) or at
/// an absolute offset; retries interrupted and partial writes.
/// Returns 0 or the errno value of the failure.
int writeAll(int fd, const char* data, std::size_t size, off_t offset = -1)
{
    while (size > 0) {
        ssize_t n = offset < 0 ? ::write(fd, data, size) : ::pwrite(fd, data, size, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO; // no progress and no error: give up rather than spin
        data += n;
        size -= static_cast<std::size_t>(n);
        if (offset >= 0)
            offset += n;
    }
    return 0;
}

/// Closes a descriptor; an interrupted close has still released it on Linux,
/// so it is not retried. Returns 0 or the errno value.
int closeDescriptor(int fd)
{
    if (::close(fd) == 0 || errno == EINTR)
        return 0;
    return errno;
}

class PosixByteFile final : public ByteFile {
public:
    PosixByteFile(int fd, std::string path, std::uint64_t size, bool writable, PosixFileSystem::Sync sync)
        : fd_(fd), path_(std::move(path)), size_(size), writable_(writable), sync_(std::move(sync))
    {
    }

    ~PosixByteFile() override
    {
        if (fd_ >= 0)
            (void)close();
    }

    PosixByteFile(const PosixByteFile&) = delete;
    PosixByteFile& operator=(const PosixByteFile&) = delete;

    std::uint64_t size() const override { return size_; }

    Status read(std::uint64_t offset, std::span<std::uint8_t> out) override
    {
        if (auto refused = checkRead(fd_ >= 0, path_, size_, offset, out.size()); !refused)
            return refused;
        auto* data = reinterpret_cast<char*>(out.data());
        std::size_t left = out.size();
        auto at = static_cast<off_t>(offset);
        while (left > 0) {
            ssize_t n = ::pread(fd_, data, left, at);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return failed("Could not read", path_, errno);
            }
            if (n == 0) // someone else shortened the file since it was opened
                return fileFailure("Could not read", path_, "the file ended early");
            data += n;
            left -= static_cast<std::size_t>(n);
            at += n;
        }
        return Status::success();
    }

    Status write(std::uint64_t offset, std::span<const std::uint8_t> data) override
    {
        if (auto refused = checkWrite(fd_ >= 0, writable_, path_, size_, offset, data.size()); !refused)
            return refused;
        if (data.empty())
            return Status::success();
        written_ = true;
        if (int error = writeAll(fd_, reinterpret_cast<const char*>(data.data()), data.size(),
                                 static_cast<off_t>(offset)))
            return failed("Could not write", path_, error);
        return Status::success();
    }

    Status sync() override
    {
        if (fd_ < 0)
            return fileFailure("Could not write", path_, "the file is closed");
        if (sync_(fd_) != 0)
            return failed("Could not write", path_, errno);
        written_ = false; // nothing more for close() to flush
        return Status::success();
    }

    Status close() override
    {
        if (fd_ < 0)
            return Status::success();
        int fd = fd_;
        fd_ = -1;
        int syncError = 0;
        if (written_ && sync_(fd) != 0)
            syncError = errno;
        int closeError = closeDescriptor(fd);
        if (syncError != 0)
            return failed("Could not write", path_, syncError);
        if (closeError != 0)
            return failed("Could not close", path_, closeError);
        return Status::success();
    }

private:
    int fd_;
    std::string path_;
    std::uint64_t size_;
    bool writable_;
    PosixFileSystem::Sync sync_;
    bool written_ = false;
};

/// Where a save to `path` must go: symbolic links are followed, so that the
/// file they point to is replaced and the link stays. A link to a missing
/// file gives the missing file's path, which the save then creates.
Result<std::string> saveTarget(const std::string& path)
{
    std::string target = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (::lstat(target.c_str(), &info) != 0) {
            if (errno == ENOENT)
                return target;
            return failed("Could not save", path, errno);
        }
        if (!S_ISLNK(info.st_mode))
            return target;
        std::string link(info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 4096, '\0');
        ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0)
            return failed("Could not save", path, errno);
        if (static_cast<std::size_t>(n) >= link.size()) // the link changed while we read it
            return fileFailure("Could not save", path, "the link changed while it was read");
        link.resize(static_cast<std::size_t>(n));
        if (!link.empty() && link.front() != '/')
            link = splitPath(target).head + link; // relative to the link's folder
        target = link;
    }
    return failed("Could not save", path, ELOOP);
}

/// The folder and the name of a path that is not followed through links
/// ("/games/vrn.exe.bak" gives "/games" and "vrn.exe.bak"); the folder of a
/// bare name is ".".
std::pair<std::string, std::string> folderAndName(const std::string& path)
{
    const std::string folder = folderOf(path);
    return {folder.empty() ? "." : folder, nameOf(path)};
}

/// Flushes a folder, so that a name made in it is on the disk. File systems
/// that cannot flush a folder report EINVAL (or EROFS): there is nothing
/// more to do on those. Returns 0 or the errno value.
int syncFolder(const std::string& folder, const PosixFileSystem::Sync& sync)
{
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return 0;
    int error = sync(dir) == 0 ? 0 : errno;
    ::close(dir);
    return error == EINVAL || error == EROFS ? 0 : error;
}

/// Takes flock's exclusive lock of a descriptor, waiting for it when
/// `wait` is set. Returns 0 or the errno value (EWOULDBLOCK: another holds it).
int lockDescriptor(int fd, bool wait)
{
    int result;
    do
        result = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

/// A temporary file beside a target, open for writing and locked.
struct Temporary {
    int fd = -1;
    std::string path;
};

/// Makes a new temporary file named from `prefix` (O_EXCL: never an existing
/// name, never through a link) and holds flock's lock on it for as long as it
/// is open, which tells removeLeftovers of any program that a write is still
/// under way. A file removed by such a cleanup between its making and its
/// lock is given up for another name. Returns 0, or the errno value (EEXIST
/// when no free name was drawn).
int makeTemporaryNamed(const std::string& prefix, Temporary& made)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        made.path = temporaryName(prefix);
        int fd;
        do
            fd = ::open(made.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
        while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        // A file system without flock leaves the file unlocked: a cleanup
        // may then take it, and the write fails and says so.
        lockDescriptor(fd, true);
        struct stat info;
        if (::fstat(fd, &info) != 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(made.path.c_str());
            return error;
        }
        if (info.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        made.fd = fd;
        return 0;
    }
    return EEXIST;
}

/// makeTemporaryNamed for the file `name` in `folder`, with the name the
/// temporary files of that file share; a failure is worded as a failed save
/// of `path`.
Status makeTemporary(const std::string& folder, const std::string& name, const std::string& path, Temporary& made)
{
    const int error = makeTemporaryNamed(joinPath(folder, temporaryPrefix(name)), made);
    if (error == EEXIST)
        return fileFailure("Could not save", path, "no free name for the new file beside it");
    if (error != 0)
        return failed("Could not save", path, error);
    return Status::success();
}

/// Gives up a save through a temporary file: closes the file where it is
/// still open and removes it, so that nothing but the old file (if any)
/// stays; the failure that ended the save is the one reported.
Status abandonTemporary(int fd, const std::string& temp, const std::string& path, int error)
{
    if (fd >= 0)
        ::close(fd);
    ::unlink(temp.c_str());
    return failed("Could not save", path, error);
}

/// Gives the file `from` the name `to` unless that name is taken (EEXIST).
/// Returns 0 or the errno value.
int renameWithoutReplacing(const std::string& from, const std::string& to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    // Only a file system (or kernel) that cannot do it falls back to link().
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
#endif
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    ::unlink(from.c_str()); // a leftover second name is removed by removeLeftovers
    return 0;
}

/// The process's file creation mask, without changing it. /proc reports it
/// race-free; only where that is missing is umask() set and set back.
mode_t currentUmask()
{
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned int mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return static_cast<mode_t>(mask);
    }
    mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

PosixFileSystem::PosixFileSystem() : sync_(::fsync) {}

PosixFileSystem::PosixFileSystem(Sync sync) : sync_(sync ? std::move(sync) : Sync(::fsync)) {}

bool PosixFileSystem::isFile(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

Result<std::uint64_t> PosixFileSystem::length(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return failed("Could not read the size of", path, errno);
    if (S_ISDIR(info.st_mode))
        return failed("Could not read the size of", path, EISDIR);
    return static_cast<std::uint64_t>(info.st_size);
}

Status PosixFileSystem::remove(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        return failed("Could not delete", path, errno);
    // The deletion is made durable: a patch's journal that came back after a
    // power loss would roll the finished patch back.
    if (int error = syncFolder(folderAndName(path).first, sync_))
        return Status::failure("Deleted " + path + ", but the folder could not be written to disk: " + reason(error),
                               {}, path);
    return Status::success();
}

Result<std::unique_ptr<ByteFile>> PosixFileSystem::openExisting(const std::string& path, Access access)
{
    const bool writable = access != Access::Read;
    struct stat info;
    int fd = openRegular(path, writable ? O_RDWR : O_RDONLY, info);
    if (fd < 0)
        return openError(path, errno);
    if (access == Access::ReadWriteExclusive) {
        int result;
        do
            result = ::flock(fd, LOCK_EX | LOCK_NB);
        while (result != 0 && errno == EINTR);
        if (result != 0) {
            int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return fileFailure("Could not open", path, "the file is in use by another program");
            return failed("Could not lock", path, error);
        }
    }
    return std::unique_ptr<ByteFile>(
        std::make_unique<PosixByteFile>(fd, path, static_cast<std::uint64_t>(info.st_size), writable, sync_));
}

Result<std::string> PosixFileSystem::readAll(const std::string& path)
{
    struct stat info;
    int fd = openRegular(path, O_RDONLY, info);
    if (fd < 0)
        return openError(path, errno);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            ::close(fd);
            return failed("Could not read", path, error);
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

Status PosixFileSystem::replaceAtomically(const std::string& path, std::string_view bytes)
{
    auto target = saveTarget(path);
    if (!target)
        return target.status();

    const std::string& file = *target;
    const auto [folder, name] = folderAndName(file);
    if (name.empty() || name == "." || name == "..")
        return fileFailure("Could not save", path, "it does not name a file");

    struct stat old;
    bool existed = false;
    if (::stat(file.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode))
            return failed("Could not save", path, EISDIR);
        if (!S_ISREG(old.st_mode))
            return fileFailure("Could not save", path, "it is not a regular file");
        existed = true;
    }

    // What a killed write of this file left is removed first; a write still
    // under way holds its file and is left alone. A leftover that cannot be
    // removed does not stop this save.
    [[maybe_unused]] const Status cleared = removeLeftovers(file);
    Temporary temp;
    if (auto refused = makeTemporary(folder, name, path, temp); !refused)
        return refused;
    const int fd = temp.fd;
    auto abandon = [&](int error) { return abandonTemporary(fd, temp.path, path, error); };

    if (int error = writeAll(fd, bytes.data(), bytes.size()))
        return abandon(error);
    if (existed) {
        // Keep owner and group where we may (as root). Where that is not
        // permitted the new file stays ours, which is what an ordinary save
        // gives anyway, so the outcome is not looked at.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const bool ownerKept = ::fchown(fd, old.st_uid, old.st_gid) == 0;
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            return abandon(errno);
    } else if (::fchmod(fd, 0666 & ~currentUmask()) != 0) {
        return abandon(errno);
    }
    // The data must be on the disk before the rename makes it the file's;
    // the file stays open, and so held, until it has its name.
    if (sync_(fd) != 0)
        return abandon(errno);
    if (::rename(temp.path.c_str(), file.c_str()) != 0)
        return abandon(errno);
    // Flushed already, so closing can lose nothing.
    ::close(fd);
    // The rename made durable. The file is saved: no reason apart, so a
    // caller that words the failure its own way passes on this whole message.
    if (int error = syncFolder(folder, sync_))
        return Status::failure("Saved " + path + ", but the folder could not be written to disk: " + reason(error),
                               {}, path);
    return Status::success();
}

Result<Entry> PosixFileSystem::entry(const std::string& path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return Entry{};
        return failed("Could not look at", path, errno);
    }
    Entry found;
    found.names = static_cast<std::uint64_t>(info.st_nlink);
    if (S_ISREG(info.st_mode)) {
        found.kind = Entry::Kind::Regular;
        found.size = static_cast<std::uint64_t>(info.st_size);
    } else if (S_ISDIR(info.st_mode)) {
        found.kind = Entry::Kind::Folder;
    } else if (S_ISLNK(info.st_mode)) {
        found.kind = Entry::Kind::Link;
    } else {
        found.kind = Entry::Kind::Other;
    }
    return found;
}

Status PosixFileSystem::createNew(const std::string& path, std::string_view bytes)
{
    const auto [folder, name] = folderAndName(path);
    if (name.empty() || name == "." || name == "..")
        return fileFailure("Could not save", path, "it does not name a file");

    Temporary temp;
    if (auto refused = makeTemporary(folder, name, path, temp); !refused)
        return refused;
    const int fd = temp.fd;
    auto abandon = [&](int error) { return abandonTemporary(fd, temp.path, path, error); };
    if (int error = writeAll(fd, bytes.data(), bytes.size()))
        return abandon(error);
    // On the disk before it has the name, and held until then.
    if (sync_(fd) != 0)
        return abandon(errno);
    if (int error = renameWithoutReplacing(temp.path, path))
        return abandon(error);
    ::close(fd);
    if (int error = syncFolder(folder, sync_))
        return Status::failure("Saved " + path + ", but the folder could not be written to disk: " + reason(error),
                               {}, path);
    return Status::success();
}

Status PosixFileSystem::checkCreatable(const std::string& path)
{
    const std::string folder = folderAndName(path).first;
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return failed("Could not save", path, errno);
    return Status::success();
}

Status PosixFileSystem::removeLeftovers(const std::string& path)
{
    const auto [folder, name] = folderAndName(path);
    if (name.empty())
        return Status::success();
    const std::string prefix = temporaryPrefix(name);
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Status::success(); // no folder, no leftovers
        return failed("Could not read the folder", folder, errno);
    }
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        int error = errno;
        ::close(dirFd);
        return failed("Could not read the folder", folder, error);
    }
    Status outcome = Status::success();
    while (const dirent* item = ::readdir(dir)) {
        if (!isTemporaryName(item->d_name, prefix))
            continue;
        // A folder of that name is no leftover of ours; a file or a link is
        // removed itself (a link's target is never touched).
        struct stat info;
        if (::fstatat(dirFd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(info.st_mode))
            continue;
        // A regular file is ours only when no write holds it: it is locked
        // while it is removed, so that its maker, should it be between making
        // and locking it, sees it gone. One that cannot be opened to tell is
        // left where it is.
        int held = -1;
        if (S_ISREG(info.st_mode)) {
            held = ::openat(dirFd, item->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
            if (held < 0)
                continue;
            if (lockDescriptor(held, false) == EWOULDBLOCK) {
                ::close(held);
                continue;
            }
        }
        const bool removed = ::unlinkat(dirFd, item->d_name, 0) == 0 || errno == ENOENT;
        const int error = errno;
        if (held >= 0)
            ::close(held);
        errno = error;
        if (!removed) {
            outcome = failed("Could not remove the unfinished file", joinPath(folder, item->d_name), errno);
            break;
        }
    }
    ::closedir(dir);
    return outcome;
}

namespace {

/// A folder held with flock: the hold ends with the descriptor.
class FolderHold final : public UpdateHold {
public:
    explicit FolderHold(int fd) : fd_(fd) {}
    FolderHold(const FolderHold&) = delete;
    FolderHold& operator=(const FolderHold&) = delete;
    ~FolderHold() override
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

private:
    int fd_;
};

} // namespace

Result<std::unique_ptr<UpdateHold>> PosixFileSystem::holdUpdates(const std::string& path,
                                                                 std::chrono::milliseconds wait)
{
    const std::string folder = folderAndName(path).first;
    int fd;
    do
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fileFailure("Could not save", path, "its folder could not be opened: " + reason(errno));
    auto hold = std::make_unique<FolderHold>(fd);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int error = lockDescriptor(fd, false);
        if (error == 0)
            return std::unique_ptr<UpdateHold>(std::move(hold));
        if (error != EWOULDBLOCK)
            return std::unique_ptr<UpdateHold>(std::move(hold)); // no flock here: nothing to hold with
        if (std::chrono::steady_clock::now() >= deadline)
            return fileFailure("Could not save", path, "the file is in use by another program");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace platform
