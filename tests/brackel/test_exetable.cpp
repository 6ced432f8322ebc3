// The executable's attachment table: build detection, decoding and encoding
// of the 728 bytes, and reading and patching real files of every build.

// standard
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "brackel/core/exetable.h"
#include "platform/nativefilesystem.h"
#include "tests/support/tempdir.h"

using namespace brackel;

namespace {

using Entry = std::array<std::uint8_t, 4>;

Flags randomFlags(std::uint32_t seed, int count)
{
    std::mt19937 rng(seed);
    Flags flags;
    while (flags.count() < count)
        flags.set(static_cast<Kind>(rng() % kKindCount), static_cast<int>(rng() % kWeaponCount), true);
    return flags;
}

TableBytes tableOf(std::uint8_t fill, const std::vector<Entry>& entries)
{
    TableBytes table;
    table.fill(fill);
    for (std::size_t i = 0; i < entries.size(); ++i)
        std::copy(entries[i].begin(), entries[i].end(), table.begin() + 4 * i);
    return table;
}

} // namespace

TEST(ExeVersion, IsRecognisedByExactLengthOnly)
{
    const ExeVersion* de105 = detectversion(2719775);
    ASSERT_TRUE(de105 && de105->tag == "[DE1.05]" && de105->tableOffset == 0x21DF5C);
    EXPECT_FALSE(detectversion(2719774) || detectversion(2719776) || detectversion(0));

    // The German 1.02 release and its beta are told apart, with their own tables.
    const ExeVersion* release = detectversion(2919936);
    const ExeVersion* beta = detectversion(2924544);
    ASSERT_TRUE(release && beta);
    EXPECT_EQ(release->tag, "[DE1.02]");
    EXPECT_EQ(beta->tag, "[DE1.02Beta]");
    EXPECT_NE(release->tableOffset, beta->tableOffset);

    // Every build is found by its own length, and its table lies inside it.
    for (const ExeVersion& v : kExeVersions) {
        EXPECT_EQ(detectversion(v.length), &v) << v.tag;
        EXPECT_LE(v.tableOffset + kTableBytes, v.length) << v.tag;
    }
}

