// The Windows file system: byte access that never creates, truncates or
// extends, files the game holds open, atomic replacement and when data is
// flushed to the disk, the backup of a game file, drive-root and backslash
// paths.

// standard
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// Windows
#include <windows.h>

// ours
#include "platform/backup.h"
#include "platform/journal.h"
#include "platform/paths.h"
#include "platform/win32filesystem.h"
#include "tests/support/fileholder.h"
#include "tests/support/tempdir.h"

using namespace platform;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

TEST(Win32FileSystem, ByteAccessStaysInsideTheFile)
{
    testsupport::TempDir dir;
    Win32FileSystem fs;
    const std::string missing = dir.file("missing.dat");
    EXPECT_FALSE(fs.openExisting(missing, Access::ReadWrite));
    EXPECT_FALSE(std::filesystem::exists(missing)); // never created
    EXPECT_FALSE(fs.openExisting(dir.path(), Access::Read));
    EXPECT_FALSE(fs.isFile(dir.path()));

    const std::string path = dir.file("IMP.dat");
    writeFile(path, "0123456789");
    auto file = fs.openExisting(path, Access::ReadWrite);
    ASSERT_TRUE(file) << file.error();
    EXPECT_EQ((*file)->size(), 10u);
    const std::vector<std::uint8_t> two = {'A', 'B'};
    ASSERT_TRUE((*file)->write(8, two));
    const Status beyond = (*file)->write(9, two);
    ASSERT_FALSE(beyond);
    EXPECT_EQ(beyond.error(), "Could not write " + path + ": 2 bytes at offset 9 would extend the file beyond its 10 bytes");
    std::vector<std::uint8_t> out(3);
    ASSERT_TRUE((*file)->read(7, out));
    EXPECT_EQ(std::string(out.begin(), out.end()), "7AB");
    ASSERT_TRUE((*file)->close());
    EXPECT_EQ(readFile(path), "01234567AB");
    EXPECT_EQ(*fs.length(path), 10u);
    EXPECT_EQ(*fs.readAll(path), "01234567AB");
}

TEST(Win32FileSystem, AFileTheGameHoldsIsInUseAndStaysWhole)
{
    testsupport::TempDir dir;
    Win32FileSystem fs;
    const std::string path = dir.file("vrn.exe");
    writeFile(path, "MZ old");
    {
        testsupport::FileHolder game(path);
        ASSERT_TRUE(game.held());
        for (Access access : {Access::ReadWrite, Access::ReadWriteExclusive}) {
            auto opened = fs.openExisting(path, access);
            ASSERT_FALSE(opened);
            EXPECT_EQ(opened.error(), "Could not open " + path + ": the file is in use by another program");
            EXPECT_EQ(opened.reason(), "the file is in use by another program");
        }
        EXPECT_FALSE(fs.replaceAtomically(path, "new"));
    }
    EXPECT_EQ(readFile(path), "MZ old");
    // Our own exclusive open keeps a second writer out until it is closed.
    auto first = fs.openExisting(path, Access::ReadWriteExclusive);
    ASSERT_TRUE(first) << first.error();
    EXPECT_FALSE(fs.openExisting(path, Access::ReadWrite));
    EXPECT_TRUE(fs.openExisting(path, Access::Read)); // reading is shared
    ASSERT_TRUE((*first)->close());
    EXPECT_TRUE(fs.openExisting(path, Access::ReadWrite));
}

TEST(Win32FileSystem, ReplaceIsAtomicAndRefusesReadOnlyFiles)
{
    testsupport::TempDir dir;
    Win32FileSystem fs;
    const std::string path = dir.file("names.def");
    ASSERT_TRUE(fs.replaceAtomically(path, "first\r\n"));
    ASSERT_TRUE(fs.replaceAtomically(path, "second\r\n"));
    EXPECT_EQ(readFile(path), "second\r\n");

    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const Status refused = fs.replaceAtomically(path, "third\r\n");
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error().find(path), std::string::npos) << refused.error();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readFile(path), "second\r\n");
    // Nothing is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

/// What a flush saw of its file: the file's size.
std::string flushedOf(void* handle)
{
    LARGE_INTEGER size{};
    GetFileSizeEx(static_cast<HANDLE>(handle), &size);
    return std::to_string(size.QuadPart) + " bytes";
}

/// A flush that fails as a broken disk would.
bool failingFlush(void*)
{
    SetLastError(ERROR_CRC);
    return false;
}

/// The failure's message is "WHAT PATH: " and the system's wording of the
/// error, not its bare number.
void expectFailure(const Status& failed, const std::string& what)
{
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error(), what + ": " + failed.reason());
    EXPECT_FALSE(failed.reason().empty());
    EXPECT_NE(failed.reason().rfind("error ", 0), 0u) << failed.reason();
}

