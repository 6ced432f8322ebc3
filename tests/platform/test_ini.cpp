// Section listing and lookup read headers alike: every spelling of a header
// that the lookup finds, the listing names, and the reverse.

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/ini.h"

using namespace platform;
using Names = std::vector<std::string>;

namespace {

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
