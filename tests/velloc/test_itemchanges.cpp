// The change list of item texts: the exact line of each kind of change, the
// escapes that keep every byte visible on one line, the field words of both
// layouts, and nothing at all when nothing changed.

// standard
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/ascii.h"
#include "velloc/core/itemchanges.h"

using namespace velloc;

namespace {

using Lines = std::vector<std::string>;

TEST(ItemChanges, OneLinePerChangedFieldInItemAndFieldOrder)
{
    ItemTexts from;
    from.shortNames[7] = "Knife";
    from.fullNames[7] = "Combat knife";
    from.descriptions[350] = "Old";
    ItemTexts to = from;
    EXPECT_EQ(itemTextChanges(from, to), Lines{});

    to.descriptions[350] = "";
    to.fullNames[7] = "Combat dagger";
    to.shortNames[7] = "Dagger";
    to.shortNames[0] = "New";
    EXPECT_EQ(itemTextChanges(from, to), (Lines{
                                             R"(item 0 short name: "" -> "New")",
                                             R"(item 7 short name: "Knife" -> "Dagger")",
                                             R"(item 7 full name: "Combat knife" -> "Combat dagger")",
                                             R"(item 350 description: "Old" -> "")",
                                         }));
}

TEST(ItemChanges, BobbyRayFieldsAreNameAndDescriptionOnly)
{
    ItemTexts from;
    from.fileType = FileType::BobbyRay;
    ItemTexts to = from;
    to.shortNames[3] = "Rifle";
    to.fullNames[3] = "not a field of this layout";
    to.descriptions[3] = "Long";
    EXPECT_EQ(itemTextChanges(from, to), (Lines{
                                             R"(item 3 name: "" -> "Rifle")",
                                             R"(item 3 description: "" -> "Long")",
                                         }));
}

TEST(ItemChanges, EveryByteIsEscapedToPrintableAsciiOnOneLine)
{
    EXPECT_EQ(platform::quotedAscii("a\r\nb\rc\nd\te"), R"("a\r\nb\rc\nd\te")");
    EXPECT_EQ(platform::quotedAscii("say \"hi\" \\ back"), R"("say \"hi\" \\ back")");
    EXPECT_EQ(platform::quotedAscii(std::string("\x01\x1e\x7f\x80\xe9\xfe", 6)), R"("\x01\x1e\x7f\x80\xe9\xfe")");
    // Printable ASCII stays as it is, the edges included.
    EXPECT_EQ(platform::quotedAscii(" ~"), "\" ~\"");

    ItemTexts from;
    ItemTexts to;
    to.descriptions[1] = "Line one\r\nLine \xe9";
    const Lines lines = itemTextChanges(from, to);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], R"(item 1 description: "" -> "Line one\r\nLine \xe9")");
    for (char c : lines[0])
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << int(static_cast<unsigned char>(c));
}

} // namespace
