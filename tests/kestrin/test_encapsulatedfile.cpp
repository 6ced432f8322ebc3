// Byte access to IMP.dat's record: single bytes at absolute offsets inside
// it, the cell and narrow text encodings, checked against the whole record
// so that a stray byte shows; and the refusals of a file that is no profile.

// standard
#include <map>
#include <memory>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "kestrin/core/encapsulatedfile.h"
#include "kestrin/core/profile.h"
#include "kestrin/core/profilefile.h"
#include "platform/nativefilesystem.h"
#include "tests/support/nowindowchoices.h"
#include "tests/support/tempdir.h"

namespace kestrin {
namespace {

using testsupport::readFile;
using testsupport::writeFile;

class EncapsulatedFile : public ::testing::Test {
protected:
    EncapsulatedFile() { load(before); }

    /// The record's bytes as read from a file.
    void load(const std::string& bytes) { record.assign(bytes.begin(), bytes.end()); }
    std::unique_ptr<TEncapsulatedFile> open() { return std::make_unique<TEncapsulatedFile>(record, path); }

    /// Offset -> new value of every byte that differs from `before`.
    std::map<int, int> changes() const
    {
        const std::string after(record.begin(), record.end());
        EXPECT_EQ(after.size(), before.size());
        std::map<int, int> changed;
        for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
            if (before[i] != after[i])
                changed[int(i)] = static_cast<unsigned char>(after[i]);
        return changed;
    }