TEST(DecodeTable, ReadsOneEntry)
{
    struct Row { const char* what; Entry entry; std::optional<Kind> kind; int position; };
    const Row rows[] = {
        {"silencer, weapon 5", {0xCF, 0x00, 0x05, 0x00}, Kind::Silencer, 4},
        {"sniper scope, weapon byte 0 is position 0", {0xD0, 0x00, 0x00, 0x00}, Kind::SniperScope, 0},
        {"laser scope, weapon 1", {0xF1, 0x00, 0x01, 0x00}, Kind::LaserScope, 0},
        {"bipod, weapon 65", {0xD1, 0x00, 0x41, 0x00}, Kind::Bipod, 64},
        {"duckbill, byte 3 is not read", {0xF4, 0x00, 0x02, 0x7F}, Kind::Duckbill, 1},
        {"talon (item 50)", {0x32, 0x00, 0x03, 0x00}, Kind::Talon, 2},
        {"rod and spring (item 307)", {0x33, 0x01, 0x05, 0x00}, Kind::RodAndSpring, 4},
        {"extender (item 310), byte 3 set", {0x36, 0x01, 0x41, 0xFF}, Kind::Extender, 64},
        {"item 51: the high byte counts", {0x33, 0x00, 0x05, 0x00}, std::nullopt, 0},
        {"item 463: the high byte counts", {0xCF, 0x01, 0x05, 0x00}, std::nullopt, 0},
        {"another attachment (210)", {0xD2, 0x00, 0x05, 0x00}, std::nullopt, 0},
        {"free entry", {0xFF, 0xFF, 0xFF, 0xFF}, std::nullopt, 0},
        {"weapon 66 has no place", {0xCF, 0x00, 0x42, 0x00}, std::nullopt, 0},
        {"weapon 255 has no place", {0xD1, 0x00, 0xFF, 0x00}, std::nullopt, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (std::uint8_t filler : {0x00, 0xFF}) {
            const TableContents got = decodeTable(tableOf(filler, {row.entry}));
            Flags expected;
            if (row.kind)
                expected.set(*row.kind, row.position, true);
            EXPECT_TRUE(got.flags == expected);
            EXPECT_EQ(got.remaining, row.kind ? 181 : 182);
        }
    }
}

TEST(DecodeTable, CountsEveryEntryOfTheWholeTable)
{
    const TableContents zeros = decodeTable(tableOf(0x00, {}));
    EXPECT_EQ(zeros.flags.count(), 0);
    EXPECT_EQ(zeros.remaining, 182);

    // A repeated pair takes two entries but is one flag.
    TableBytes table = tableOf(0xFF, {{0xCF, 0x00, 0x05, 0x00}, {0xCF, 0x00, 0x05, 0x00}});
    // The very last entry is read too: duckbill on weapon 65.
    const Entry last = {0xF4, 0x00, 0x41, 0x00};
    std::copy(last.begin(), last.end(), table.end() - 4);
    const TableContents got = decodeTable(table);
    EXPECT_EQ(got.flags.count(), 2);
    EXPECT_TRUE(got.flags.get(Kind::Silencer, 4));
    EXPECT_TRUE(got.flags.get(Kind::Duckbill, 64));
    EXPECT_EQ(got.remaining, 179);
}

TEST(EncodeTable, WritesKindsInOrderThenFreeEntries)
{
    Flags flags;
    flags.set(Kind::Bipod, 1, true);
    flags.set(Kind::Silencer, 2, true);
    flags.set(Kind::Silencer, 0, true);
    auto table = encodeTable(flags);
    ASSERT_TRUE(table) << table.error();
    EXPECT_EQ(*table, tableOf(0xFF, {
                                        {0xCF, 0x00, 0x01, 0x00}, // silencer (207), weapon 1
                                        {0xCF, 0x00, 0x03, 0x00}, // silencer, weapon 3: by weapon
                                        {0xD1, 0x00, 0x02, 0x00}, // bipod (209), weapon 2
                                    })); // then 179 free entries FF FF FF FF

    // One flag of each kind, set in reverse, comes out in writing order.
    Flags all;
    for (int k = kKindCount - 1; k >= 0; --k)
        all.set(static_cast<Kind>(k), 64 - k, true);
    auto ordered = encodeTable(all);
    ASSERT_TRUE(ordered);
    // Silencer on weapon 65 (0x41), sniper scope (208) on 64, laser scope (241),
    // bipod (209), duckbill (244), talon (50), rod and spring (307), extender (310).
    EXPECT_EQ(*ordered, tableOf(0xFF, {{0xCF, 0x00, 0x41, 0}, {0xD0, 0x00, 0x40, 0}, {0xF1, 0x00, 0x3F, 0},
                                       {0xD1, 0x00, 0x3E, 0}, {0xF4, 0x00, 0x3D, 0}, {0x32, 0x00, 0x3C, 0},
                                       {0x33, 0x01, 0x3B, 0}, {0x36, 0x01, 0x3A, 0}}));
}

TEST(EncodeTable, RoundTripsAndStopsAtCapacity)
{
    for (int count : {0, 1, 57, 181, 182}) {
        SCOPED_TRACE(count);
        const Flags flags = randomFlags(static_cast<std::uint32_t>(count) + 7, count);
        auto table = encodeTable(flags);
        ASSERT_TRUE(table) << table.error();
        const TableContents back = decodeTable(*table);
        EXPECT_TRUE(back.flags == flags);
        EXPECT_EQ(back.remaining, 182 - count);
    }
    auto tooMany = encodeTable(randomFlags(3, 183));
    ASSERT_FALSE(tooMany);
    EXPECT_NE(tooMany.error().find("183"), std::string::npos) << tooMany.error();
    EXPECT_NE(tooMany.error().find("182"), std::string::npos) << tooMany.error();
}

class ExeFile : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    platform::NativeFileSystem files;
    const ExeVersion& de105 = *detectversion(2719775);
};

