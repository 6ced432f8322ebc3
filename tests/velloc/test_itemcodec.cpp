// The item text files: the character code of their low bytes, the two record
// layouts, and reading and patching whole 280,800-byte files in place.

// standard
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/nativefilesystem.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/itemtexts.h"
#include "tests/support/tempdir.h"
#include "velloc/core/itemcodec.h"

using namespace velloc;

namespace {

/// File position of the low byte of a unit of a field.
std::size_t lowByte(int item, int offset, int unit)
{
    return static_cast<std::size_t>(item) * kRecordBytes + offset + 2 * static_cast<std::size_t>(unit);
}

/// The low bytes of `count` units of a field.
std::string lowBytes(const std::string& file, int item, int offset, int count)
{
    std::string bytes;
    for (int k = 0; k < count; ++k)
        bytes += file[lowByte(item, offset, k)];
    return bytes;
}

/// An item text file of non-zero filler in a fresh folder.
struct GameFile {
    testsupport::TempDir dir;
    platform::NativeFileSystem fs;
    std::string path = dir.file("Itemdesc.edt");
    std::string original;

    explicit GameFile(std::uint32_t seed = 1, std::uint64_t length = kItemFileLength)
        : original(testsupport::patternBytes(length, seed))
    {
        testsupport::writeFile(path, original);
    }
    std::string bytes() const { return testsupport::readFile(path); }
};

/// Texts of realistic lengths; every seventh item empty, item 350 as long as its fields allow.
ItemTexts sampleTexts(FileType type)
{
    ItemTexts texts;
    texts.fileType = type;
    const int descUnits = type == FileType::Items ? 240 : 320;
    for (int n = 0; n < kItemCount; ++n) {
        if (n % 7 == 0)
            continue;
        texts.shortNames[n] = "Item " + std::to_string(n);
        texts.fullNames[n] = "The full name of item " + std::to_string(n);
        texts.descriptions[n] = std::string(static_cast<std::size_t>(n % 200), 'd') + "~ end.";
    }
    texts.shortNames[3] = "AK 47";
    texts.shortNames[350] = std::string(79, 'S');
    texts.fullNames[350] = std::string(79, 'F');
    texts.descriptions[350] = std::string(static_cast<std::size_t>(descUnits - 1), 'D');
    return texts;
}

} // namespace

TEST(ItemCodec, PatchesOnlyTheLowBytesOfEachTextAndItsMarker)
{
    for (FileType type : {FileType::Items, FileType::BobbyRay}) {
        SCOPED_TRACE(static_cast<int>(type));
        GameFile file;
        ItemTexts texts = sampleTexts(type);
        ASSERT_TRUE(writedata(file.fs, file.path, texts));
        const std::string after = file.bytes();
        ASSERT_EQ(after.size(), kItemFileLength);

        // A text owns the low bytes of its characters' units and of the unit after them.
        std::vector<bool> owned(kItemFileLength, false);
        for (const FieldLayout& f : recordLayout(type))
            for (int n = 0; n < kItemCount; ++n) {
                const auto& column = f.field == Field::ShortName  ? texts.shortNames
                                     : f.field == Field::FullName ? texts.fullNames
                                                                  : texts.descriptions;
                for (int k = 0; k <= static_cast<int>(column[n].size()) && k < f.units; ++k)
                    owned[lowByte(n, f.offset, k)] = true;
            }
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (after[i] != file.original[i]) {
                ASSERT_TRUE(owned[i]) << "byte " << i << " changed";
            }
        }

        // "AK 47": A+1, K+1, space stays 0x20, 4+1, 7+1, then the end marker 0x00.
        EXPECT_EQ(lowBytes(after, 3, 0, 6), std::string("\x42\x4C\x20\x35\x38\x00", 6));
        EXPECT_EQ(after[lowByte(3, 0, 0) + 1], file.original[lowByte(3, 0, 0) + 1]); // high byte kept
        // The description of item 1 ("d~ end.") lies at 320 in Items, at 160 in Bobby Ray records.
        const int descAt = type == FileType::Items ? 320 : 160;
        EXPECT_EQ(lowBytes(after, 1, descAt, 8), std::string("\x65\x7F\x20\x66\x6F\x65\x2F\x00", 8));

        auto read = readdata(file.fs, file.path, type, ItemTexts{});
        ASSERT_TRUE(read) << read.error();
        if (type == FileType::BobbyRay)
            texts.fullNames = {}; // never written, so kept from the (empty) previous texts
        EXPECT_EQ(*read, texts);
    }
}

