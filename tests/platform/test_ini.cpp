// The one INI reader and section editor: values found as Windows finds
// them, in a text and in a file; section listing and lookup reading headers
// alike (every spelling of a header that the lookup finds, the listing
// names, and the reverse); and sections and values replaced or added with
// every other byte kept.

// standard
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/ini.h"
#include "platform/nativefilesystem.h"
#include "tests/support/tempdir.h"

using namespace platform;
using Names = std::vector<std::string>;

namespace {

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

TEST(IniSections, ListingAndLookupAgreeOnEveryHeaderSpelling)
{
    const std::string bom = "\xEF\xBB\xBF";
    struct Row {
        std::string text; // the header line(s) before "K=v"
        Names listed;
    };
    const Row rows[] = {
        {"[Sniper]", {"Sniper"}},
        {"[ Sniper ]", {"Sniper"}},
        {"\t[Sniper]\t; long range", {"Sniper"}},
        {"[sniper]", {"sniper"}},
        {bom + "[Sniper]", {"Sniper"}},
        {bom + "[ Sniper ] ; comment", {"Sniper"}},
        {"[Sniper", {}},               // no ']': no header, and the key belongs to ""
        {"[]", {}},
        {bom + "; note\r[Sniper]", {"Sniper"}}, // a lone CR ends a line too
    };
    for (const auto& row : rows) {
        for (const char* end : {"\r\n", "\n", "\r"}) {
            const std::string text = row.text + end + "K=v" + end;
            SCOPED_TRACE(testing::PrintToString(text));
            EXPECT_EQ(iniSections(text), row.listed);
            EXPECT_EQ(hasIniSection(text, "SNIPER "), !row.listed.empty());
            EXPECT_EQ(iniLookup(text, "Sniper", "k"),
                      row.listed.empty() ? std::nullopt : std::optional<std::string>("v"));
        }
    }
}

TEST(IniSections, ASectionNamedTwiceIsListedAndSearchedOnce)
{
    const std::string text = "\xEF\xBB\xBF" "top=1\r\n[Sniper]\r\nA=1\r\n[Medic]\r\n[SNIPER]\r\nA=2\r\nB=2\r\n";
    EXPECT_EQ(iniSections(text), (Names{"Sniper", "Medic"}));
    EXPECT_EQ(iniLookup(text, "sniper", "A"), "1");
    EXPECT_EQ(iniLookup(text, "Sniper", "B"), std::nullopt); // only in the second [Sniper]
    EXPECT_EQ(iniLookup(text, "", "top"), "1");              // before any header, the mark skipped
    EXPECT_FALSE(sameIniName("\xC4rger", "\xE4rger"));       // no case beyond ASCII, in any locale
}

} // namespace

namespace {

/// The text with each '|' made the line end.
std::string withEnds(std::string_view text, std::string_view end)
{
    std::string out;
    for (char c : text)
        out += c == '|' ? std::string(end) : std::string(1, c);
    return out;
}

TEST(IniSections, ASectionIsReplacedOrAddedAndEveryOtherByteKept)
{
    const std::string bom = "\xEF\xBB\xBF";
    const std::vector<std::string> section{"[b]", "N=9"};
    struct Row {
        const char* what;
        std::string before;
        std::string after;
    };
    const Row rows[] = {
        {"in the middle; the comment before the next header stays",
         "[A]|K=1||[ B ] ; note|K=2|x|; about C||[C]|K=3|", "[A]|K=1||[b]|N=9|; about C||[C]|K=3|"},
        {"the last section, without a last line end", "[A]|K=1||[B]|K=2", "[A]|K=1||[b]|N=9|"},
        {"only the first of a name", "[B]|K=1|[b]|K=2|", "[b]|N=9|[b]|K=2|"},
        {"after the byte order mark", bom + "[B]|K=2|[C]|", bom + "[b]|N=9|[C]|"},
        {"added after a blank line", "top=1|[A]|K=1|", "top=1|[A]|K=1||[b]|N=9|"},
        {"added after the blank line there", "[A]|K=1||", "[A]|K=1||[b]|N=9|"},
        {"added, the last line given its end", "[A]|K=1", "[A]|K=1||[b]|N=9|"},
        {"a name inside a value is no header", "[A]|K=[B]|", "[A]|K=[B]||[b]|N=9|"},
    };
    for (const auto& row : rows) {
        for (const char* end : {"\r\n", "\n", "\r"}) {
            SCOPED_TRACE(row.what + testing::PrintToString(end));
            EXPECT_EQ(replaceIniSection(withEnds(row.before, end), "B", section), withEnds(row.after, end));
        }
    }
    // A text without a line end of its own gets CR LF, as every writer of ours writes.
    EXPECT_EQ(replaceIniSection("", "b", section), "[b]\r\nN=9\r\n");
    EXPECT_EQ(replaceIniSection(bom, "b", section), bom + "[b]\r\nN=9\r\n");
    // Other line ends in the text stay as they are.
    EXPECT_EQ(replaceIniSection("[A]\nK=1\r\n[B]\rK=2\r\n", "b", section), "[A]\nK=1\r\n[b]\nN=9\n");
}

TEST(IniSections, AValueIsSetInPlaceOrItsKeyAddedAtTheSectionsEnd)
{
    struct Row {
        const char* what;
        std::string before;
        const char* key;
        std::optional<std::string> after;
    };
    const Row rows[] = {
        {"blanks around the value kept", "[P]|Amount = 5 |1=A|", "AMOUNT", "[P]|Amount = 6 |1=A|"},
        {"an empty value", "[P]|Amount=|", "Amount", "[P]|Amount=6|"},
        {"the first key of the first section", "[P]|Amount=1|Amount=2|[p]|Amount=3|", "Amount",
         "[P]|Amount=6|Amount=2|[p]|Amount=3|"},
        {"a missing key after the last key", "[P]|Amount=1|1=A|; the presets||[A]|", "2",
         "[P]|Amount=1|1=A|2=6|; the presets||[A]|"},
        {"a key of another section is not it", "[Q]|2=x|[P]|1=A", "2", "[Q]|2=x|[P]|1=A|2=6"},
        {"no such section", "[Q]|Amount=1|", "Amount", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (const char* end : {"\r\n", "\n"}) {
            EXPECT_EQ(setIniValue(withEnds(row.before, end), "p", row.key, "6"),
                      row.after ? std::optional(withEnds(*row.after, end)) : std::nullopt);
        }
    }
}

} // namespace
