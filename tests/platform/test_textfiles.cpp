// Our text files as every program reads and writes them: the lines that
// the splitter and the line index find at every kind of line end, joining
// with CR LF, the one size limit, and the one writer that never replaces a
// game file.

// standard
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/gamefiles.h"
#include "platform/nativefilesystem.h"
#include "platform/textlines.h"
#include "tests/support/fileholder.h"
#include "tests/support/notours.h"
#include "tests/support/tempdir.h"

using namespace platform;
using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

TEST(TextFiles, SplitsAtEveryKindOfLineEndIndexesAlikeAndJoinsWithCrLf)
{
    // The splitter's lines, and the line index's: the same lines, over the
    // text's own bytes.
    const std::pair<std::string, Lines> cases[] = {
        {"", {}}, {"\r\n", {""}}, {"\n", {""}}, {"\r", {""}}, {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}}, {"a\r\nb", {"a", "b"}}, {"a\r\n\r\n", {"a", ""}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}}, {"\r\n\r\nx", {"", "", "x"}},
        {"a\n\rb", {"a", "", "b"}},  // LF then CR: two line ends
        {"a\r\r\nb", {"a", "", "b"}}, // a lone CR, then CR LF
        {"\n\n\r\r\n\r", {"", "", "", "", ""}},
        {"\x80\xFF\0z\r\n\t \r\n"s, {"\x80\xFF\0z"s, "\t "}},
        {"tail\r", {"tail"}}, {"\r\rtwo", {"", "", "two"}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(splitLines(text), expected);
        const TextLines lines(text);
        ASSERT_EQ(lines.size(), expected.size());
        std::size_t i = 0;
        for (std::string_view line : lines)
            EXPECT_EQ(line, expected[i++]);
        EXPECT_EQ(lines.bytes(), text);
    }
    // Lines given one by one come back as given.
    const TextLines given{"a", "", "b c"};
    EXPECT_EQ(given.size(), 3u);
    EXPECT_EQ(given[2], "b c");

    EXPECT_EQ(joinLines({}), "");
    EXPECT_EQ(joinLines({""}), "\r\n");
    const Lines lines{"a", "", "\xA0\0b"s, " "};
    EXPECT_EQ(joinLines(lines), "a\r\n\r\n\xA0\0b\r\n \r\n"s);
    EXPECT_EQ(splitLines(joinLines(lines)), lines);
}

