// Line splitting and joining, and INI lookups.

// standard
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/ini.h"
#include "platform/posixfilesystem.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"

using namespace platform;
using namespace std::string_literals;

namespace {

struct SplitCase {
    std::string text;
    std::vector<std::string> lines;
};

class SplitLines : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, GivesTheLines)
{
    EXPECT_EQ(splitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitLines,
    testing::Values(SplitCase{"", {}}, SplitCase{"\r\n", {""}}, SplitCase{"\n", {""}}, SplitCase{"\r", {""}},
                    SplitCase{"a", {"a"}}, SplitCase{"a\r\nb\r\n", {"a", "b"}}, SplitCase{"a\r\nb", {"a", "b"}},
                    SplitCase{"a\r\n\r\n", {"a", ""}}, SplitCase{"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
                    // LF CR is two line ends; CR CR LF is a lone CR, then CR LF.
                    SplitCase{"a\n\rb", {"a", "", "b"}}, SplitCase{"a\r\r\nb", {"a", "", "b"}},
                    SplitCase{"\r\n\r\nx", {"", "", "x"}},
                    SplitCase{"\x80\xFF\0z\r\n\t \r\n"s, {"\x80\xFF\0z"s, "\t "}}));

TEST(JoinLines, EndsEveryLineWithCrLfAndSplitsBackUnchanged)
{
    EXPECT_EQ(joinLines({}), "");
    EXPECT_EQ(joinLines({""}), "\r\n");
    const std::vector<std::string> lines{"a", "", "\xA0\0b"s, " "};
    EXPECT_EQ(joinLines(lines), "a\r\n\r\n\xA0\0b\r\n \r\n"s);
    EXPECT_EQ(splitLines(joinLines(lines)), lines);
}

const char* const sampleIni = "top=before any section\r\n"
                              "[Game]\r\n"
                              "Path = C:\\Games\\Varnhold \r\n"
                              "  indented = kept apart\r\n"
                              "Args=-w=1 -h=2 ; not a comment\r\n"
                              "Empty=\r\n"
                              "path=second\r\n"
                              "; Hidden=comment\r\n"
                              "[ Spaced ]\r\n"
                              "K=v\r\n"
                              "[game]\r\n"
                              "Late=only in the second section\r\n"
                              "[\xC4rger]\r\n"
                              "Wert=1\r\n";

struct IniCase {
    const char* section;
    const char* key;
    std::string expected;
};

class IniValue : public testing::TestWithParam<IniCase> {};

TEST_P(IniValue, FindsTheValue)
{
    const auto& c = GetParam();
    EXPECT_EQ(iniValue(sampleIni, c.section, c.key, "<default>"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniValue,
    testing::Values(IniCase{"Game", "Path", "C:\\Games\\Varnhold"}, IniCase{"GAME", "PATH", "C:\\Games\\Varnhold"},
                    IniCase{"game", "indented", "kept apart"}, IniCase{"Game", "args", "-w=1 -h=2 ; not a comment"},
                    IniCase{"Game", "Empty", ""}, IniCase{"Game", "Hidden", "<default>"},
                    IniCase{"Game", "Missing", "<default>"}, IniCase{"Nowhere", "Path", "<default>"},
                    IniCase{"", "top", "before any section"}, IniCase{"Spaced", "k", "v"},
                    IniCase{"Game", "Late", "<default>"}, IniCase{"\xE4rger", "Wert", "<default>"},
                    IniCase{"\xC4rger", "wert", "1"}));

TEST(IniValueText, ReadsLinesLongerThanTheParserDefault)
{
    const std::string value(5000, 'x');
    const std::string text = "[S]\nlong=" + value + "\nafter=1\n";
    EXPECT_EQ(iniValue(text, "s", "LONG", ""), value);
    EXPECT_EQ(iniValue(text, "s", "after", ""), "1");
}

TEST(IniValueFile, ReadsThroughTheFileSystemAndDefaultsWhenUnreadable)
{
    testsupport::TempDir dir;
    PosixFileSystem fs;
    testsupport::writeFile(dir.file("game.ini"), "[Setup]\nLanguage=1251\n");
    EXPECT_EQ(iniValue(fs, dir.file("game.ini"), "setup", "language", "1252"), "1251");
    EXPECT_EQ(iniValue(fs, dir.file("none.ini"), "setup", "language", "1252"), "1252");
    EXPECT_EQ(iniValue(fs, dir.path(), "setup", "language", "1252"), "1252");
}

} // namespace
