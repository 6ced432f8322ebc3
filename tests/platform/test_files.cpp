// PosixFileSystem and the line files written through it.

// standard
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

// POSIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/posixfilesystem.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"

using namespace platform;
using testsupport::patternBytes;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& s)
{
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

} // namespace

TEST(ByteFile, WritesInsideTheFileAndReadsBack)
{
    TempDir dir;
    const std::string path = dir.file("data.bin");
    std::string expected = patternBytes(100);
    writeFile(path, expected);

    PosixFileSystem fs;
    auto file = fs.openExisting(path, Access::ReadWrite);
    ASSERT_TRUE(file) << file.error();
    EXPECT_EQ((*file)->size(), 100u);
    ASSERT_TRUE((*file)->write(10, bytesOf("ABCD")));
    ASSERT_TRUE((*file)->write(96, bytesOf("wxyz"))); // ends exactly at the end
    ASSERT_TRUE((*file)->write(50, bytesOf("")));
    expected.replace(10, 4, "ABCD");
    expected.replace(96, 4, "wxyz");

    std::uint8_t back[6];
    ASSERT_TRUE((*file)->read(9, back));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back), 6), expected.substr(9, 6));
    ASSERT_TRUE((*file)->close());
    EXPECT_EQ(readFile(path), expected);
}

TEST(ByteFile, RefusesAccessBeyondTheEndAndLeavesTheFileAlone)
{
    struct Case {
        std::uint64_t offset;
        std::size_t count;
        bool write;
    };
    const Case cases[] = {
        {97, 4, true},  {100, 1, true}, {101, 0, true}, {std::numeric_limits<std::uint64_t>::max(), 2, true},
        {98, 3, false}, {100, 1, false}, {101, 0, false}, {std::numeric_limits<std::uint64_t>::max() - 1, 4, false},
    };
    TempDir dir;
    const std::string path = dir.file("data.bin");
    const std::string original = patternBytes(100);
    writeFile(path, original);
    PosixFileSystem fs;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset) + "+" + std::to_string(c.count) + (c.write ? " write" : " read"));
        auto file = fs.openExisting(path, Access::ReadWrite);
        ASSERT_TRUE(file) << file.error();
        std::string buffer(c.count, 'Q');
        auto* data = reinterpret_cast<std::uint8_t*>(buffer.data());
        Status status = c.write ? (*file)->write(c.offset, {data, c.count}) : (*file)->read(c.offset, {data, c.count});
        EXPECT_FALSE(status);
        EXPECT_NE(status.error().find(path), std::string::npos) << status.error();
        ASSERT_TRUE((*file)->close());
        EXPECT_EQ(readFile(path), original);
    }
}

TEST(ByteFile, ReadAccessRefusesWritesAndClosedFilesRefuseEverything)
{
    TempDir dir;
    const std::string path = dir.file("data.bin");
    writeFile(path, "0123456789");
    PosixFileSystem fs;
    auto file = fs.openExisting(path, Access::Read);
    ASSERT_TRUE(file) << file.error();
    EXPECT_FALSE((*file)->write(0, bytesOf("x")));
    ASSERT_TRUE((*file)->close());
    std::uint8_t b[1];
    EXPECT_FALSE((*file)->read(0, b));
    EXPECT_EQ(readFile(path), "0123456789");
}

TEST(PosixFileSystem, OpenExistingNeverCreatesAndRefusesFolders)
{
    TempDir dir;
    PosixFileSystem fs;
    for (Access access : {Access::Read, Access::ReadWrite, Access::ReadWriteExclusive}) {
        const std::string missing = dir.file("missing.bin");
        auto file = fs.openExisting(missing, access);
        ASSERT_FALSE(file);
        EXPECT_EQ(file.error(), "Could not open " + missing + ": No such file or directory");
        EXPECT_FALSE(std::filesystem::exists(missing));

        auto folder = fs.openExisting(dir.path(), access);
        ASSERT_FALSE(folder);
        EXPECT_EQ(folder.error(), "Could not open " + dir.path() + ": Is a directory");
    }
}

TEST(PosixFileSystem, ExclusiveAccessIsRefusedWhileAnotherHoldsTheFile)
{
    TempDir dir;
    const std::string path = dir.file("game.exe");
    writeFile(path, "MZ");
    PosixFileSystem fs;

    // Another program's exclusive lock, on a descriptor of its own.
    int other = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    auto refused = fs.openExisting(path, Access::ReadWriteExclusive);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), "Could not open " + path + ": the file is in use by another program");
    EXPECT_TRUE(fs.openExisting(path, Access::Read)); // plain access takes no lock
    ::close(other);

    auto first = fs.openExisting(path, Access::ReadWriteExclusive);
    ASSERT_TRUE(first) << first.error();
    EXPECT_FALSE(fs.openExisting(path, Access::ReadWriteExclusive));
    ASSERT_TRUE((*first)->close());
    EXPECT_TRUE(fs.openExisting(path, Access::ReadWriteExclusive));
}

