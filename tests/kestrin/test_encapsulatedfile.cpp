// Byte access to IMP.dat: opening (and refusing) the file, single bytes at
// absolute offsets inside it, and the cell and narrow text encodings, checked
// against whole files so that a stray byte shows.

// standard
#include <map>
#include <memory>
#include <string>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "kestrin/core/encapsulatedfile.h"
#include "kestrin/core/profile.h"
#include "platform/nativefilesystem.h"
#include "tests/support/tempdir.h"

namespace kestrin {
namespace {

using testsupport::readFile;
using testsupport::writeFile;

class EncapsulatedFile : public ::testing::Test {
protected:
    EncapsulatedFile() { writeFile(path, before); }

    std::unique_ptr<TEncapsulatedFile> open() { return std::make_unique<TEncapsulatedFile>(files, path); }

    /// Offset -> new value of every byte that differs from `before`.
    std::map<int, int> changes() const
    {
        const std::string after = readFile(path);
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
    std::string before = testsupport::patternBytes(600); // no zero byte anywhere
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
        writeFile(path, before);
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
        writeFile(path, bytes);
        EXPECT_EQ(ReadCellText(*open(), 68, 8), c.expected);
    }
}

TEST_F(EncapsulatedFile, NarrowTextStopsAtZeroOrTheLimit)
{
    before.replace(117, 9, std::string("TANPANTS\0", 9));
    before.resize(578); // the shortest file taken: offset 578 lies beyond its end
    before.replace(568, 10, "BLONDHEADS");
    writeFile(path, before);
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
    writeFile(path, before);
    WriteNarrowText(*open(), std::string("TANPANTS\0\0\0", 11), 117);
    // 117-124 the new name, 125-127 zeros; from 128 on the bytes stay, behind
    // the terminator where no read looks.
    EXPECT_EQ(changes(), (std::map<int, int>{{117, 'T'}, {118, 'A'}, {119, 'N'}, {120, 'P'}, {121, 'A'},
                                             {122, 'N'}, {123, 'T'}, {124, 'S'}, {125, 0}, {126, 0}, {127, 0}}));
}

TEST_F(EncapsulatedFile, BytesOutsideTheFileAreRefusedAndTheFileNeverGrows)
{
    before.resize(578);
    writeFile(path, before);
    auto file = open();
    file->SetAccessOffset(577);
    EXPECT_EQ(file->ReadByte(), static_cast<unsigned char>(before[577]));
    for (int offset : {578, -1}) {
        file->SetAccessOffset(offset);
        EXPECT_THROW(file->ReadByte(), Error) << offset;
        EXPECT_THROW(file->WriteByte(0), Error) << offset;
    }
    file->close();
    EXPECT_EQ(readFile(path), before);
}

TEST_F(EncapsulatedFile, OpenFailuresNameTheFile)
{
    const std::string missing = dir.file("missing.dat");
    const std::string shortFile = dir.file("short.dat");
    writeFile(shortFile, testsupport::patternBytes(577));
    // Game files are long enough for the record; their lengths tell them.
    const std::string exe = dir.file("vrn.exe");
    const std::string items = dir.file("Itemdesc.edt");
    writeFile(exe, testsupport::patternBytes(2439168));
    writeFile(items, testsupport::patternBytes(280800));
    auto held = open(); // Kestrin's own open of IMP.dat is exclusive

    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {missing, "Cannot open file \"" + missing + "\". " + testsupport::missingFileReason()},
        {dir.path(), "Cannot open file \"" + dir.path() + "\". " + testsupport::openFailureReason(dir.path())},
        {path, "Cannot open file \"" + path + "\". The file is in use by another program"},
        {shortFile, "Cannot use file \"" + shortFile
                        + "\". It is 577 bytes long; a custom mercenary profile needs at least 578 bytes."},
        {exe, "Cannot use file \"" + exe + "\". It is the game executable [RU1.02], not a custom mercenary profile."},
        {items, "Cannot use file \"" + items + "\". It is an item text file of the game, not a custom mercenary "
                                              "profile."},
    };
    for (const Case& c : cases) {
        try {
            TEncapsulatedFile file(files, c.path);
            ADD_FAILURE() << "opened " << c.path;
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), c.message);
            EXPECT_EQ(e.path(), c.path); // the console program names the file once
        }
    }
    EXPECT_EQ(readFile(shortFile), testsupport::patternBytes(577));
    EXPECT_EQ(readFile(exe), testsupport::patternBytes(2439168));
    held.reset(); // closing releases the file
    EXPECT_NO_THROW(open());
}

} // namespace
} // namespace kestrin
