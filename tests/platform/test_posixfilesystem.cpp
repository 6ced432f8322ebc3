// PosixFileSystem: byte access, whole-file reads, atomic replacement and
// when data is flushed to the disk; the backup made before a patch, and the
// new files it is made as, which never follow or replace anything.

// standard
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>

// POSIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/backup.h"
#include "platform/paths.h"
#include "platform/posixfilesystem.h"
#include "tests/support/tempdir.h"

using namespace platform;
using namespace testsupport;
using Names = std::vector<std::string>;

namespace {

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

/// What a flush saw of its descriptor: "folder", or the file's size.
std::string flushedOf(int fd)
{
    struct stat info {};
    ::fstat(fd, &info);
    return S_ISDIR(info.st_mode) ? "folder" : std::to_string(info.st_size) + " bytes";
}

/// A flush that fails as a broken disk would.
int failingSync(int)
{
    errno = EIO;
    return -1;
}

TEST(ByteFile, StaysInsideTheFile)
{
    TempDir dir;
    const std::string path = dir.file("data.bin");
    std::string expected = patternBytes(100);
    writeFile(path, expected);
    PosixFileSystem fs;
    auto file = fs.openExisting(path, Access::ReadWrite);
    ASSERT_TRUE(file) << file.error();
    EXPECT_EQ((*file)->size(), 100u);

    struct Case {
        std::uint64_t offset;
        std::string bytes; // written, or as many bytes read
        bool write;
        bool ok;
    };
    const auto far = std::numeric_limits<std::uint64_t>::max() - 1;
    const Case cases[] = {
        {10, "ABCD", true, true}, {96, "wxyz", true, true}, {100, "", true, true}, {97, "1234", true, false},
        {100, "1", true, false},  {101, "", true, false},   {far, "12", true, false}, {9, "?ABCD?", false, true},
        {98, "123", false, false}, {101, "", false, false}, {far, "1234", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset) + (c.write ? " write " : " read ") + c.bytes);
        std::string buffer = c.bytes;
        auto* data = reinterpret_cast<std::uint8_t*>(buffer.data());
        Status s = c.write ? (*file)->write(c.offset, {data, buffer.size()}) : (*file)->read(c.offset, {data, buffer.size()});
        EXPECT_EQ(s.ok(), c.ok) << s.error();
        if (!c.ok)
            EXPECT_NE(s.error().find(path), std::string::npos) << s.error();
        else if (c.write)
            expected.replace(c.offset, c.bytes.size(), c.bytes);
        else
            EXPECT_EQ(buffer, expected.substr(c.offset, buffer.size()));
    }
    ASSERT_TRUE((*file)->close());
    EXPECT_EQ(readFile(path), expected);

    auto reader = fs.openExisting(path, Access::Read);
    ASSERT_TRUE(reader);
    EXPECT_FALSE((*reader)->write(0, {reinterpret_cast<const std::uint8_t*>("x"), 1}));
    ASSERT_TRUE((*reader)->close());
    std::uint8_t b[1];
    EXPECT_FALSE((*reader)->read(0, b));
    EXPECT_EQ(readFile(path), expected);
}

