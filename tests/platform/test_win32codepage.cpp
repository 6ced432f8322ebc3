// The system's code page on Windows: its ANSI code page, which the test run
// sets per program (Wine takes it from the locale it is started in) and
// names in VARNHOLD_EXPECTED_ACP.

// standard
#include <cstdlib>
#include <string>

// GoogleTest
#include <gtest/gtest.h>

// Windows
#include <windows.h>

// ours
#include "platform/codepage.h"

namespace {

TEST(CodePage, SystemIsTheAnsiCodePageAndKeepsEveryByte)
{
    const char* expected = std::getenv("VARNHOLD_EXPECTED_ACP");
    if (!expected)
        GTEST_SKIP() << "run with a locale and VARNHOLD_EXPECTED_ACP set";
    EXPECT_EQ(static_cast<int>(GetACP()), std::stoi(expected));
    const platform::CodePage& page = platform::CodePage::system();
    EXPECT_EQ(page.number(), std::stoi(expected));
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(page.fromUnicode(page.toUnicode(all)), all);
}

} // namespace
