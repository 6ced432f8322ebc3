// Line splitting and joining, and INI lookups.

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/ini.h"
#include "platform/nativefilesystem.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"

using namespace platform;
using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

TEST(TextLines, SplitsAtEveryKindOfLineEndAndJoinsWithCrLf)
{
    const std::pair<std::string, Lines> cases[] = {
        {"", {}}, {"\r\n", {""}}, {"\n", {""}}, {"\r", {""}}, {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}}, {"a\r\nb", {"a", "b"}}, {"a\r\n\r\n", {"a", ""}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}}, {"\r\n\r\nx", {"", "", "x"}},
        {"a\n\rb", {"a", "", "b"}},  // LF then CR: two line ends
        {"a\r\r\nb", {"a", "", "b"}}, // a lone CR, then CR LF
        {"\x80\xFF\0z\r\n\t \r\n"s, {"\x80\xFF\0z"s, "\t "}},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(splitLines(text), lines) << testing::PrintToString(text);

    EXPECT_EQ(joinLines({}), "");
    EXPECT_EQ(joinLines({""}), "\r\n");
    const Lines lines{"a", "", "\xA0\0b"s, " "};
    EXPECT_EQ(joinLines(lines), "a\r\n\r\n\xA0\0b\r\n \r\n"s);
    EXPECT_EQ(splitLines(joinLines(lines)), lines);
}

TEST(Ini, FindsValuesLikeWindows)
{
    const std::string text = "top=before any section\r\n[Game]\r\nPath = C:\\Games\\Varnhold \r\n"
                             "  indented = kept apart\r\nArgs=-w=1 -h=2 ; not a comment\r\nEmpty=\r\n"
                             "path=second\r\n; Hidden=comment\r\n[ Spaced ]\r\nK=v\r\n[Game]\r\n"
                             "Late=only in the second section\r\n[\xC4rger]\r\nWert=1\r\n[Long]\r\nv="
                             + std::string(5000, 'x') + "\r\n[Again]\r\nkey:colon=3\rlone=cr\r\n[Again]\r\ny=2\r\n";
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"Game", "Path", "C:\\Games\\Varnhold"}, {"GAME", "PATH", "C:\\Games\\Varnhold"},
        {"game", "indented", "kept apart"},     {"Game", "args", "-w=1 -h=2 ; not a comment"},
        {"Game", "Empty", ""},                   {"Game", "Hidden", "<default>"},
        {"Game", "Missing", "<default>"},        {"Nowhere", "Path", "<default>"},
        {"", "top", "before any section"},       {"Spaced", "k", "v"},
        {"Game", "Late", "<default>"},           {"\xE4rger", "Wert", "<default>"}, // no case folding beyond ASCII
        {"\xC4rger", "wert", "1"},               {"long", "V", std::string(5000, 'x')},
        {"Again", "key:colon", "3"},             {"Again", "lone", "cr"}, // a lone CR ends a line too
        {"again", "y", "<default>"},            // only the first section of a name is searched
    };
    for (const auto& [section, key, expected] : cases)
        EXPECT_EQ(iniValue(text, section, key, "<default>"), expected) << section << "/" << key;

    testsupport::TempDir dir;
    NativeFileSystem fs;
    testsupport::writeFile(dir.file("game.ini"), text);
    EXPECT_EQ(iniValue(fs, dir.file("game.ini"), "spaced", "K", "-"), "v");
    EXPECT_EQ(iniValue(fs, dir.file("none.ini"), "spaced", "K", "-"), "-");
    EXPECT_EQ(iniValue(fs, dir.path(), "spaced", "K", "-"), "-");
}

} // namespace

namespace {

TEST(Result, MadeFromASuccessIsAFailureThatSaysSo)
{
    const platform::Result<int> made(platform::Status::success());
    EXPECT_FALSE(made);
    EXPECT_EQ(made.error(), platform::Result<int>::kNoValue);
    EXPECT_FALSE(made.status());
}

} // namespace