TEST(PosixFileSystem, OpensOnlyExistingFilesAndHonoursExclusiveUse)
{
    TempDir dir;
    PosixFileSystem fs;
    const std::string missing = dir.file("missing.bin");
    for (Access access : {Access::Read, Access::ReadWrite, Access::ReadWriteExclusive}) {
        EXPECT_EQ(fs.openExisting(missing, access).error(), "Could not open " + missing + ": No such file or directory");
        EXPECT_EQ(fs.openExisting(dir.path(), access).error(), "Could not open " + dir.path() + ": Is a directory");
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    const std::string path = dir.file("game.exe");
    writeFile(path, "MZ");
    int other = ::open(path.c_str(), O_RDWR); // another program's exclusive hold
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(fs.openExisting(path, Access::ReadWriteExclusive).error(),
              "Could not open " + path + ": the file is in use by another program");
    EXPECT_TRUE(fs.openExisting(path, Access::ReadWrite));
    ::close(other);
    auto first = fs.openExisting(path, Access::ReadWriteExclusive);
    ASSERT_TRUE(first) << first.error();
    EXPECT_FALSE(fs.openExisting(path, Access::ReadWriteExclusive));
    ASSERT_TRUE((*first)->close());
    EXPECT_TRUE(fs.openExisting(path, Access::ReadWriteExclusive));
}

TEST(PosixFileSystem, FolderOfAPathKeepsTheRoot)
{
    EXPECT_EQ(folderOf("/games/varnhold/vrn.exe"), "/games/varnhold");
    EXPECT_EQ(folderOf("/vrn.exe"), "/");
    EXPECT_EQ(folderOf("vrn.exe"), "");
    EXPECT_EQ(joinPath(folderOf("/vrn.exe"), "names.def"), "/names.def");

    // Head, name and folder of a path: only '/' separates, and the head and
    // the name always give the path back.
    struct Row {
        const char* path;
        const char* head;
        const char* name;
        const char* folder;
    };
    const Row splits[] = {
        {"/games/vrn.exe", "/games/", "vrn.exe", "/games"},
        {"/vrn.exe", "/", "vrn.exe", "/"},          // the root keeps its separator
        {"/", "/", "", "/"},                         // the root alone
        {"vrn.exe", "", "vrn.exe", ""},              // no separator
        {"", "", "", ""},
        {"games/", "games/", "", "games"},           // a trailing separator: no name
        {"/games//vrn.exe", "/games//", "vrn.exe", "/games/"},
        {"//vrn.exe", "//", "vrn.exe", "/"},
        {"C:\\games\\vrn.exe", "", "C:\\games\\vrn.exe", ""}, // a backslash is part of a name here
        {"C:vrn.exe", "", "C:vrn.exe", ""},          // and a drive letter is no drive
        {"C:/vrn.exe", "C:/", "vrn.exe", "C:"},
        {"out\xE9/f\xFF.brk", "out\xE9/", "f\xFF.brk", "out\xE9"}, // the system's bytes, not UTF-8
    };
    for (const Row& row : splits) {
        const PathParts parts = splitPath(row.path);
        EXPECT_EQ(parts.head, row.head) << row.path;
        EXPECT_EQ(parts.name, row.name) << row.path;
        EXPECT_EQ(parts.head + parts.name, row.path);
        EXPECT_EQ(nameOf(row.path), row.name) << row.path;
        EXPECT_EQ(folderOf(row.path), row.folder) << row.path;
    }
    EXPECT_EQ(joinPath("/games/", "vrn.exe"), "/games/vrn.exe");
    EXPECT_EQ(joinPath("games", "vrn.exe"), "games/vrn.exe");
    EXPECT_EQ(joinPath("", "vrn.exe"), "vrn.exe");
    EXPECT_EQ(joinPath("C:", "vrn.exe"), "C:/vrn.exe");

    // The folder names.def goes into: only a drive root loses its separator.
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\", "C:"}, {"c:/", "c:"}, {"c:", "c:"}, {"D:\\Games", "D:\\Games"}, {"C:\\x", "C:\\x"},
        {"/", "/"}, {"/home/x", "/home/x"}, {"", ""},
    };
    for (const auto& [path, folder] : rows)
        EXPECT_EQ(checkifroot(path), folder) << path;
    EXPECT_EQ(joinPath(checkifroot("/"), "names.def"), "/names.def");
}