TEST(ItemCodec, DecodesAndEncodesSingleCharacters)
{
    struct Row { const char* what; std::string stored; std::string text; };
    const Row decodes[] = {
        {"AK 47 and its marker", std::string("\x42\x4C\x20\x35\x38\x00", 6), "AK 47"},
        {"0x21 reads as space", std::string("\x42\x21\x43\x00", 4), "A B"},
        {"0x20 reads as space", std::string("\x20\x43\x00", 3), " B"},
        {"0x01 ends like 0x00", std::string("\x42\x01\x43\x00", 4), "A"},
        {"0x00 first: empty", std::string("\x00\x43", 2), ""},
        {"0x02 and 0xFF: codes 1 and 254", std::string("\x02\xFF\x00", 3), "\x01\xFE"},
    };
    std::vector<std::uint8_t> bytes(kItemFileLength, 0x5A);
    for (const Row& row : decodes) {
        SCOPED_TRACE(row.what);
        for (std::size_t k = 0; k < row.stored.size(); ++k)
            bytes[lowByte(200, 0, static_cast<int>(k))] = static_cast<std::uint8_t>(row.stored[k]);
        ItemTexts texts;
        decodeItemFile(bytes, FileType::Items, texts);
        EXPECT_EQ(texts.shortNames[200], row.text);
    }

    struct Encode { const char* what; std::string text; std::string stored; std::string readBack; };
    const Encode encodes[] = {
        {"AK 47", "AK 47", std::string("\x42\x4C\x20\x35\x38\x00", 6), "AK 47"},
        {"space is 0x20", " ", std::string("\x20\x00", 2), " "},
        {"code 31 is 0x20 too, and reads back as a space", "\x1F", std::string("\x20\x00", 2), " "},
        {"codes 1 and 254", "\x01\xFE", std::string("\x02\xFF\x00", 3), "\x01\xFE"},
        {"empty text: only the marker", "", std::string("\x00", 1), ""},
    };
    for (const Encode& row : encodes) {
        SCOPED_TRACE(row.what);
        std::vector<std::uint8_t> file(kItemFileLength, 0x5A);
        ItemTexts texts;
        texts.fullNames[42] = row.text;
        encodeItemFile(texts, file);
        const std::string asText(file.begin(), file.end());
        EXPECT_EQ(lowBytes(asText, 42, 160, static_cast<int>(row.stored.size())), row.stored);
        EXPECT_EQ(asText[lowByte(42, 160, 0) + 1], 0x5A); // high bytes untouched
        ItemTexts back;
        decodeItemFile(file, FileType::Items, back);
        EXPECT_EQ(back.fullNames[42], row.readBack);
    }
}

TEST(ItemCodec, OnlyAFieldThatHoldsAWholeTextKeepsItWithoutAMarker)
{
    // Every field of the filler is full: 0x5A is 'Y', unit 3 a space stored as 0x21.
    struct Row { FileType type; Field field; int offset; int units; };
    const Row rows[] = {
        {FileType::Items, Field::ShortName, 0, 80},
        {FileType::Items, Field::FullName, 160, 80},
        {FileType::Items, Field::Description, 320, 240},
        {FileType::BobbyRay, Field::Description, 160, 320},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.units);
        std::vector<std::uint8_t> filler(kItemFileLength + 2, 0x5A);
        filler[lowByte(350, row.offset, 3)] = 0x21;
        const auto units = static_cast<std::size_t>(row.units);
        std::string own(units, 'Y');
        own[3] = ' ';
        std::string changed = own;
        changed.back() = 'Z';
        struct Case { std::string text; bool accepted; };
        for (const Case& c : {Case{own, true}, Case{changed, false}, Case{own + "Y", false}}) {
            ItemTexts texts;
            decodeItemFile(filler, row.type, texts);
            testsupport::textOf(texts, row.field, 350) = c.text;
            EXPECT_EQ(encodingProblems(texts, std::span(filler).first(kItemFileLength)).size(), c.accepted ? 0u : 1u);
            std::vector<std::uint8_t> file = filler;
            encodeItemFile(texts, std::span(file).first(kItemFileLength));
            if (c.accepted) {
                EXPECT_EQ(file, filler); // the 0x21 too
                continue;
            }
            // Written anyway, a text is cut before the last unit, which takes the
            // marker; nothing is written past the field, or the file.
            EXPECT_EQ(file[lowByte(350, row.offset, row.units - 1)], 0);
            EXPECT_EQ(file[kItemFileLength], 0x5A);
            ItemTexts back;
            decodeItemFile(file, row.type, back);
            EXPECT_EQ(testsupport::textOf(back, row.field, 350), c.text.substr(0, units - 1));
        }
    }
}