TEST(TextFiles, OneLimitForEveryTextFileNamedInTheRefusal)
{
    testsupport::TempDir dir;
    NativeFileSystem fs;
    const std::string atLimit(kMaxTextFileLength, '\n');
    testsupport::writeFile(dir.file("at.vlc"), atLimit);
    auto lines = readTextLines(fs, dir.file("at.vlc"));
    ASSERT_TRUE(lines) << lines.error();
    EXPECT_EQ(lines->size(), kMaxTextFileLength);
    EXPECT_EQ((*lines)[lines->size() - 1], "");

    testsupport::writeFile(dir.file("over.vlc"), atLimit + "x");
    const auto over = readTextFile(fs, dir.file("over.vlc"));
    ASSERT_FALSE(over);
    EXPECT_EQ(over.error(), dir.file("over.vlc") + " is 4194305 bytes long; no text file of ours is larger than 4 MiB.");
    EXPECT_EQ(over.reason(), "The file is 4194305 bytes long; no text file of ours is larger than 4 MiB.");
    EXPECT_EQ(over.path(), dir.file("over.vlc"));

    const auto missing = readTextLines(fs, dir.file("none.vlc"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.path(), dir.file("none.vlc"));
}

TEST(TextFiles, TheWriterReplacesOnlyTextFilesOfOurs)
{
    testsupport::TempDir dir;
    NativeFileSystem fs;
    for (const testsupport::NotOurs& target : testsupport::filesNeverReplaced()) {
        SCOPED_TRACE(target.name);
        const std::string path = dir.file(target.name);
        testsupport::writeFile(path, target.bytes);
        const Status written = writeTextLines(fs, path, {"[head]"});
        ASSERT_FALSE(written);
        const std::string sentence = std::string("This file ") + target.why + "; it is never replaced by a text file.";
        EXPECT_EQ(written.message().lines(), (std::vector<std::string>{path, sentence, "Nothing was written."}));
        EXPECT_EQ(written.reason(), sentence + " Nothing was written.");
        EXPECT_EQ(written.path(), path);
        EXPECT_EQ(testsupport::readFile(path), target.bytes);
    }
    // New files, and files of text (at the limit too), are written whole.
    const std::string text = dir.file("names.def");
    ASSERT_TRUE(writeTextLines(fs, text, {"[head]", "mode=velloc-a"}));
    EXPECT_EQ(testsupport::readFile(text), "[head]\r\nmode=velloc-a\r\n");
    testsupport::writeFile(text, std::string(kMaxTextFileLength, 'x'));
    ASSERT_TRUE(writeTextFile(fs, text, "short"));
    EXPECT_EQ(testsupport::readFile(text), "short");
}

// The one check of what a text may replace, which the writer above and
// the console's standard output both make: the length decides first, and
// the bytes are read only when it leaves the question open.
TEST(TextFiles, TheCheckOfOurTextReadsOnlyWhatTheLengthLeavesOpen)
{
    int reads = 0;
    auto reading = [&reads](std::string bytes) {
        return [&reads, bytes]() -> Result<std::string> {
            ++reads;
            return bytes;
        };
    };
    using Kind = NotOurText::Kind;
    auto game = checkOurText(kItemFileLength, reading("text"));
    ASSERT_TRUE(game);
    EXPECT_EQ(game->kind, Kind::GameFile);
    EXPECT_EQ(game->game, "an item text file of the game");
    EXPECT_EQ(checkOurText(2812928, reading(""))->game, "the game executable [US1.03]");
    EXPECT_EQ(checkOurText(kMaxTextFileLength + 1, reading("text"))->kind, Kind::TooLarge);
    EXPECT_EQ(checkOurText(0, reading(std::string(1, '\0')))->kind, Kind::None); // empty: nothing to read
    EXPECT_EQ(reads, 0);

    EXPECT_EQ(checkOurText(5, reading("a\r\nb\n"))->kind, Kind::None);
    EXPECT_EQ(checkOurText(kMaxTextFileLength, reading("x"))->kind, Kind::None); // at the limit
    EXPECT_EQ(checkOurText(3, reading(std::string("a\0b", 3)))->kind, Kind::ZeroByte);
    EXPECT_EQ(reads, 3);
    // A failed read is given back as it is.
    const auto unread = checkOurText(3, [] { return Result<std::string>::failure("Could not read x: denied", "denied", "x"); });
    ASSERT_FALSE(unread);
    EXPECT_EQ(unread.error(), "Could not read x: denied");
    EXPECT_EQ(unread.reason(), "denied");

    EXPECT_EQ(tooLargeForText(kMaxTextFileLength), std::nullopt);
    EXPECT_EQ(tooLargeForText(kMaxTextFileLength + 1),
              "The file is 4194305 bytes long; no text file of ours is larger than 4 MiB.");
}

TEST(TextFiles, AWriteRemovesWhatAKilledWriteOfItsFileLeftAndSparesAWriteUnderWay)
{
    testsupport::TempDir dir;
    NativeFileSystem fs;
    const std::string path = dir.file("P.ini");
    testsupport::writeFile(path, "[Old]\r\n");
    testsupport::writeFile(dir.file(".P.ini.tmp-AbC123"), "[Killed]\r\n");  // a killed write's
    testsupport::writeFile(dir.file(".P.ini.tmp-Live00"), "[Writing]\r\n"); // another program's, under way
    testsupport::writeFile(dir.file(".P.ini.bak"), "the user's");            // not of the scheme
    testsupport::writeFile(dir.file(".Q.ini.tmp-AbC123"), "another file's");
    {
        testsupport::FileHolder writing(dir.file(".P.ini.tmp-Live00"));
        ASSERT_TRUE(writing.held());
        ASSERT_TRUE(writeTextFile(fs, path, "[New]\r\n"));
        EXPECT_EQ(testsupport::folderEntries(dir.path()),
                  (std::vector<std::string>{".P.ini.bak", ".P.ini.tmp-Live00", ".Q.ini.tmp-AbC123", "P.ini"}));
    }
    EXPECT_EQ(testsupport::readFile(path), "[New]\r\n");
    EXPECT_EQ(testsupport::readFile(dir.file(".P.ini.tmp-Live00")), "[Writing]\r\n");
    // Once its writer is gone, it is a leftover like any other.
    ASSERT_TRUE(writeTextFile(fs, path, "[Newer]\r\n"));
    EXPECT_EQ(testsupport::folderEntries(dir.path()), (std::vector<std::string>{".P.ini.bak", ".Q.ini.tmp-AbC123", "P.ini"}));
}

TEST(TextFiles, OneProgramAtATimeHoldsTheUpdatesOfAFolder)
{
    testsupport::TempDir dir, other;
    NativeFileSystem fs;
    using std::chrono::milliseconds;
    // Held from another thread, as another program would hold it.
    auto holdElsewhere = [&](const std::string& path) {
        return std::async(std::launch::async, [&fs, path] { return fs.holdUpdates(path, milliseconds(50)); }).get();
    };
    auto hold = fs.holdUpdates(dir.file("P.ini"), milliseconds(0));
    ASSERT_TRUE(hold) << hold.error();
    // Any file of the folder, named any way, whether it exists or not.
    for (const std::string& path : {dir.file("P.ini"), dir.file("missing.ini"), dir.file("../") +
                                                                                    std::filesystem::path(dir.path()).filename().string() + "/x.ini"}) {
        SCOPED_TRACE(path);
        auto refused = holdElsewhere(path);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error(), "Could not save " + path + ": the file is in use by another program");
    }
    EXPECT_TRUE(holdElsewhere(other.file("P.ini"))); // another folder
    hold = Result<std::unique_ptr<UpdateHold>>(Status::failure("released"));
    EXPECT_TRUE(holdElsewhere(dir.file("P.ini")));
}

} // namespace
