// Brackel's .brk text file: the lines written, and what reading accepts.

// standard
#include <random>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "brackel/core/brkfile.h"
#include "platform/nativefilesystem.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"

using namespace brackel;

namespace {

using Lines = std::vector<std::string>;

// The kinds in the order of the eight digits of an entry line.
constexpr Kind kDigitOrder[kKindCount] = {Kind::Silencer, Kind::Duckbill,  Kind::LaserScope,   Kind::Talon,
                                          Kind::Bipod,    Kind::SniperScope, Kind::RodAndSpring, Kind::Extender};

// A file with every entry line clear and the given lines after "[main]".
Lines brkWith(const Lines& main, const std::string& addons = "addons=182")
{
    Lines lines = {"[head]", "mode=brackel", "version=2.0", addons, "", "[main]"};
    lines.insert(lines.end(), main.begin(), main.end());
    return lines;
}

std::string twoDigits(int position)
{
    return {static_cast<char>('0' + position / 10), static_cast<char>('0' + position % 10)};
}

} // namespace

TEST(BrkLines, WritesTheExampleFile)
{
    Flags flags;
    flags.set(Kind::Silencer, 4, true);
    flags.set(Kind::Bipod, 4, true);
    Lines expected = {"[head]", "mode=brackel", "version=2.0", "addons=171", "", "[main]"};
    for (int p = 0; p < kWeaponCount; ++p) {
        expected.push_back(twoDigits(p) + (p == 4 ? "=10001000" : "=00000000"));
    }
    ASSERT_EQ(expected.size(), 71u);
    EXPECT_EQ(brkLines(flags, 171), expected);
}

TEST(BrkLines, PutsEachKindInItsDigit)
{
    for (int digit = 0; digit < kKindCount; ++digit) {
        Flags flags;
        flags.set(kDigitOrder[digit], 37, true);
        std::string line = "37=00000000";
        line[3 + digit] = '1';
        const Lines lines = brkLines(flags, 181);
        EXPECT_EQ(lines[6 + 37], line) << digit;
        const BrkParse back = parseBrk(lines);
        ASSERT_EQ(back.outcome, BrkParse::Outcome::Recognized);
        EXPECT_TRUE(back.contents.flags == flags) << digit;
    }
}

TEST(BrkFile, RoundTripsFlagsAndCountAsWritten)
{
    std::mt19937 rng(42);
    for (int round = 0; round < 20; ++round) {
        Flags flags;
        for (int i = 0; i < 60; ++i)
            flags.set(static_cast<Kind>(rng() % kKindCount), static_cast<int>(rng() % kWeaponCount), true);
        // The count is kept as written, even one that does not fit the flags.
        const int remaining = static_cast<int>(rng() % 400) - 200;
        const BrkParse back = parseBrk(brkLines(flags, remaining));
        ASSERT_EQ(back.outcome, BrkParse::Outcome::Recognized);
        EXPECT_TRUE(back.contents.flags == flags);
        EXPECT_EQ(back.contents.remaining, remaining);
    }
    Flags twenty;
    for (int p = 0; p < 20; ++p)
        twenty.set(Kind::Talon, p, true);
    EXPECT_EQ(parseBrk(brkLines(twenty, 5)).contents.remaining, 5);
}

TEST(BrkFile, LoadThenSaveGivesTheSameBytes)
{
    testsupport::TempDir dir;
    platform::NativeFileSystem files;
    Lines original = brkWith({}, "addons=170");
    for (int p = 0; p < kWeaponCount; ++p)
        original.push_back(twoDigits(p) + (p % 7 ? "=00000000" : "=10110001"));
    const std::string path = dir.file("saved.brk");
    testsupport::writeFile(path, platform::joinLines(original));

    auto lines = platform::readTextLines(files, path);
    ASSERT_TRUE(lines) << lines.error();
    const BrkParse parsed = parseBrk(*lines);
    ASSERT_EQ(parsed.outcome, BrkParse::Outcome::Recognized);
    const std::string copy = dir.file("copy.brk");
    ASSERT_TRUE(platform::writeTextLines(files, copy, brkLines(parsed.contents.flags, parsed.contents.remaining)));
    EXPECT_EQ(testsupport::readFile(copy), testsupport::readFile(path));
}