TEST(ItemCodec, FullFieldsHaveNoMarkerAndSurviveReadAndWrite)
{
    for (FileType type : {FileType::Items, FileType::BobbyRay}) {
        SCOPED_TRACE(static_cast<int>(type));
        GameFile file(7);
        ASSERT_TRUE(writedata(file.fs, file.path, sampleTexts(type)));
        // Record 9: every low byte is a character (0x42.. 0x55), no unit ends a text.
        std::string full = file.bytes();
        for (int k = 0; k < kRecordBytes / 2; ++k)
            full[lowByte(9, 0, k)] = static_cast<char>(0x42 + k % 20);
        testsupport::writeFile(file.path, full);

        full[lowByte(9, 0, 5)] = 0x21; // a space in the other stored form
        testsupport::writeFile(file.path, full);

        auto read = readdata(file.fs, file.path, type, ItemTexts{});
        ASSERT_TRUE(read) << read.error();
        EXPECT_EQ(read->shortNames[9].size(), 80u);
        EXPECT_EQ(read->fullNames[9].size(), type == FileType::Items ? 80u : 0u);
        EXPECT_EQ(read->descriptions[9].size(), type == FileType::Items ? 240u : 320u);
        ASSERT_TRUE(writedata(file.fs, file.path, *read));
        EXPECT_EQ(file.bytes(), full); // an untouched model writes back every byte as it was
        // The same texts typed in afresh: still the field's own, still kept.
        ItemTexts typed;
        typed.fileType = type;
        typed.shortNames = read->shortNames;
        typed.fullNames = read->fullNames;
        typed.descriptions = read->descriptions;
        ASSERT_TRUE(writedata(file.fs, file.path, typed));
        EXPECT_EQ(file.bytes(), full);

        // Edited, a full field must leave room for its marker, even when the
        // edit ends with as many characters as the file holds.
        ItemTexts edited = *read;
        edited.shortNames[9].pop_back();
        edited.shortNames[9] += 'x';
        const platform::Status refused = writedata(file.fs, file.path, edited);
        ASSERT_FALSE(refused);
        EXPECT_NE(refused.error().find(std::string("item 9, ") +
                                       (type == FileType::Items ? "short name" : "name") +
                                       ": is 80 characters long; at most 79 fit."),
                  std::string::npos)
            << refused.error();
        EXPECT_EQ(file.bytes(), full);
        // An unchanged full text is only kept over the very text it was read from.
        ItemTexts moved = *read;
        moved.descriptions[8] = moved.descriptions[9];
        EXPECT_FALSE(writedata(file.fs, file.path, moved));
        EXPECT_EQ(file.bytes(), full);
    }
}

TEST(ItemCodec, ShorterTextKeepsTheOldTailAndSpacesAreSavedAs0x20)
{
    GameFile file;
    ItemTexts texts;
    texts.shortNames[1] = "Long name";
    texts.shortNames[2] = "A?B";
    ASSERT_TRUE(writedata(file.fs, file.path, texts));
    std::string bytes = file.bytes();
    bytes[lowByte(2, 0, 1)] = 0x21; // "?" becomes the other stored form of a space
    testsupport::writeFile(file.path, bytes);

    auto read = readdata(file.fs, file.path, FileType::Items, texts);
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read->shortNames[2], "A B");
    read->shortNames[1] = "Ab";
    ASSERT_TRUE(writedata(file.fs, file.path, *read));
    bytes = file.bytes();
    // A+1, b+1, marker, then the old "g name" and its marker: g+1, space, n+1, a+1, m+1, e+1, 0x00.
    EXPECT_EQ(lowBytes(bytes, 1, 0, 10), std::string("\x42\x63\x00\x68\x20\x6F\x62\x6E\x66\x00", 10));
    EXPECT_EQ(lowBytes(bytes, 2, 0, 4), std::string("\x42\x20\x43\x00", 4));
    auto again = readdata(file.fs, file.path, FileType::Items, ItemTexts{});
    ASSERT_TRUE(again);
    EXPECT_EQ(again->shortNames[1], "Ab");
}

TEST(ItemCodec, BobbyRayReadKeepsTheFullNames)
{
    GameFile file;
    ASSERT_TRUE(writedata(file.fs, file.path, sampleTexts(FileType::BobbyRay)));
    ItemTexts previous = sampleTexts(FileType::Items);
    previous.fullNames[5] = "kept";
    auto read = readdata(file.fs, file.path, FileType::BobbyRay, previous);
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read->fileType, FileType::BobbyRay);
    EXPECT_EQ(read->fullNames, previous.fullNames);
    EXPECT_EQ(read->descriptions[350], std::string(319, 'D'));
}

