// The system's code page on POSIX systems: the first locale variable set.

// standard
#include <cstdlib>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/codepage.h"

namespace {

// The only test in this program, so the system page is built from the
// variables set here.
TEST(CodePage, SystemFollowsTheFirstLocaleVariableSet)
{
    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_CTYPE", "ru_RU.UTF-8", 1);
    ::setenv("LANG", "pl_PL.UTF-8", 1);
    EXPECT_EQ(platform::CodePage::system().number(), 1251);
}

} // namespace