    testsupport::TempDir dir;
    platform::NativeFileSystem files;
    std::string path = dir.file("IMP.dat");
    std::string before = testsupport::patternBytes(578); // no zero byte anywhere
    std::vector<std::uint8_t> record;
};

TEST_F(EncapsulatedFile, CellTextWritesLowBytesAndClearsTheRestOfTheField)
{
    WriteCellText(*open(), "Ivan", 8, 20);
    std::map<int, int> expected = {{8, 'I'}, {10, 'v'}, {12, 'a'}, {14, 'n'}};
    for (int cell = 4; cell < 20; ++cell)
        expected[8 + 2 * cell] = 0; // 16, 18, ... 46; no odd offset, nothing from 48 on
    EXPECT_EQ(changes(), expected);
}

TEST_F(EncapsulatedFile, CellTextOfTheFullLengthOrLongerFillsEveryCellAndNoMore)
{
    for (const std::string name : {"Aleksandra Ivanovna.", "Aleksandra Ivanovna Kostova"}) {
        load(before);
        WriteCellText(*open(), name, 8, 20);
        std::map<int, int> expected;
        for (int cell = 0; cell < 20; ++cell)
            expected[8 + 2 * cell] = name[cell]; // no zero cell; 48 on (the gap) untouched
        EXPECT_EQ(changes(), expected) << name;
    }
}

TEST_F(EncapsulatedFile, CellTextReadsLowBytesSkippingZeros)
{
    struct Case {
        std::string lowBytes;
        std::string expected;
    };
    const Case cases[] = {
        {std::string("A\0B\0\0\0\0\0", 8), "AB"},   // later cells still count
        {std::string("Sh\0a\0\0\0\0", 8), "Sha"},
        {std::string(8, '\0'), ""},
        {"Nighthwk", "Nighthwk"},                  // all 8 cells; high bytes never join in
    };
    for (const Case& c : cases) {
        std::string bytes = before;
        for (int cell = 0; cell < 8; ++cell)
            bytes[68 + 2 * cell] = c.lowBytes[cell];
        load(bytes);
        EXPECT_EQ(ReadCellText(*open(), 68, 8), c.expected);
    }
}

TEST_F(EncapsulatedFile, NarrowTextStopsAtZeroOrTheLimit)
{
    before.replace(117, 9, std::string("TANPANTS\0", 9));
    before.replace(568, 10, "BLONDHEADS"); // offset 578 lies beyond the record
    load(before);
    auto file = open();
    EXPECT_EQ(ReadNarrowText(*file, 117, 10), "TANPANTS");
    EXPECT_EQ(ReadNarrowText(*file, 125, 10), ""); // starts on the zero
    // Ten non-zero bytes give ten characters; the eleventh is never read
    // (it would be past the end and throw).
    EXPECT_EQ(ReadNarrowText(*file, 568, 10), "BLONDHEADS");
    EXPECT_EQ(ReadNarrowText(*file, 568, 9), "BLONDHEAD");
}

TEST_F(EncapsulatedFile, NarrowTextOverALongerNameKeepsItsTail)
{
    before.replace(117, 10, "BLACKPANTS"); // at 117-126, no zero behind it
    load(before);
    WriteNarrowText(*open(), std::string("TANPANTS\0\0\0", 11), 117);
    // 117-124 the new name, 125-127 zeros; from 128 on the bytes stay, behind
    // the terminator where no read looks.
    EXPECT_EQ(changes(), (std::map<int, int>{{117, 'T'}, {118, 'A'}, {119, 'N'}, {120, 'P'}, {121, 'A'},
                                             {122, 'N'}, {123, 'T'}, {124, 'S'}, {125, 0}, {126, 0}, {127, 0}}));
}

TEST_F(EncapsulatedFile, BytesOutsideTheRecordAreRefusedAndItNeverGrows)
{
    auto file = open();
    file->SetAccessOffset(577);
    EXPECT_EQ(file->ReadByte(), static_cast<unsigned char>(before[577]));
    for (int offset : {578, -1}) {
        file->SetAccessOffset(offset);
        for (const char* what : {"read", "write"}) {
            try {
                if (what == std::string("read"))
                    (void)file->ReadByte();
                else
                    file->WriteByte(0);
                ADD_FAILURE() << what << " at " << offset;
            } catch (const RecordAccessError& e) {
                const std::string message = std::string("Could not ") + what + " " + path + ": offset " +
                                            std::to_string(offset) + " lies outside the profile record";
                EXPECT_EQ(e.what(), message);
                // As a pass gives it back: the message whole, the file named.
                const platform::Status failure = e.status();
                EXPECT_EQ(failure.error(), message);
                EXPECT_EQ(failure.path(), path);
                EXPECT_FALSE(failure.hasReason());
            }
        }
    }
    EXPECT_EQ(std::string(record.begin(), record.end()), before);
}

TEST_F(EncapsulatedFile, ReadFailuresNameTheFile)
{
    const std::string missing = dir.file("missing.dat");
    const std::string shortFile = dir.file("short.dat");
    writeFile(shortFile, testsupport::patternBytes(577));
    const std::string shortest = dir.file("shortest.dat");
    writeFile(shortest, testsupport::profileBytes(578));
    // Game files are long enough for the record; their lengths tell them.
    const std::string exe = dir.file("vrn.exe");
    const std::string items = dir.file("Itemdesc.edt");
    writeFile(exe, testsupport::patternBytes(2439168));
    writeFile(items, testsupport::patternBytes(280800));

    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {missing, "Cannot open file \"" + missing + "\". " + testsupport::missingFileReason()},
        {dir.path(), "Cannot open file \"" + dir.path() + "\". " + testsupport::openFailureReason(dir.path())},
        {shortFile, "Cannot use file \"" + shortFile
                        + "\". It is 577 bytes long; a custom mercenary profile needs at least 578 bytes."},
        {exe, "Cannot use file \"" + exe + "\". It is the game executable [RU1.02], not a custom mercenary profile."},
        {items, "Cannot use file \"" + items + "\". It is an item text file of the game, not a custom mercenary "
                                              "profile."},
    };
    for (const platform::Reading reading : {platform::Reading::ToEdit, platform::Reading::ReadOnly}) {
        for (const Case& c : cases) {
            Profile profile;
            NoWindowChoices windows;
            const platform::Status read = readProfile(files, c.path, profile, windows, reading);
            ASSERT_FALSE(read.ok()) << "read " << c.path;
            EXPECT_EQ(read.error(), c.message);
            EXPECT_EQ(read.path(), c.path); // the console program names the file once
        }
        // The shortest file taken is read.
        Profile profile;
        NoWindowChoices windows;
        const platform::Status read = readProfile(files, shortest, profile, windows, reading);
        EXPECT_TRUE(read.ok()) << read.error();
    }
    EXPECT_EQ(readFile(shortFile), testsupport::patternBytes(577));
    EXPECT_EQ(readFile(exe), testsupport::patternBytes(2439168));
}

} // namespace
} // namespace kestrin
