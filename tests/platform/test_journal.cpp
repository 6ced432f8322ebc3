// The rollback journal of an in-place patch: its bytes on the disk, and a
// journal that was never finished (damaged, for another length, a leftover
// of its own making) removed without touching the file. A kill at every step
// of each program's patch is in its own fault tests.

// standard
#include <filesystem>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/bytefilechecks.h"
#include "platform/journal.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/tempdir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::writeFile;

// Two runs of a 64-byte file.
const PatchSpan kSpans[] = {{4, 10}, {40, 8}};

class Journal : public ::testing::Test {
protected:
    Journal() { writeFile(file, old); }

    std::unique_ptr<ByteFile> open(FileSystem& files)
    {
        auto opened = files.openExisting(file, Access::ReadWriteExclusive);
        EXPECT_TRUE(opened) << opened.error();
        return std::move(*opened);
    }

    /// What the next patch does first, with a file system of its own.
    std::string rollBack()
    {
        testsupport::FaultyFileSystem files;
        auto held = open(files);
        auto note = rollBackUnfinishedPatch(files, file, *held);
        EXPECT_TRUE(note) << note.error();
        EXPECT_TRUE(held->close());
        return note ? *note : "failed";
    }

    testsupport::TempDir dir;
    const std::string file = dir.file("vrn.exe");
    const std::string journal = dir.file(".vrn.exe.varnhold-journal");
    const std::string old = testsupport::patternBytes(64, 1);
};

TEST_F(Journal, HoldsTheOldBytesOfEachSpanUnderItsChecksumAndPutsThemBack)
{
    EXPECT_EQ(journalPath(file), journal);
    EXPECT_EQ(journalPath("vrn.exe"), ".vrn.exe.varnhold-journal");

    testsupport::FaultyFileSystem files;
    auto held = open(files);
    auto begun = PatchJournal::begin(files, file, *held, kSpans);
    ASSERT_TRUE(begun) << begun.error();
    std::string expected = "varnhold patch journal 1\n";
    expected += std::string("\x40\0\0\0\0\0\0\0", 8) + std::string("\2\0\0\0", 4);
    expected += std::string("\4\0\0\0\0\0\0\0", 8) + std::string("\x0A\0\0\0\0\0\0\0", 8) + old.substr(4, 10);
    expected += std::string("\x28\0\0\0\0\0\0\0", 8) + std::string("\x08\0\0\0\0\0\0\0", 8) + old.substr(40, 8);
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char byte : expected)
        hash = (hash ^ byte) * 0x100000001b3ULL;
    for (int i = 0; i < 8; ++i)
        expected += static_cast<char>(hash >> (8 * i));
    EXPECT_EQ(readFile(journal), expected);

    // Killed with a span half-written: the next patch puts the old bytes back.
    const std::uint8_t torn[] = {'X', 'X', 'X', 'X', 'X'};
    ASSERT_TRUE(held->write(4, torn));
    ASSERT_TRUE(held->close());
    EXPECT_EQ(rollBack(), "An unfinished patch of " + file + " was rolled back.");
    EXPECT_EQ(readFile(file), old);
    EXPECT_FALSE(fs::exists(journal));
}

TEST_F(Journal, OneNeverFinishedIsRemovedAndTheFileLeftAsItIs)
{
    testsupport::FaultyFileSystem files;
    auto made = [&](const std::string& target) {
        auto held = files.openExisting(target, Access::ReadWriteExclusive);
        auto begun = PatchJournal::begin(files, target, **held, kSpans);
        EXPECT_TRUE(begun);
        return readFile(journalPath(target));
    };
    const std::string whole = made(file);
    fs::remove(journal);
    writeFile(dir.file("longer.exe"), testsupport::patternBytes(65));
    const std::string longer = made(dir.file("longer.exe"));
    std::string flipped = whole;
    flipped[30] ^= 0x01;
    struct Row {
        const char* name;
        std::string at;
        std::string bytes;
    };
    const Row rows[] = {
        {"torn", journal, whole.substr(0, whole.size() - 1)},
        {"damaged", journal, flipped},
        {"empty", journal, ""},
        {"another length", journal, longer},
        {"a journal still being made", dir.file(temporaryPrefix(".vrn.exe.varnhold-journal") + "Ab3dEf"), whole},
    };
    const std::string other = testsupport::patternBytes(64, 2); // no journal's old bytes
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(file, other);
        writeFile(row.at, row.bytes);
        EXPECT_EQ(rollBack(), "");
        EXPECT_FALSE(fs::exists(row.at));
        EXPECT_EQ(readFile(file), other);
    }
}

} // namespace
} // namespace platform