TEST(ParseBrk, AcceptsOrRefusesWholeFiles)
{
    using Outcome = BrkParse::Outcome;
    // error: the start of the message when Malformed; silencer4, bipod4 and
    // remaining: position 4's silencer and bipod flags and the count when Recognized.
    struct Row {
        const char* what;
        Lines lines;
        Outcome outcome;
        const char* error;
        int silencer4 = 0, bipod4 = 0, remaining = 182;
    };
    const Row rows[] = {
        {"no mode line", {"[head]", "version=2.0", "addons=171", "[main]", "04=10001000"}, Outcome::NotBrk, ""},
        {"mode line inside other text", {"x mode=brackel x", "[main]", "04=10001000"}, Outcome::Recognized, "", 1, 1},
        {"lines before the mode line ignored",
         {"addons=zz", "[main]", "99=x", "mode=brackel", "addons=3", "[main]", "04=00001000"},
         Outcome::Recognized, "", 0, 1, 3},
        {"version line ignored", brkWith({"04=10001000"}, "version=abc"), Outcome::Recognized, "", 1, 1},
        {"missing and empty entry lines", brkWith({"", "04=10000000", ""}), Outcome::Recognized, "", 1, 0},
        {"a digit other than 1 clears", brkWith({"04=20009000"}), Outcome::Recognized, "", 0, 0},
        {"trailing blanks after the count", brkWith({}, "addons=12  "), Outcome::Recognized, "", 0, 0, 12},
        {"smallest count", brkWith({}, "addons=-32768"), Outcome::Recognized, "", 0, 0, -32768},
        {"largest count", brkWith({}, "addons=32767"), Outcome::Recognized, "", 0, 0, 32767},
        {"position 65", brkWith({"04=10001000", "65=00000000"}), Outcome::Malformed, "line 8: "},
        {"position 99", brkWith({"99=00000000"}), Outcome::Malformed, "line 7: "},
        {"one-digit position", brkWith({"4=100010000"}), Outcome::Malformed, "line 7: "},
        {"three-digit position", brkWith({"004=10001000"}), Outcome::Malformed, "line 7: "},
        {"letter in position", brkWith({"0a=10001000"}), Outcome::Malformed, "line 7: "},
        {"letter among flags", brkWith({"04=1000x000"}), Outcome::Malformed, "line 7: "},
        {"short line", brkWith({"", "04=1000100"}), Outcome::Malformed, "line 8: "},
        {"very short line", brkWith({"04="}), Outcome::Malformed, "line 7: "},
        {"section header after [main]", brkWith({"[more]"}), Outcome::Malformed, "line 7: "},
        {"count not a number", brkWith({}, "addons=many"), Outcome::Malformed, "line 4: "},
        {"count empty", brkWith({}, "addons="), Outcome::Malformed, "line 4: "},
        {"count with a fraction", brkWith({}, "addons=1.5"), Outcome::Malformed, "line 4: "},
        {"count above 16 bits", brkWith({}, "addons=32768"), Outcome::Malformed, "line 4: "},
        {"count below 16 bits", brkWith({}, "addons=-32769"), Outcome::Malformed, "line 4: "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const BrkParse got = parseBrk(row.lines);
        ASSERT_EQ(got.outcome, row.outcome);
        if (row.outcome == Outcome::Malformed) {
            EXPECT_EQ(got.error.rfind(row.error, 0), 0u) << got.error;
            EXPECT_GT(got.error.size(), std::string(row.error).size());
            EXPECT_EQ(got.contents.flags.count(), 0); // nothing of a refused file is used
        }
        if (row.outcome == Outcome::Recognized) {
            EXPECT_EQ(got.contents.flags.count(), row.silencer4 + row.bipod4);
            EXPECT_EQ(got.contents.flags.get(Kind::Silencer, 4), row.silencer4 == 1);
            EXPECT_EQ(got.contents.flags.get(Kind::Bipod, 4), row.bipod4 == 1);
            EXPECT_EQ(got.contents.remaining, row.remaining);
        }
    }
    // A damaged line is quoted short: a file of one huge line makes no huge
    // message.
    const BrkParse huge = parseBrk(brkWith({"04=1000x000" + std::string(4 << 20, 'z')}));
    ASSERT_EQ(huge.outcome, Outcome::Malformed);
    EXPECT_EQ(huge.error, "line 7: \"04=1000x000" + std::string(49, 'z') + "...\" holds a flag that is not a digit.");
}