TEST(Win32FileSystem, ASaveFlushesBeforeTheMoveAndAFailedFlushKeepsTheOldFile)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("names.txt");
    writeFile(path, "old");
    std::string saved = path;
    std::vector<std::string> flushes; // what each flush saw, and what the saved file then was
    Win32FileSystem fs([&](void* handle) {
        const bool there = std::filesystem::exists(saved);
        flushes.push_back(flushedOf(handle) + ", " + (there ? "holding " + readFile(saved) : "not there"));
        return FlushFileBuffers(static_cast<HANDLE>(handle)) != 0;
    });
    ASSERT_TRUE(fs.replaceAtomically(path, "new contents"));
    EXPECT_EQ(flushes, std::vector<std::string>{"12 bytes, holding old"});
    flushes.clear();
    saved = dir.file("vrn.exe.bak");
    ASSERT_TRUE(fs.createNew(saved, "backup"));
    EXPECT_EQ(flushes, std::vector<std::string>{"6 bytes, not there"});
    EXPECT_EQ(readFile(saved), "backup");

    // A failed flush of the new contents is a failed save: the old file
    // stays whole, and nothing is left beside it.
    Win32FileSystem broken(failingFlush);
    expectFailure(broken.replaceAtomically(path, "lost"), "Could not save " + path);
    expectFailure(broken.createNew(dir.file("IMP.dat.bak"), "lost"), "Could not save " + dir.file("IMP.dat.bak"));
    EXPECT_EQ(readFile(path), "new contents");
    EXPECT_EQ(testsupport::folderEntries(dir.path()), (std::vector<std::string>{"names.txt", "vrn.exe.bak"}));
}

TEST(Win32FileSystem, ByteFileFlushesOnlyWhatWasWritten)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("game.exe");
    writeFile(path, "MZ....");
    std::vector<std::string> flushes;
    Win32FileSystem fs([&](void* handle) {
        flushes.push_back(flushedOf(handle));
        return FlushFileBuffers(static_cast<HANDLE>(handle)) != 0;
    });
    const std::vector<std::uint8_t> ab = {'a', 'b'};
    auto reader = fs.openExisting(path, Access::ReadWrite);
    ASSERT_TRUE(reader);
    ASSERT_TRUE((*reader)->close());
    EXPECT_TRUE(flushes.empty());
    auto writer = fs.openExisting(path, Access::ReadWrite);
    ASSERT_TRUE(writer);
    ASSERT_TRUE((*writer)->write(2, ab));
    ASSERT_TRUE((*writer)->sync());
    ASSERT_TRUE((*writer)->close()); // the sync flushed it all
    EXPECT_EQ(flushes, std::vector<std::string>{"6 bytes"});

    Win32FileSystem broken(failingFlush);
    auto file = broken.openExisting(path, Access::ReadWrite);
    ASSERT_TRUE(file);
    ASSERT_TRUE((*file)->write(0, ab));
    expectFailure((*file)->sync(), "Could not write " + path);
    expectFailure((*file)->close(), "Could not write " + path);
    EXPECT_EQ(readFile(path), "abab..");
}

/// ensureBackup of the file at `path`, held as a patch holds it.
Status backUp(Win32FileSystem& fs, const std::string& path)
{
    auto held = fs.openExisting(path, Access::ReadWriteExclusive);
    if (!held)
        return held.status();
    return ensureBackup(fs, path, **held);
}

// The backup is made once, from the held file, under a name nothing else
// has; what a killed backup left is removed; a second name of the file
// itself is no backup. (Links, folders and files of another length at the
// backup's name are refused by the same code on every system: the console
// program's tests show it.)
TEST(Win32Backup, MadeOnceAndNeverOverAnything)
{
    testsupport::TempDir dir;
    Win32FileSystem fs;
    const std::string path = dir.file("vrn.exe"), backup = backupPath(path);
    writeFile(path, "original");
    writeFile(dir.file(".vrn.exe.bak.tmp-AbC123"), "orig");
    writeFile(dir.file(".vrn.exe.bak.tmp-AbC12"), "someone's");
    ASSERT_TRUE(backUp(fs, path));
    EXPECT_EQ(readFile(backup), "original");
    EXPECT_EQ(testsupport::folderEntries(dir.path()), (std::vector<std::string>{".vrn.exe.bak.tmp-AbC12", "vrn.exe", "vrn.exe.bak"}));
    writeFile(path, "patched!");
    ASSERT_TRUE(backUp(fs, path));
    EXPECT_EQ(readFile(backup), "original");
    EXPECT_FALSE(fs.createNew(backup, "new"));
    EXPECT_EQ(readFile(backup), "original");
    EXPECT_EQ(fs.entry(dir.path())->kind, Entry::Kind::Folder);

    std::filesystem::remove(backup);
    ASSERT_TRUE(CreateHardLinkW(std::filesystem::path(backup).c_str(), std::filesystem::path(path).c_str(), nullptr));
    EXPECT_EQ(backUp(fs, path).message().lines(),
              (std::vector<std::string>{backup + " is not a backup of this file (it is also a file of another name, "
                                                 "a hard link);",
                                        "move it away and try again."}));
}

