// The demo game folder as the editors see it, and the game's own lookup over
// its executable after Brackel has saved it.

// standard
#include <cstdlib>
#include <string>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "brackel/core/exetable.h"
#include "brackel/core/namesfile.h"
#include "platform/nativefilesystem.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"

namespace {

// The game's lookup: entries from the table's start on, up to the first
// entry whose attachment number is 0. Returns the entries it passes.
std::vector<std::pair<int, int>> gameScan(const std::string& exe, std::size_t tableOffset)
{
    std::vector<std::pair<int, int>> seen;
    for (std::size_t at = tableOffset; at + 4 <= exe.size(); at += 4) {
        const auto* e = reinterpret_cast<const unsigned char*>(exe.data() + at);
        const int attachment = e[0] | (e[1] << 8);
        if (attachment == 0)
            break;
        seen.emplace_back(attachment, e[2] | (e[3] << 8));
    }
    return seen;
}

TEST(DemoFolder, SavedTableKeepsTheGamesOtherEntriesReachable)
{
    testsupport::TempDir dir;
    ASSERT_EQ(std::system((std::string(DEMOGEN_PATH) + " " + dir.path()).c_str()), 0);
    platform::NativeFileSystem files;
    const std::string exe = dir.file("vrn.exe");

    auto length = files.length(exe);
    ASSERT_TRUE(length.ok());
    const brackel::ExeVersion* version = brackel::detectversion(*length);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->tag, "[US1.03]");

    auto table = brackel::readdata(files, exe, *version);
    ASSERT_TRUE(table.ok()) << table.error();
    EXPECT_GT(table->remaining, 0);
    EXPECT_LT(table->remaining, 20);

    // Before and after a save that frees two more entries, the game's scan
    // runs through the whole table and reaches the 22 entries behind it.
    for (int pass = 0; pass < 2; ++pass) {
        const std::string bytes = testsupport::readFile(exe);
        const auto seen = gameScan(bytes, version->tableOffset);
        ASSERT_EQ(seen.size(), std::size_t(brackel::kTableEntries + 22)) << "pass " << pass;
        int plates = 0;
        for (std::size_t i = brackel::kTableEntries; i < seen.size(); ++i)
            plates += seen[i].first == 183;
        EXPECT_EQ(plates, 12);

        brackel::Flags flags = table->flags;
        flags.set(brackel::Kind::Silencer, 0, false);
        flags.set(brackel::Kind::LaserScope, 0, false);
        ASSERT_TRUE(brackel::writedata(files, exe, *version, flags).ok());
    }
}

TEST(DemoFolder, NamesDefGivesWeaponNamesAndCaptions)
{
    testsupport::TempDir dir;
    ASSERT_EQ(std::system((std::string(DEMOGEN_PATH) + " " + dir.path()).c_str()), 0);
    platform::NativeFileSystem files;
    auto lines = platform::readTextLines(files, dir.file("names.def"));
    ASSERT_TRUE(lines.ok());
    EXPECT_EQ(lines->size(), 3u + 351u * 5u);
    const brackel::Names names = brackel::parseNames(*lines);
    EXPECT_EQ(names.weaponNames[0], "Glock 17");
    EXPECT_EQ(names.weaponNames[64], "AutoRocket");
    for (const std::string& name : names.weaponNames)
        EXPECT_FALSE(name.empty());
    EXPECT_EQ(names.captions[static_cast<int>(brackel::Kind::RodAndSpring)], "Rod && Spring");
}

} // namespace