// isFile: a regular file on disk, links followed; nothing else.
TEST(PosixFileSystem, IsFileMeansARegularFileLinksFollowed)
{
    TempDir dir;
    PosixFileSystem fs;
    const std::string file = dir.file("vrn.exe"), folder = dir.file("games");
    writeFile(file, "bytes");
    writeFile(dir.file("empty"), "");
    std::filesystem::create_directory(folder);
    std::filesystem::create_symlink(file, dir.file("to-file"));
    std::filesystem::create_symlink("vrn.exe", dir.file("to-file-relative"));
    std::filesystem::create_symlink(dir.file("to-file"), dir.file("to-link"));
    std::filesystem::create_directory_symlink(folder, dir.file("to-folder"));
    std::filesystem::create_symlink(dir.file("gone"), dir.file("dangling"));
    std::filesystem::create_symlink(dir.file("loop"), dir.file("loop"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);

    for (const char* name : {"vrn.exe", "empty", "to-file", "to-file-relative", "to-link"})
        EXPECT_TRUE(fs.isFile(dir.file(name))) << name;
    for (const char* name : {"games", "to-folder", "dangling", "loop", "fifo", "gone", "vrn.exe/x"})
        EXPECT_FALSE(fs.isFile(dir.file(name))) << name;
    EXPECT_FALSE(fs.isFile("/dev/null")); // a device
    EXPECT_FALSE(fs.isFile(""));
    EXPECT_FALSE(fs.isFile("/"));
}

TEST(PosixFileSystem, QueriesReadsAndRemoves)
{
    TempDir dir;
    PosixFileSystem fs;
    const std::string path = dir.file("big.bin"), folder = dir.path();
    const std::string bytes = std::string(1, '\0') + patternBytes(200000); // more than one read's buffer
    writeFile(path, bytes);
    EXPECT_TRUE(fs.isFile(path));
    EXPECT_FALSE(fs.isFile(folder));
    EXPECT_EQ(fs.length(path).value(), bytes.size());
    EXPECT_EQ(fs.readAll(path).value(), bytes);
    EXPECT_EQ(fs.length(folder).error(), "Could not read the size of " + folder + ": Is a directory");
    EXPECT_EQ(fs.readAll(folder).error(), "Could not open " + folder + ": Is a directory");
    ASSERT_TRUE(fs.remove(path));
    EXPECT_EQ(fs.remove(path).error(), "Could not delete " + path + ": No such file or directory");
}

TEST(ReplaceAtomically, CreatesAndReplacesKeepingModeAndFollowingLinks)
{
    TempDir dir;
    PosixFileSystem fs;
    const std::string path = dir.file("names.txt");
    const mode_t oldMask = ::umask(027);
    Status created = fs.replaceAtomically(path, std::string("first\0x", 7));
    ::umask(oldMask);
    ASSERT_TRUE(created) << created.error();
    EXPECT_EQ(readFile(path), std::string("first\0x", 7));
    EXPECT_EQ(modeOf(path), 0640u);

    ::chmod(path.c_str(), 0604);
    const std::string second = patternBytes(70000, 3);
    ASSERT_TRUE(fs.replaceAtomically(path, second));
    EXPECT_EQ(readFile(path), second);
    EXPECT_EQ(modeOf(path), 0604u);

    // A link stays a link; the file it points to (even a missing one) is written.
    std::filesystem::create_symlink("names.txt", dir.file("link.txt"));
    std::filesystem::create_symlink("made.txt", dir.file("dangling.txt"));
    ASSERT_TRUE(fs.replaceAtomically(dir.file("link.txt"), ""));
    ASSERT_TRUE(fs.replaceAtomically(dir.file("dangling.txt"), "made"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(readFile(path), "");
    EXPECT_EQ(readFile(dir.file("made.txt")), "made");
    EXPECT_EQ(folderEntries(dir.path()), (Names{"dangling.txt", "link.txt", "made.txt", "names.txt"}));
}

TEST(ReplaceAtomically, FailureNamesThePathAndLeavesEverythingAsItWas)
{
    const std::pair<const char*, const char*> cases[] = {
        {"folder", "Is a directory"},
        {"plain.txt/inside.txt", "Not a directory"},
        {"nowhere/inside.txt", "No such file or directory"},
        {"folder/", "it does not name a file"},
    };
    for (const auto& [target, reason] : cases) {
        SCOPED_TRACE(target);
        TempDir dir;
        std::filesystem::create_directory(dir.file("folder"));
        writeFile(dir.file("plain.txt"), "plain");
        PosixFileSystem fs;
        const Status status = fs.replaceAtomically(dir.file(target), "new");
        EXPECT_EQ(status.error(), "Could not save " + dir.file(target) + ": " + reason);
        EXPECT_EQ(status.reason(), reason);
        EXPECT_EQ(folderEntries(dir.path()), (Names{"folder", "plain.txt"}));
        EXPECT_TRUE(folderEntries(dir.file("folder")).empty());
        EXPECT_EQ(readFile(dir.file("plain.txt")), "plain");
    }
}

TEST(ReplaceAtomically, ReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    TempDir dir;
    const std::string path = dir.file("names.txt");
    writeFile(path, "old contents");
    ::chmod(dir.path().c_str(), 0555);
    Status status = PosixFileSystem().replaceAtomically(path, "new");
    const Status creatable = PosixFileSystem().checkCreatable(dir.file("names.txt.bak"));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(status.error(), "Could not save " + path + ": Permission denied");
    EXPECT_EQ(creatable.error(), "Could not save " + dir.file("names.txt.bak") + ": Permission denied");
    EXPECT_EQ(readFile(path), "old contents");
    EXPECT_EQ(folderEntries(dir.path()), Names{"names.txt"});
}

TEST(Remove, FlushesTheFolderSoTheFileStaysDeleted)
{
    TempDir dir;
    const std::string path = dir.file(".vrn.exe.varnhold-journal");
    writeFile(path, "journal");
    Names flushes;
    PosixFileSystem fs([&](int fd) {
        flushes.push_back(flushedOf(fd));
        return ::fsync(fd);
    });
    ASSERT_TRUE(fs.remove(path));
    EXPECT_EQ(flushes, Names{"folder"});
    EXPECT_TRUE(folderEntries(dir.path()).empty());

    writeFile(path, "journal");
    const Status failed = PosixFileSystem(failingSync).remove(path);
    EXPECT_EQ(failed.error(), "Deleted " + path + ", but the folder could not be written to disk: Input/output error");
}

TEST(ReplaceAtomically, FlushesTheNewContentsBeforeTheRenameAndTheFolderAfter)
{
    TempDir dir;
    const std::string path = dir.file("names.txt");
    writeFile(path, "old");
    Names flushes; // what each flush saw, and what the file then held
    PosixFileSystem fs([&](int fd) {
        flushes.push_back(flushedOf(fd) + ", names.txt holds " + readFile(path));
        return ::fsync(fd);
    });
    ASSERT_TRUE(fs.replaceAtomically(path, "new contents"));
    EXPECT_EQ(flushes, (Names{"12 bytes, names.txt holds old", "folder, names.txt holds new contents"}));

    // A failed flush of the new contents is a failed save: the old file stays.
    Status failed = PosixFileSystem(failingSync).replaceAtomically(path, "lost");
    EXPECT_EQ(failed.error(), "Could not save " + path + ": Input/output error");
    EXPECT_EQ(readFile(path), "new contents");
    EXPECT_EQ(folderEntries(dir.path()), Names{"names.txt"});
}

// A write killed before its rename leaves its temporary file; the next
// write of that file removes it, whether it was a text write or a backup
// (both name their temporaries alike), and a checked folder stays as it was.
TEST(ReplaceAtomically, WhatAKilledWriteLeftGoesWithTheNextWriteOfTheFile)
{
    struct Killed {};
    TempDir dir;
    const std::string path = dir.file("P.ini");
    writeFile(path, "old");
    for (bool backup : {false, true}) {
        SCOPED_TRACE(backup ? "a backup" : "a text");
        const std::string target = backup ? path + ".bak" : path;
        const std::string before = readFile(path);
        // Death at the flush: the descriptor, and with it the hold on the
        // temporary file, goes with the process.
        PosixFileSystem dying([](int fd) -> int {
            ::close(fd);
            throw Killed{};
        });
        EXPECT_THROW((void)(backup ? dying.createNew(target, "new") : dying.replaceAtomically(target, "new")), Killed);
        Names left = folderEntries(dir.path());
        ASSERT_EQ(left.size(), 2u);
        EXPECT_TRUE(left[0].starts_with(backup ? ".P.ini.bak.tmp-" : ".P.ini.tmp-")) << left[0];
        EXPECT_EQ(readFile(path), before);

        PosixFileSystem files;
        ASSERT_TRUE(files.checkCreatable(target));
        EXPECT_EQ(folderEntries(dir.path()), left);
        if (backup) {
            ASSERT_TRUE(files.removeLeftovers(target));
            ASSERT_TRUE(files.createNew(target, "new"));
        } else {
            ASSERT_TRUE(files.replaceAtomically(target, "new"));
        }
        EXPECT_EQ(readFile(target), "new");
        EXPECT_EQ(folderEntries(dir.path()), backup ? (Names{"P.ini", "P.ini.bak"}) : Names{"P.ini"});
    }
}

TEST(ByteFile, CloseFlushesOnlyWhatWasWritten)
{
    TempDir dir;
    const std::string path = dir.file("game.exe");
    writeFile(path, "MZ....");
    Names flushes;
    PosixFileSystem fs([&](int fd) {
        flushes.push_back(flushedOf(fd));
        return ::fsync(fd);
    });
    auto reader = fs.openExisting(path, Access::ReadWrite);
    ASSERT_TRUE(reader);
    ASSERT_TRUE((*reader)->close());
    EXPECT_TRUE(flushes.empty());
    auto writer = fs.openExisting(path, Access::ReadWrite);
    ASSERT_TRUE(writer);
    ASSERT_TRUE((*writer)->write(2, {reinterpret_cast<const std::uint8_t*>("ab"), 2}));
    ASSERT_TRUE((*writer)->close());
    EXPECT_EQ(flushes, Names{"6 bytes"});

    auto broken = PosixFileSystem(failingSync).openExisting(path, Access::ReadWrite);
    ASSERT_TRUE(broken);
    ASSERT_TRUE((*broken)->write(0, {reinterpret_cast<const std::uint8_t*>("X"), 1}));
    EXPECT_EQ((*broken)->close().error(), "Could not write " + path + ": Input/output error");
}

/// ensureBackup of the file at `path`, held as a patch holds it.
Status backUp(PosixFileSystem& fs, const std::string& path)
{
    auto held = fs.openExisting(path, Access::ReadWriteExclusive);
    if (!held)
        return held.status();
    return ensureBackup(fs, path, **held);
}

TEST(Backup, FailureNamesTheBackupAndTheReasonAndTheFirstBackupStays)
{
    TempDir dir;
    const std::string path = dir.file("vrn.exe"), backup = path + ".bak";
    writeFile(path, "original");
    // A save that went through but could not be made durable is told whole.
    PosixFileSystem brokenFolder([](int fd) { return flushedOf(fd) == "folder" ? failingSync(fd) : ::fsync(fd); });
    EXPECT_EQ(backUp(brokenFolder, path).error(),
              "Could not make the backup " + backup + ": Saved " + backup
                  + ", but the folder could not be written to disk: Input/output error");
    std::filesystem::remove(backup);
    PosixFileSystem brokenDisk(failingSync);
    EXPECT_EQ(backUp(brokenDisk, path).error(),
              "Could not make the backup " + backup + ": Input/output error");
    EXPECT_EQ(folderEntries(dir.path()), Names{"vrn.exe"});

    PosixFileSystem fs;
    ASSERT_TRUE(backUp(fs, path));
    writeFile(path, "patched!"); // the same length: the backup is believed, and kept
    ASSERT_TRUE(backUp(fs, path));
    EXPECT_EQ(readFile(backup), "original");
    EXPECT_EQ(folderEntries(dir.path()), (Names{"vrn.exe", "vrn.exe.bak"}));
}

TEST(CreateNew, NeverFollowsOrReplacesWhatIsThere)
{
    namespace fs = std::filesystem;
    TempDir dir;
    PosixFileSystem files;
    writeFile(dir.file("file"), "old");
    writeFile(dir.file("target"), "target");
    fs::create_symlink(dir.file("target"), dir.file("link"));
    fs::create_symlink(dir.file("made"), dir.file("dangling"));
    fs::create_directory(dir.file("folder"));
    const Names before = folderEntries(dir.path());
    for (const char* taken : {"file", "link", "dangling", "folder"}) {
        SCOPED_TRACE(taken);
        EXPECT_EQ(files.createNew(dir.file(taken), "new").error(),
                  "Could not save " + dir.file(taken) + ": File exists");
        EXPECT_EQ(folderEntries(dir.path()), before); // no temporary file left either
    }
    EXPECT_EQ(readFile(dir.file("file")), "old");
    EXPECT_EQ(readFile(dir.file("target")), "target");
    EXPECT_FALSE(fs::exists(dir.file("made")));

    // A name as long as a name may be still leaves room for the temporary one.
    const std::string longName = dir.file(std::string(255, 'n'));
    ASSERT_TRUE(files.createNew(longName, "long"));
    EXPECT_EQ(readFile(longName), "long");
    EXPECT_EQ(files.entry(longName)->names, 1u);
}

TEST(CreateNew, FlushesTheFileBeforeItIsNamedAndTheFolderAfter)
{
    TempDir dir;
    const std::string path = dir.file("vrn.exe.bak");
    Names flushes;
    PosixFileSystem fs([&](int fd) {
        flushes.push_back(flushedOf(fd) + (std::filesystem::exists(path) ? ", named" : ", unnamed"));
        return ::fsync(fd);
    });
    const mode_t oldMask = ::umask(027);
    const Status made = fs.createNew(path, "backup");
    ::umask(oldMask);
    ASSERT_TRUE(made) << made.error();
    EXPECT_EQ(flushes, (Names{"6 bytes, unnamed", "folder, named"}));
    EXPECT_EQ(readFile(path), "backup");
    EXPECT_EQ(modeOf(path), 0640u);
    EXPECT_EQ(folderEntries(dir.path()), Names{"vrn.exe.bak"});
}

TEST(CreateNew, WhatAKilledBackupLeftIsRemovedAndNothingElse)
{
    namespace fs = std::filesystem;
    TempDir dir, other;
    const std::string path = dir.file("vrn.exe.bak");
    writeFile(other.file("kept"), "kept");
    for (const char* leftover : {".vrn.exe.bak.tmp-AbC123", ".vrn.exe.bak.tmp-000000"})
        writeFile(dir.file(leftover), patternBytes(1000));
    fs::create_symlink(other.file("kept"), dir.file(".vrn.exe.bak.tmp-Link99"));
    const Names notOurs = {".vrn.exe.bak.tmp-AbC12", ".vrn.exe.bak.tmp-AbC1234", ".vrn.exe.bak.tmp-AbC12!",
                           ".vrn.exe.bak.AbC123", ".Itemdesc.edt.bak.tmp-AbC123", "vrn.exe.bak.tmp-AbC123"};
    for (const std::string& name : notOurs)
        writeFile(dir.file(name), "someone's");
    fs::create_directory(dir.file(".vrn.exe.bak.tmp-Dir123"));

    PosixFileSystem files;
    ASSERT_TRUE(files.removeLeftovers(path));
    Names expected = notOurs;
    expected.push_back(".vrn.exe.bak.tmp-Dir123");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderEntries(dir.path()), expected);
    EXPECT_EQ(readFile(other.file("kept")), "kept");
    EXPECT_TRUE(files.removeLeftovers(dir.file("missing/vrn.exe.bak"))); // no folder, nothing to remove
}

} // namespace