TEST(Win32FileSystem, DriveRootsAndBackslashes)
{
    EXPECT_EQ(joinPath("C:\\", "names.def"), "C:\\names.def");
    EXPECT_EQ(joinPath("C:\\Games\\Varnhold", "names.def"), "C:\\Games\\Varnhold\\names.def");
    EXPECT_EQ(folderOf("C:\\Games\\Varnhold\\vrn.exe"), "C:\\Games\\Varnhold");
    EXPECT_EQ(folderOf("C:/Games/vrn.exe"), "C:/Games");
    EXPECT_EQ(folderOf("C:\\vrn.exe"), "C:\\");
    EXPECT_EQ(folderOf("\\\\server\\games\\vrn.exe"), "\\\\server\\games");
    EXPECT_EQ(folderOf("vrn.exe"), "");
    // names.def in a working folder that is a drive root, either spelling.
    EXPECT_EQ(joinPath(checkifroot("C:\\"), "names.def"), "C:\\names.def");
    EXPECT_EQ(joinPath(checkifroot("C:/"), "names.def"), "C:\\names.def");
    EXPECT_EQ(joinPath(checkifroot("D:\\Games"), "names.def"), "D:\\Games\\names.def");
    EXPECT_EQ(joinPath("C:/Games/", "names.def"), "C:/Games/names.def"); // either separator ends a folder

    // Head, name and folder of a path: '\\' and '/' both separate, and a
    // drive's root is never cut; the head and the name give the path back.
    struct Row {
        const char* path;
        const char* head;
        const char* name;
        const char* folder;
    };
    const Row splits[] = {
        {"C:\\Games\\vrn.exe", "C:\\Games\\", "vrn.exe", "C:\\Games"},
        {"C:/Games\\vrn.exe", "C:/Games\\", "vrn.exe", "C:/Games"},
        {"C:\\vrn.exe", "C:\\", "vrn.exe", "C:\\"}, // a drive root keeps its separator
        {"C:/vrn.exe", "C:/", "vrn.exe", "C:/"},
        {"C:\\", "C:\\", "", "C:\\"},               // the root alone
        {"C:vrn.exe", "C:", "vrn.exe", "C:"},          // a name in the drive's current folder
        {"C:", "C:", "", "C:"},
        {"\\vrn.exe", "\\", "vrn.exe", "\\"},           // the current drive's root
        {"vrn.exe", "", "vrn.exe", ""},                // no separator
        {"Games\\", "Games\\", "", "Games"},           // a trailing separator: no name
        {"\\\\server\\games\\vrn.exe", "\\\\server\\games\\", "vrn.exe", "\\\\server\\games"},
    };
    for (const Row& row : splits) {
        const PathParts parts = splitPath(row.path);
        EXPECT_EQ(parts.head, row.head) << row.path;
        EXPECT_EQ(parts.name, row.name) << row.path;
        EXPECT_EQ(parts.head + parts.name, row.path);
        EXPECT_EQ(nameOf(row.path), row.name) << row.path;
        EXPECT_EQ(folderOf(row.path), row.folder) << row.path;
    }
    // A journal goes beside its file, never into a stream of a file named
    // by the drive ("C:" is no name).
    EXPECT_EQ(journalPath("C:vrn.exe"), "C:.vrn.exe.varnhold-journal");
    EXPECT_EQ(journalPath("C:\\Games\\vrn.exe"), "C:\\Games\\.vrn.exe.varnhold-journal");

    testsupport::TempDir dir;
    Win32FileSystem fs;
    std::string backslashed = dir.file("Itemdesc.edt");
    for (char& c : backslashed)
        if (c == '/')
            c = '\\';
    writeFile(backslashed, "texts");
    EXPECT_TRUE(fs.isFile(backslashed));
    EXPECT_EQ(*fs.readAll(backslashed), "texts");
    ASSERT_TRUE(fs.replaceAtomically(backslashed, "new texts"));
    EXPECT_EQ(readFile(backslashed), "new texts");
    // A drive's root folder is no file, nor is a device.
    EXPECT_FALSE(fs.isFile("C:\\"));
    EXPECT_FALSE(fs.openExisting("C:\\", Access::Read));
    EXPECT_FALSE(fs.isFile("NUL"));
    EXPECT_FALSE(fs.isFile(dir.file("missing.edt")));
    // A link is followed: to a file it is a file; to nothing, or to a
    // folder, it is none. (Making links may need a right the test lacks.)
    std::error_code made;
    std::filesystem::create_symlink(backslashed, dir.file("to-file"), made);
    if (!made) {
        EXPECT_TRUE(fs.isFile(dir.file("to-file")));
        std::filesystem::create_symlink(dir.file("gone"), dir.file("dangling"), made);
        EXPECT_FALSE(fs.isFile(dir.file("dangling")));
        std::filesystem::create_directory_symlink(dir.path(), dir.file("to-folder"), made);
        EXPECT_FALSE(fs.isFile(dir.file("to-folder")));
    }
}

} // namespace