TEST(ItemCodec, RefusesTextsTheFileCannotHold)
{
    struct Row {
        const char* what;
        FileType type;
        std::function<void(ItemTexts&)> edit;
        std::string problem; // empty: saved
    };
    const Row rows[] = {
        {"79-character name", FileType::Items, [](ItemTexts& t) { t.shortNames[4] = std::string(79, 'a'); }, ""},
        {"80-character name", FileType::Items, [](ItemTexts& t) { t.shortNames[4] = std::string(80, 'a'); },
         "item 4, short name: is 80 characters long; at most 79 fit."},
        {"239-character description", FileType::Items,
         [](ItemTexts& t) { t.descriptions[0] = std::string(239, 'a'); }, ""},
        {"241-character description", FileType::Items,
         [](ItemTexts& t) { t.descriptions[0] = std::string(241, 'a'); },
         "item 0, description: is 241 characters long; at most 239 fit."},
        {"320-character Bobby Ray description", FileType::BobbyRay,
         [](ItemTexts& t) { t.descriptions[350] = std::string(320, 'a'); },
         "item 350, description: is 320 characters long; at most 319 fit."},
        {"code 0 in a full name", FileType::Items,
         [](ItemTexts& t) { t.fullNames[12] = std::string("ab\0c", 4); },
         "item 12, full name: holds a character that the file cannot store (code 0)."},
        {"code 255 in a Bobby Ray name", FileType::BobbyRay, [](ItemTexts& t) { t.shortNames[7] = "x\xFF"; },
         "item 7, name: holds a character that the file cannot store (code 255)."},
        // Code 31 would be stored as a space's value and read back as a space.
        {"code 31 in a description", FileType::Items, [](ItemTexts& t) { t.descriptions[3] = "Glock\x1FX"; },
         "item 3, description: holds a character that the file cannot store (code 31)."},
        {"Bobby Ray files hold no full names", FileType::BobbyRay,
         [](ItemTexts& t) { t.fullNames[7] = std::string(500, '\xFF'); }, ""},
        {"every name too long", FileType::Items,
         [](ItemTexts& t) { t.shortNames.fill(std::string(90, 'a')); }, "and 341 more."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        GameFile file;
        ItemTexts texts;
        texts.fileType = row.type;
        row.edit(texts);
        const platform::Status saved = writedata(file.fs, file.path, texts);
        if (row.problem.empty()) {
            EXPECT_TRUE(saved) << saved.error();
            continue;
        }
        ASSERT_FALSE(saved);
        EXPECT_NE(saved.error().find(file.path), std::string::npos) << saved.error();
        EXPECT_NE(saved.error().find(row.problem), std::string::npos) << saved.error();
        EXPECT_NE(saved.error().find("Nothing was written."), std::string::npos);
        EXPECT_EQ(file.bytes(), file.original);
    }
}

TEST(ItemCodec, RefusesMissingShortLongAndFailingFiles)
{
    const ItemTexts texts = sampleTexts(FileType::Items);
    {
        testsupport::TempDir dir;
        platform::NativeFileSystem fs;
        const std::string missing = dir.file("Itemdesc.edt");
        auto read = readdata(fs, missing, FileType::Items, texts);
        ASSERT_FALSE(read);
        EXPECT_NE(read.error().find(missing), std::string::npos);
        const platform::Status saved = writedata(fs, missing, texts);
        ASSERT_FALSE(saved);
        EXPECT_NE(saved.error().find(missing), std::string::npos);
        EXPECT_FALSE(fs.isFile(missing));
    }
    for (std::uint64_t length : {kItemFileLength - 1, kItemFileLength + 1, std::uint64_t{0}}) {
        SCOPED_TRACE(length);
        GameFile file(3, length);
        auto read = readdata(file.fs, file.path, FileType::Items, texts);
        ASSERT_FALSE(read);
        EXPECT_NE(read.error().find(file.path + " is " + std::to_string(length) + " bytes long"), std::string::npos)
            << read.error();
        EXPECT_FALSE(writedata(file.fs, file.path, texts));
        EXPECT_EQ(file.bytes(), file.original);
    }
    {
        GameFile file;
        testsupport::FaultyFileSystem faulty;
        faulty.failWrite.insert(file.path);
        const platform::Status saved = writedata(faulty, file.path, texts);
        ASSERT_FALSE(saved);
        EXPECT_NE(saved.error().find(file.path), std::string::npos);
        EXPECT_EQ(file.bytes(), file.original);
    }
}
