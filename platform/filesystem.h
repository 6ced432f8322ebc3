#pragma once

// File access as the programs need it: queries, byte access to an existing
// file that never creates, truncates or extends it, whole-file reads, and the
// atomic replacement of a file we write ourselves. Every program goes through
// this interface, so tests can put a faulty file system in its place.
// A failure's message names what was done and the path ("Could not save
// /x/names.txt: No space left on device"); its reason() is the last part
// alone ("No space left on device").

// standard
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

// ours
#include "platform/result.h"
#include "platform/usernotes.h"

namespace platform {

/// An existing file opened for byte access. Reads and writes stay inside the
/// file's current length: a write that would extend the file is refused.
/// Destroying the object closes the file; call close() to learn of errors.
class ByteFile {
public:
    virtual ~ByteFile() = default;

    virtual std::uint64_t size() const = 0;
    /// Reads exactly out.size() bytes at an absolute offset.
    virtual Status read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
    /// Writes exactly data.size() bytes at an absolute offset inside the file.
    virtual Status write(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
    /// Flushes what was written to the disk and keeps the file open: the
    /// bytes written so far survive a crash once it returns.
    virtual Status sync() = 0;
    /// Flushes what was written to the disk and closes the file.
    virtual Status close() = 0;
};

enum class Access {
    Read,
    ReadWrite,
    /// Read and write, and no other process may hold the file open for
    /// exclusive use at the same time.
    ReadWriteExclusive,
};

/// What a path names, as the path itself is: a symbolic link is reported as
/// a link, never as what it points to.
struct Entry {
    enum class Kind {
        Missing, // nothing of that name
        Regular,
        Folder,
        Link, // a symbolic link, or on Windows a junction or mount point
        Other, // a device, a pipe, a socket
    };
    Kind kind = Kind::Missing;
    std::uint64_t size = 0;  // of a regular file
    std::uint64_t names = 0; // the file's hard links, itself included
};

/// Held updates of one folder's text files (FileSystem::holdUpdates); the
/// hold ends when the object is destroyed, or with the program.
class UpdateHold {
public:
    virtual ~UpdateHold() = default;
};

/// The file system also carries the notes of its steps (UserNotes), as
/// every step that makes one has it at hand.
class FileSystem : public UserNotes {
public:
    virtual ~FileSystem() = default;

    /// Whether the path leads to a regular file on disk, links followed:
    /// false for a folder, a device, a pipe or a socket, a link that leads
    /// nowhere, and a path where nothing is.
    virtual bool isFile(const std::string& path) = 0;
    virtual Result<std::uint64_t> length(const std::string& path) = 0;
    /// Deletes the file; the deletion is on the disk when this returns.
    virtual Status remove(const std::string& path) = 0;

    /// Opens an existing file; never creates or truncates it.
    virtual Result<std::unique_ptr<ByteFile>> openExisting(const std::string& path, Access access) = 0;

    /// The whole file as bytes.
    virtual Result<std::string> readAll(const std::string& path) = 0;

    /// Replaces (or creates) the file with exactly these bytes. The new
    /// contents are written beside the file and moved over it in one step, so
    /// a failure at any point leaves the old file whole.
    virtual Status replaceAtomically(const std::string& path, std::string_view bytes) = 0;

    /// What the path names, without following a link at its end.
    virtual Result<Entry> entry(const std::string& path) = 0;

    /// Makes a new file with exactly these bytes where nothing of that name
    /// exists. Nothing at the path is followed or replaced: a file, a link
    /// (even one to a missing file) or a folder there makes it fail. The
    /// bytes are written and flushed under a temporary name beside the path
    /// (".NAME.tmp-XXXXXX"), which is then given the path's name in a step
    /// that fails when the name is taken; so the file appears whole or not at
    /// all. One caller at a time may make a given path (the backup of a game
    /// file is made while the game file is held exclusively).
    virtual Status createNew(const std::string& path, std::string_view bytes) = 0;

    /// Whether createNew(path) could make its file now, told without making
    /// one: the refusal it would meet from the folder (no permission to add
    /// a name, a read-only medium), worded as createNew words it ("Could not
    /// save PATH: Permission denied"); success otherwise. A dry run asks it
    /// where the patch would make its backup and its journal.
    virtual Status checkCreatable(const std::string& path) = 0;

    /// Removes the temporary files that createNew(path) leaves behind when
    /// the program is killed while it writes; nothing else is touched. Done
    /// before the path is looked at, it also drops the second name that a
    /// kill between naming the new file and removing its temporary name can
    /// leave on it.
    virtual Status removeLeftovers(const std::string& path) = 0;

    /// Waits up to `wait` until no other program holds the updates of text
    /// files in the folder of `path`, then holds them until the hold is
    /// destroyed. A text file read, changed and replaced under the hold (a
    /// preset merged into a presets file) cannot lose a change that another
    /// program makes the same way meanwhile, even one that makes the file.
    /// When the wait ends first: "Could not save PATH: the file is in use by
    /// another program". A hold is no lock against programs that take none.
    virtual Result<std::unique_ptr<UpdateHold>> holdUpdates(const std::string& path,
                                                            std::chrono::milliseconds wait) = 0;
};

/// What an open of a file that is not there says, before any other step
/// could word it as its own failure ("Could not read the size of"): "Could
/// not open PATH: there is no file of that name". Empty when something has
/// that name, or when the system cannot tell (the open then says why).
inline std::string missingFileMessage(FileSystem& files, const std::string& path)
{
    auto found = files.entry(path);
    if (!found || found->kind != Entry::Kind::Missing)
        return {};
    return "Could not open " + path + ": there is no file of that name";
}

} // namespace platform
