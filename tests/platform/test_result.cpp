// A result and a status: a result made from a success holds no value and
// says it is a fault of the program's.

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/result.h"

namespace {

TEST(Result, MadeFromASuccessIsAFailureThatSaysSo)
{
    const platform::Result<int> made(platform::Status::success());
    EXPECT_FALSE(made);
    EXPECT_EQ(made.error(), platform::Result<int>::kNoValue);
    EXPECT_FALSE(made.status());
}

} // namespace
