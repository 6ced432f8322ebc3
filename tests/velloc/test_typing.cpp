// What typing does to an item's texts, without a window: each field's
// limit, a keystroke or paste into the description box and the model bytes
// it replaces (line breaks stored as CR LF, lone CRs and LFs left alone),
// and refusing what would grow a text past its limit.

// standard
#include <string>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "velloc/core/typing.h"

using namespace velloc;

namespace {

TEST(Typing, EachFieldHasItsLimit)
{
    for (FileType type : {FileType::Items, FileType::BobbyRay}) {
        EXPECT_EQ(typingLimit(Field::ShortName, type), 30u);
        EXPECT_EQ(typingLimit(Field::FullName, type), 60u);
    }
    EXPECT_EQ(typingLimit(Field::Description, FileType::Items), 220u);
    EXPECT_EQ(typingLimit(Field::Description, FileType::BobbyRay), 300u);
}

TEST(Typing, NoTextGrowsPastItsLimit)
{
    EXPECT_TRUE(typingFits(220, 219, 220));  // the last byte of room
    EXPECT_FALSE(typingFits(221, 219, 220)); // a paste longer than the room left
    EXPECT_FALSE(typingFits(221, 0, 220));
    EXPECT_TRUE(typingFits(0, 0, 220));
    // A longer text read from a file may be shortened or kept, never grown.
    EXPECT_TRUE(typingFits(249, 250, 220));
    EXPECT_TRUE(typingFits(250, 250, 220)); // a character replaced by another
    EXPECT_FALSE(typingFits(251, 250, 220));
}

TEST(Typing, AKeystrokeReplacesOnlyTheBytesOfTheBoxCharactersItChanged)
{
    // A character typed in the middle.
    EXPECT_EQ(typeIntoDescription("abcdef", 3, 3, "X"), "abcXdef");
    // At the start and at the end.
    EXPECT_EQ(typeIntoDescription("abc", 0, 0, "X"), "Xabc");
    EXPECT_EQ(typeIntoDescription("abc", 3, 3, "X"), "abcX");
    // A backspace: one character replaced by nothing.
    EXPECT_EQ(typeIntoDescription("abc", 1, 2, ""), "ac");
    // Into an empty description.
    EXPECT_EQ(typeIntoDescription("", 0, 0, "A"), "A");
    // The code page's bytes go in as they are.
    EXPECT_EQ(typeIntoDescription("caf", 3, 3, "\xE9"), "caf\xE9");
}

TEST(Typing, LineBreaksAreOneCharacterInTheBoxAndCrLfInTheModel)
{
    // "ab\r\ncd" shows as the 5 characters "ab\ncd".
    const std::string stored = "ab\r\ncd";
    EXPECT_TRUE(descriptionBoxShows(stored, 5));
    EXPECT_FALSE(descriptionBoxShows(stored, 6));
    // A paste over a selection across the line break: "b\nc" becomes "Z".
    EXPECT_EQ(typeIntoDescription(stored, 1, 4, "Z"), "aZd");
    // Deleting the line break takes both of its bytes.
    EXPECT_EQ(typeIntoDescription(stored, 2, 3, ""), "abcd");
    // Typed or pasted line breaks are stored as CR LF.
    EXPECT_EQ(typeIntoDescription(stored, 5, 5, "\n1\n\n2"), "ab\r\ncd\r\n1\r\n\r\n2");
    EXPECT_EQ(storedDescription("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(storedDescription(""), "");

    // A lone CR and a lone LF of a file are one line break each in the box,
    // and keep their byte while nothing is typed over them.
    const std::string odd = "a\rb\nc\r\nd"; // shows as "a\nb\nc\nd": 7 characters
    EXPECT_TRUE(descriptionBoxShows(odd, 7));
    EXPECT_EQ(typeIntoDescription(odd, 6, 6, "X"), "a\rb\nc\r\nXd");
    EXPECT_EQ(typeIntoDescription(odd, 2, 3, "B"), "a\rB\nc\r\nd");
    // Typed over, a lone CR becomes what was typed.
    EXPECT_EQ(typeIntoDescription(odd, 1, 2, "\n"), "a\r\nb\nc\r\nd");
    // A CR at the very end is a line break of its own.
    EXPECT_TRUE(descriptionBoxShows("a\r", 2));
    EXPECT_EQ(typeIntoDescription("a\r", 2, 2, "b"), "a\rb");
}

TEST(Typing, APasteIsRefusedWhenItWouldGrowTheDescriptionPastItsLimit)
{
    // 215 bytes in an Itemdesc.edt description: room for 5 more.
    const std::string description(215, 'd');
    const std::size_t limit = typingLimit(Field::Description, FileType::Items);
    const std::string fits = typeIntoDescription(description, 100, 100, "12345");
    EXPECT_TRUE(typingFits(fits.size(), description.size(), limit));
    const std::string tooLong = typeIntoDescription(description, 100, 100, "123456");
    EXPECT_FALSE(typingFits(tooLong.size(), description.size(), limit));
    // A line break takes two bytes of the room.
    const std::string withBreaks = typeIntoDescription(description, 100, 100, "12\n4");
    EXPECT_EQ(withBreaks.size(), 220u);
    EXPECT_TRUE(typingFits(withBreaks.size(), description.size(), limit));
    EXPECT_FALSE(typingFits(typeIntoDescription(description, 0, 0, "1\n\n2").size(), description.size(), limit));
    // Over a selection the replaced bytes make room: 10 replaced by 15.
    const std::string overSelection = typeIntoDescription(description, 10, 20, std::string(15, 'p'));
    EXPECT_EQ(overSelection.size(), 220u);
    EXPECT_TRUE(typingFits(overSelection.size(), description.size(), limit));
    // A Braydesc.edt description has room for 300.
    EXPECT_TRUE(typingFits(tooLong.size(), description.size(), typingLimit(Field::Description, FileType::BobbyRay)));
}

} // namespace