TEST(PosixFileSystem, QueriesReadsAndRemoves)
{
    TempDir dir;
    PosixFileSystem fs;
    const std::string path = dir.file("big.bin");
    std::string bytes = patternBytes(200000); // more than one read's buffer
    bytes[5] = '\0';
    writeFile(path, bytes);

    EXPECT_TRUE(fs.exists(path));
    EXPECT_FALSE(fs.exists(dir.path()));
    EXPECT_FALSE(fs.exists(dir.file("none")));
    auto length = fs.length(path);
    ASSERT_TRUE(length);
    EXPECT_EQ(*length, 200000u);
    EXPECT_EQ(fs.length(dir.path()).error(), "Could not read the size of " + dir.path() + ": Is a directory");

    auto all = fs.readAll(path);
    ASSERT_TRUE(all) << all.error();
    EXPECT_EQ(*all, bytes);
    EXPECT_EQ(fs.readAll(dir.path()).error(), "Could not open " + dir.path() + ": Is a directory");

    ASSERT_TRUE(fs.remove(path));
    EXPECT_FALSE(fs.exists(path));
    EXPECT_EQ(fs.remove(path).error(), "Could not delete " + path + ": No such file or directory");
    EXPECT_EQ(fs.readAll(path).error(), "Could not open " + path + ": No such file or directory");
}

TEST(ReplaceAtomically, CreatesAndReplacesKeepingModeAndLeavingNoTemporaryFile)
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

    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    const std::string second = patternBytes(70000, 3);
    ASSERT_TRUE(fs.replaceAtomically(path, second));
    EXPECT_EQ(readFile(path), second);
    EXPECT_EQ(modeOf(path), 0604u);

    ASSERT_TRUE(fs.replaceAtomically(path, ""));
    EXPECT_EQ(readFile(path), "");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"names.txt"});
}

TEST(ReplaceAtomically, ReplacesTheFileALinkPointsTo)
{
    TempDir dir;
    PosixFileSystem fs;
    std::filesystem::create_directory(dir.file("real"));
    writeFile(dir.file("real/names.txt"), "old");
    std::filesystem::create_symlink("real/names.txt", dir.file("link.txt"));
    std::filesystem::create_symlink("real/new.txt", dir.file("dangling.txt"));

    ASSERT_TRUE(fs.replaceAtomically(dir.file("link.txt"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(readFile(dir.file("real/names.txt")), "new");

    ASSERT_TRUE(fs.replaceAtomically(dir.file("dangling.txt"), "made"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling.txt")));
    EXPECT_EQ(readFile(dir.file("real/new.txt")), "made");
    EXPECT_EQ(folderEntries(dir.file("real")), (std::vector<std::string>{"names.txt", "new.txt"}));
}

TEST(ReplaceAtomically, FailureNamesThePathAndLeavesEverythingAsItWas)
{
    struct Case {
        const char* target;
        const char* reason;
    };
    const Case cases[] = {
        {"folder", "Is a directory"},
        {"plain.txt/inside.txt", "Not a directory"},
        {"nowhere/inside.txt", "No such file or directory"},
        {"folder/", "it does not name a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        TempDir dir;
        std::filesystem::create_directory(dir.file("folder"));
        writeFile(dir.file("folder/keep.bin"), "kept");
        writeFile(dir.file("plain.txt"), "plain");
        const auto before = folderEntries(dir.path());

        PosixFileSystem fs;
        const std::string path = dir.file(c.target);
        Status status = fs.replaceAtomically(path, "new bytes");
        ASSERT_FALSE(status);
        EXPECT_EQ(status.error(), "Could not save " + path + ": " + c.reason);
        EXPECT_EQ(folderEntries(dir.path()), before);
        EXPECT_EQ(folderEntries(dir.file("folder")), std::vector<std::string>{"keep.bin"});
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
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    PosixFileSystem fs;
    Status status = fs.replaceAtomically(path, "new");
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(status.error(), "Could not save " + path + ": Permission denied");
    EXPECT_EQ(readFile(path), "old contents");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"names.txt"});
}

TEST(TextLines, WriteAndReadThroughTheFileSystem)
{
    TempDir dir;
    PosixFileSystem fs;
    const std::string path = dir.file("lines.txt");
    const std::vector<std::string> lines{"first", "", "\xE9t\xE9"};
    ASSERT_TRUE(writeTextLines(fs, path, lines));
    EXPECT_EQ(readFile(path), "first\r\n\r\n\xE9t\xE9\r\n");
    auto back = readTextLines(fs, path);
    ASSERT_TRUE(back) << back.error();
    EXPECT_EQ(*back, lines);
    EXPECT_EQ(readTextLines(fs, dir.file("none.txt")).error(),
              "Could not open " + dir.file("none.txt") + ": No such file or directory");
}