TEST_F(ExeFile, WriteChangesOnlyTheTableOfEveryBuild)
{
    std::uint32_t seed = 1;
    for (const ExeVersion& v : kExeVersions) {
        SCOPED_TRACE(v.tag);
        // A file per build: the first patch's backup is of its own build's length.
        const std::string path = dir.file(std::string(v.tag.substr(1, v.tag.size() - 2)) + ".exe");
        const std::string before = testsupport::patternBytes(v.length, seed);
        testsupport::writeFile(path, before);
        const Flags flags = randomFlags(seed, static_cast<int>(seed * 16));
        ++seed;

        ASSERT_TRUE(writedata(files, path, v, flags).ok());
        const std::string after = testsupport::readFile(path);
        ASSERT_EQ(after.size(), v.length);
        EXPECT_EQ(after.compare(0, v.tableOffset, before, 0, v.tableOffset), 0) << "bytes before the table";
        const std::size_t end = v.tableOffset + kTableBytes;
        EXPECT_EQ(after.compare(end, std::string::npos, before, end), 0) << "bytes after the table";
        const TableBytes table = *encodeTable(flags);
        EXPECT_TRUE(std::equal(table.begin(), table.end(), after.begin() + v.tableOffset,
                               [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));

        auto read = readdata(files, path, v);
        ASSERT_TRUE(read) << read.error();
        EXPECT_TRUE(read->flags == flags);
        EXPECT_EQ(read->remaining, 182 - flags.count());
    }
}

// The game looks an attachment up by walking from the table's start until
// an entry whose attachment number is 0. Its own entries (detonators,
// ceramic plates) follow our table, so free entries must never end the walk.
TEST_F(ExeFile, GameLookupStillReachesTheEntriesAfterTheTable)
{
    const std::vector<Entry> following = {
        {0xE6, 0x00, 0x50, 0x00}, // a detonator on item 80
        {0xE6, 0x00, 0x51, 0x00}, // a detonator on item 81
        {0x1D, 0x01, 0x60, 0x00}, // a ceramic plate on item 96
        {0x1D, 0x01, 0x61, 0x00}, // a ceramic plate on item 97
    };
    for (int count : {0, 1, 100, 182}) {
        SCOPED_TRACE(count);
        std::string bytes = testsupport::patternBytes(de105.length);
        std::size_t at = de105.tableOffset + kTableBytes;
        for (const Entry& e : following)
            for (std::uint8_t b : e)
                bytes[at++] = static_cast<char>(b);
        bytes.replace(at, 4, 4, '\0'); // the end of the game's list
        const std::string path = dir.file("game.exe");
        testsupport::writeFile(path, bytes);
        ASSERT_TRUE(writedata(files, path, de105, randomFlags(9, count)).ok());

        const std::string written = testsupport::readFile(path);
        std::vector<Entry> reached;
        for (std::size_t off = de105.tableOffset; off + 4 <= written.size(); off += 4) {
            const auto* e = reinterpret_cast<const std::uint8_t*>(written.data() + off);
            if ((e[0] | e[1] << 8) == 0)
                break;
            reached.push_back({e[0], e[1], e[2], e[3]});
        }
        ASSERT_EQ(reached.size(), kTableEntries + following.size());
        EXPECT_EQ(std::vector<Entry>(reached.end() - 4, reached.end()), following);
    }
}

TEST_F(ExeFile, RefusalsAndFailuresWriteNothing)
{
    const std::string path = dir.file("game.exe");
    const std::string original = testsupport::patternBytes(de105.length);
    testsupport::writeFile(path, original);

    // More flags than entries: 183 needed.
    const platform::Status full = writedata(files, path, de105, randomFlags(5, 183));
    EXPECT_FALSE(full.ok());
    EXPECT_NE(full.error().find("183 entries are needed"), std::string::npos) << full.error();
    EXPECT_TRUE(testsupport::readFile(path) == original);

    // A file one byte shorter or longer than its build is refused and kept.
    for (std::uint64_t length : {de105.length - 1, de105.length + 1}) {
        const std::string other = testsupport::patternBytes(length, 2);
        testsupport::writeFile(path, other);
        EXPECT_FALSE(writedata(files, path, de105, randomFlags(5, 10)).ok()) << length;
        EXPECT_TRUE(testsupport::readFile(path) == other) << length;
    }

    // A file too short to hold the table cannot be read.
    testsupport::writeFile(path, testsupport::patternBytes(100));
    EXPECT_FALSE(readdata(files, path, de105));

    // A missing file is named in the message and not created.
    const std::string missing = dir.file("missing.exe");
    auto read = readdata(files, missing, de105);
    ASSERT_FALSE(read);
    EXPECT_NE(read.error().find(missing), std::string::npos) << read.error();
    const platform::Status written = writedata(files, missing, de105, randomFlags(1, 3));
    ASSERT_FALSE(written.ok());
    EXPECT_NE(written.error().find(missing), std::string::npos) << written.error();
    EXPECT_FALSE(std::filesystem::exists(missing));
}
