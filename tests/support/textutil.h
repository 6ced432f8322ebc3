#pragma once

// Small text helpers of the tests: a text in lower case, and a text with one
// part of it replaced.

// standard
#include <cctype>
#include <string>

// GoogleTest
#include <gtest/gtest.h>

namespace testsupport {

/// The text with every letter in lower case (the C locale's letters).
inline std::string lowered(std::string text)
{
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

/// The text with the first `from` in it replaced by `to`; a text without
/// `from` fails the test and comes back unchanged.
inline std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

} // namespace testsupport
