// Code pages on Windows: what our code makes of the system's answers. Which
// ANSI code page the system reports, and how its converter decodes a byte,
// are the system's; the page the programs then use, and which bytes count as
// defined, are ours. The test runs under several locales (tests/platform/
// CMakeLists.txt), so the system answers with several code pages.

// standard
#include <string>

// GoogleTest
#include <gtest/gtest.h>

// Windows
#include <windows.h>

// ours
#include "platform/codepage.h"
#include "platform/codepagetables.h"

namespace {

using platform::CodePage;
using platform::decodePage;

TEST(CodePage, SystemIsTheAnsiCodePageWhenItIsASingleBytePageElseWindows1252)
{
    const int answer = static_cast<int>(GetACP());
    EXPECT_EQ(platform::systemPageNumber(), answer);
    const CodePage& page = CodePage::system();
    EXPECT_EQ(page.number(), CodePage::windows(answer) ? answer : 1252) << "the system answered " << answer;
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(page.fromUnicode(page.toUnicode(all)), all);
}

TEST(CodePage, AByteIsDefinedOnlyWhenTheSystemDecodesItAloneToOneCharacter)
{
    const auto western = decodePage(1252);
    ASSERT_TRUE(western);
    EXPECT_EQ((*western)[0x41], u'A');
    EXPECT_EQ((*western)[0x80], u'\u20AC');
    EXPECT_EQ((*western)[0xE9], u'\u00E9');
    const auto cyrillic = decodePage(1251);
    ASSERT_TRUE(cyrillic);
    EXPECT_EQ((*cyrillic)[0xC0], u'\u0410');

    // A page whose bytes above 0x7F only begin a character: none of them is
    // defined alone, rather than a replacement character standing for it.
    const auto utf8 = decodePage(CP_UTF8);
    ASSERT_TRUE(utf8);
    EXPECT_EQ((*utf8)[0x41], u'A');
    for (int b = 0x80; b < 0x100; ++b)
        EXPECT_FALSE((*utf8)[static_cast<std::size_t>(b)]) << b;
    EXPECT_FALSE(CodePage::windows(CP_UTF8)); // so it is never the system's page

    // A number the system has no code page for.
    EXPECT_FALSE(decodePage(12345));
}

} // namespace
