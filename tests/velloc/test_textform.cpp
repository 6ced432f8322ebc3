// Velloc's text form: the exact lines written, reading files written by us or
// by hand (partial, out of order, malformed), texts with line breaks of every
// kind, and an item file exported and applied back byte for byte.

// standard
#include <algorithm>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/nativefilesystem.h"
#include "platform/textlines.h"
#include "tests/support/itemtexts.h"
#include "tests/support/tempdir.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/textform.h"

using namespace velloc;

namespace {

using Lines = std::vector<std::string>;
using Outcome = TextFormRead::Outcome;

/// Texts for every item of the given type, each naming its item ("old name 7").
ItemTexts oldTexts(FileType type = FileType::Items)
{
    ItemTexts texts;
    texts.fileType = type;
    for (int n = 0; n < kItemCount; ++n) {
        texts.shortNames[n] = "old name " + std::to_string(n);
        texts.fullNames[n] = "old full name " + std::to_string(n);
        texts.descriptions[n] = "An old description of item " + std::to_string(n) + ", long enough to wrap.";
    }
    return texts;
}

Lines withHead(const char* mode, Lines body)
{
    Lines lines = {"[head]", mode, "version=2.0"};
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

bool startsWith(const std::string& line, const std::string& prefix) { return line.rfind(prefix, 0) == 0; }

} // namespace

TEST(TextForm, WritesTheLayoutOfBothTypes)
{
    ItemTexts texts;
    texts.shortNames[5] = "Knife";
    texts.fullNames[5] = "Combat knife";
    texts.descriptions[5] = "Sharp. name+=x [06]";
    Lines lines = textFormLines(texts);
    ASSERT_EQ(lines.size(), 1758u); // 3 head lines, 351 records of 5 lines
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 8),
              (Lines{"[head]", "mode=velloc-a", "version=2.0", "", "[00]", "name=", "lname=", "desc="}));
    EXPECT_EQ(Lines(lines.begin() + 28, lines.begin() + 33),
              (Lines{"", "[05]", "name=Knife", "lname=Combat knife", "desc=Sharp. name+=x [06]"}));
    EXPECT_EQ(lines[3 + 10 * 5 + 1], "[10]");
    EXPECT_EQ(lines[3 + 350 * 5 + 1], "[350]");
    EXPECT_EQ(lines.back(), "desc=");

    // On disk: CR LF after every line, the last one too.
    testsupport::TempDir dir;
    platform::NativeFileSystem fs;
    ASSERT_TRUE(platform::writeTextLines(fs, dir.file("items.vlc"), lines));
    const std::string bytes = testsupport::readFile(dir.file("items.vlc"));
    EXPECT_TRUE(startsWith(bytes, "[head]\r\nmode=velloc-a\r\nversion=2.0\r\n\r\n[00]\r\nname=\r\nlname=\r\ndesc=\r\n\r\n[01]\r\n"));
    const std::string tail = "desc=\r\n\r\n[350]\r\nname=\r\nlname=\r\ndesc=\r\n";
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);

    texts.fileType = FileType::BobbyRay;
    lines = textFormLines(texts);
    ASSERT_EQ(lines.size(), 1407u); // 3 head lines, 351 records of 4 lines
    EXPECT_EQ(lines[1], "mode=velloc-b");
    EXPECT_EQ(Lines(lines.begin() + 23, lines.begin() + 27), (Lines{"", "[05]", "name=Knife", "desc=Sharp. name+=x [06]"}));
    EXPECT_EQ(lines[3 + 350 * 4 + 1], "[350]");

    // Texts without line breaks never give continuation lines.
    for (FileType type : {FileType::Items, FileType::BobbyRay}) {
        for (const std::string& line : textFormLines(oldTexts(type)))
            EXPECT_FALSE(startsWith(line, "name+") || startsWith(line, "lname+") || startsWith(line, "desc+"))
                << line;
    }
}

TEST(TextForm, WritesEachKindOfLineBreakAsItsOwnContinuationLine)
{
    // "K" stands for the field's key: name, lname or desc.
    struct Row { const char* what; std::string text; Lines lines; };
    const Row rows[] = {
        {"no break", "plain", {"K=plain"}},
        {"CR LF, as always written and read", "Line one\r\nLine two\r\n\r\nafter an empty line\r\n",
         {"K=Line one", "K+=Line two", "K+=", "K+=after an empty line", "K+="}},
        {"lone CR", "a\rb", {"K=a", "K+cr=b"}},
        {"lone LF", "a\nb", {"K=a", "K+lf=b"}},
        {"LF CR: a lone LF, an empty line, a lone CR", "a\n\rb", {"K=a", "K+lf=", "K+cr=b"}},
        {"CR before CR LF", "a\r\r\nb", {"K=a", "K+cr=", "K+=b"}},
        {"mixed", "1\r\n2\r3\n4\n\r5", {"K=1", "K+=2", "K+cr=3", "K+lf=4", "K+lf=", "K+cr=5"}},
        {"breaks first and last", "\ra\n", {"K=", "K+cr=a", "K+lf="}},
        {"CR LF first", "\r\nstarts with a break", {"K=", "K+=starts with a break"}},
        {"nothing but breaks", "\n\r\n\r", {"K=", "K+lf=", "K+=", "K+cr="}},
    };
    for (FileType type : {FileType::Items, FileType::BobbyRay}) {
        for (const auto& [field, key] : {std::pair{Field::ShortName, "name"}, std::pair{Field::FullName, "lname"},
                                         std::pair{Field::Description, "desc"}}) {
            if (type == FileType::BobbyRay && field == Field::FullName)
                continue;
            for (const Row& row : rows) {
                SCOPED_TRACE(std::string(key) + ", " + row.what +
                             (type == FileType::Items ? ", Items" : ", Bobby Ray"));
                ItemTexts texts;
                texts.fileType = type;
                testsupport::textOf(texts, field, 1) = row.text;
                const Lines all = textFormLines(texts);
                // Record 1 runs from its index line to the empty line before record 2.
                const auto from = std::find(all.begin(), all.end(), "[01]") + 1;
                Lines mine;
                for (auto at = from; at != all.end() && !at->empty(); ++at)
                    if (startsWith(*at, key + std::string("=")) || startsWith(*at, key + std::string("+")))
                        mine.push_back(*at);
                Lines expected;
                for (const std::string& line : row.lines)
                    expected.push_back(key + line.substr(1));
                EXPECT_EQ(mine, expected);

                const TextFormRead read = parseTextForm(all, ItemTexts{});
                ASSERT_EQ(read.outcome, Outcome::Accepted) << read.error;
                EXPECT_EQ(read.texts, texts); // byte for byte
            }
        }
    }
}

TEST(TextForm, RoundTripsEveryTextThroughAFile)
{
    for (FileType type : {FileType::Items, FileType::BobbyRay}) {
        SCOPED_TRACE(static_cast<int>(type));
        ItemTexts texts = oldTexts(type);
        for (int n = 0; n < kItemCount; ++n) {
            texts.shortNames[n] = "Name " + std::to_string(n);
            texts.fullNames[n] = n % 2 ? "Full name of " + std::to_string(n) : "";
            texts.descriptions[n] = std::string(static_cast<std::size_t>(n % 230), 'x') + " [" + std::to_string(n) + "]";
        }
        texts.descriptions[20] = "Two lines:\r\nthe second.";
        texts.descriptions[21] = "Before an empty line\r\n\r\nafter it";
        texts.shortNames[22] = "\r\n";
        std::string everyByte; // line breaks too
        for (int c = 1; c < 256; ++c)
            everyByte += static_cast<char>(c);
        texts.descriptions[23] = everyByte;
        texts.fullNames[24] = everyByte;

        testsupport::TempDir dir;
        platform::NativeFileSystem fs;
        ASSERT_TRUE(platform::writeTextLines(fs, dir.file("texts.def"), textFormLines(texts)));
        auto lines = platform::readTextLines(fs, dir.file("texts.def"));
        ASSERT_TRUE(lines) << lines.error();
        const ItemTexts previous = oldTexts(FileType::Items);
        const TextFormRead read = parseTextForm(*lines, previous);
        ASSERT_EQ(read.outcome, Outcome::Accepted) << read.error;
        if (type == FileType::BobbyRay)
            texts.fullNames = previous.fullNames; // not in the file: kept
        EXPECT_EQ(read.texts, texts);
    }
}

TEST(TextForm, ExportThenApplyKeepsEveryByteOfAnItemFile)
{
    for (FileType type : {FileType::Items, FileType::BobbyRay}) {
        SCOPED_TRACE(type == FileType::Items ? "Items" : "Bobby Ray");
        // Every field holds a text in its stored form over filler high bytes and
        // tails, some with line breaks of every kind, some filling their field.
        std::string bytes = testsupport::patternBytes(kItemFileLength, 5);
        for (int n = 0; n < kItemCount; ++n) {
            for (const FieldLayout& f : recordLayout(type)) {
                const auto units = static_cast<std::size_t>(f.units);
                std::string text = "Item " + std::to_string(n);
                if (n == 1)
                    text = f.field == Field::ShortName ? "a\rb" : f.field == Field::FullName ? "c\nd"
                                                     : "LF\nCR\rLF CR\n\rCR LF\r\nend";
                if (n == 2)
                    text = f.field == Field::ShortName ? "\r\nafter a first break" : "\n\rbreaks first and last\r";
                if (n == 3) { // one short of full, with lone LFs that CR LF would lengthen
                    text = std::string(units - 1, 'x');
                    for (std::size_t i = 7; i < text.size(); i += 10)
                        text[i] = '\n';
                }
                if (n == 4 || n == 350) { // full, with spaces and lone breaks
                    text = std::string(units, 'F');
                    text[2] = ' ';
                    text[units / 2] = '\r';
                    text[units / 2 + 3] = '\n';
                }
                testsupport::putText(bytes, n, f.offset, f.units, text);
            }
        }
        testsupport::TempDir dir;
        platform::NativeFileSystem fs;
        const std::string edt = dir.file("Itemdesc.edt");
        testsupport::writeFile(edt, bytes);

        auto read = readdata(fs, edt, type, ItemTexts{});
        ASSERT_TRUE(read) << read.error();
        ASSERT_TRUE(platform::writeTextLines(fs, dir.file("items.vlc"), textFormLines(*read)));
        auto lines = platform::readTextLines(fs, dir.file("items.vlc"));
        ASSERT_TRUE(lines) << lines.error();
        auto current = readdata(fs, edt, type, ItemTexts{});
        ASSERT_TRUE(current) << current.error();
        const TextFormRead applied = parseTextForm(*lines, *current);
        ASSERT_EQ(applied.outcome, Outcome::Accepted) << applied.error;
        EXPECT_EQ(applied.texts, *read);
        const platform::Status written = writedata(fs, edt, applied.texts);
        ASSERT_TRUE(written) << written.error();
        EXPECT_TRUE(testsupport::readFile(edt) == bytes) << "the item file changed";
    }
}

TEST(TextForm, ReadsOrRefusesFiles)
{
    struct Change { int item; Field field; std::string text; };
    struct Row {
        const char* what;
        Lines lines;
        Outcome outcome;
        std::string detail; // Rejected: the version found; Malformed: the start of the error
        std::vector<Change> changes = {};
        FileType type = FileType::Items;
    };
    const char* a = "mode=velloc-a";
    const Row rows[] = {
        {"index of one digit", withHead(a, {"", "[5]", "name=five"}), Outcome::Accepted, "",
         {{5, Field::ShortName, "five"}}},
        {"index with leading zeros", withHead(a, {"", "[005]", "name=five"}), Outcome::Accepted, "",
         {{5, Field::ShortName, "five"}}},
        {"index between spaces", withHead(a, {"", "[ 5 ]", "name=five"}), Outcome::Accepted, "",
         {{5, Field::ShortName, "five"}}},
        {"partial file, fields in any order, record 12 lacks lname",
         withHead(a, {"", "[12]", "desc=d12", "name=n12", "", "[350]", "lname=l350"}), Outcome::Accepted, "",
         {{12, Field::Description, "d12"}, {12, Field::ShortName, "n12"}, {350, Field::FullName, "l350"}}},
        {"mode b ignores lname lines", withHead("mode=velloc-b", {"", "[12]", "lname=x", "name=n", "lname+=y"}),
         Outcome::Accepted, "", {{12, Field::ShortName, "n"}}, FileType::BobbyRay},
        {"continuation of an unset field is ignored, unknown lines too",
         withHead(a, {"", "[7]", "desc+=lost", "desc+cr=lost", "desc+lf=lost", "note=x", "name=a", "name+=b"}),
         Outcome::Accepted, "", {{7, Field::ShortName, "a\r\nb"}}},
        {"continuations with a lone CR or LF",
         withHead(a, {"", "[7]", "name=a", "name+cr=b", "name+lf=c", "lname=x", "lname+lf=", "lname+cr=y"}),
         Outcome::Accepted, "", {{7, Field::ShortName, "a\rb\nc"}, {7, Field::FullName, "x\n\ry"}}},
        {"mode b: lname continuations are not name ones",
         withHead("mode=velloc-b", {"", "[12]", "name=n", "lname+cr=x", "lname+lf=y", "lname+=z"}),
         Outcome::Accepted, "", {{12, Field::ShortName, "n"}}, FileType::BobbyRay},
        {"keys like the continuation keys are unknown lines",
         withHead(a, {"", "[7]", "name=a", "name+crx=b", "name+CR=c", "names+lf=d", "name+cr", "name+ lf=e"}),
         Outcome::Accepted, "", {{7, Field::ShortName, "a"}}},
        {"an empty line ends the record", withHead(a, {"", "[7]", "name=a", "", "name=b"}), Outcome::Accepted, "",
         {{7, Field::ShortName, "a"}}},
        {"mode anywhere in a line, earlier lines ignored",
         {"[abc]", "x mode=velloc-a y", "version=2.0", "[1]", "desc=d"}, Outcome::Accepted, "",
         {{1, Field::Description, "d"}}},
        {"the last version line counts", withHead(a, {"", "[1]", "name=x", "", "version=1.1"}), Outcome::Rejected,
         "1.1"},
        {"other version", {"[head]", a, "version=2.0 ", "", "[1]", "name=x"}, Outcome::Rejected, "2.0 "},
        {"no version line", {"[head]", a, "", "[1]", "name=x"}, Outcome::Rejected, ""},
        {"version before the mode line is not seen", {"version=2.0", a, "", "[1]", "name=x"}, Outcome::Rejected, ""},
        {"no mode line", {"[head]", "mode=brackel", "version=2.0"}, Outcome::NotIdentified, ""},
        {"empty file", {}, Outcome::Malformed, "the file is empty"},
        {"index not a number", withHead(a, {"", "[abc]", "name=x"}), Outcome::Malformed,
         "line 5: the item number \"abc\" is not a number from 0 to 350."},
        {"index 351", withHead(a, {"", "[351]", "name=x"}), Outcome::Malformed, "line 5: the item number \"351\""},
        {"index -1", withHead(a, {"", "[-1]", "name=x"}), Outcome::Malformed, "line 5: the item number \"-1\""},
        {"bare bracket", withHead(a, {"", "[", "name=x"}), Outcome::Malformed, "line 5: the item number \"\""},
        {"ends after the mode line", {"[head]", a}, Outcome::Malformed, "line 2: the file ends right after"},
        {"ends after an index line, earlier records unused", withHead(a, {"", "[0]", "name=a", "", "[1]"}),
         Outcome::Malformed, "line 8: the file ends right after"},
    };
    const ItemTexts previous = oldTexts();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const TextFormRead read = parseTextForm(row.lines, previous);
        EXPECT_EQ(read.outcome, row.outcome);
        if (row.outcome == Outcome::Malformed) {
            EXPECT_TRUE(startsWith(read.error, row.detail)) << read.error;
        }
        if (row.outcome == Outcome::Rejected) {
            EXPECT_EQ(read.version, row.detail);
        }
        ItemTexts expected = previous;
        for (const Change& c : row.changes)
            (c.field == Field::ShortName  ? expected.shortNames
             : c.field == Field::FullName ? expected.fullNames
                                          : expected.descriptions)[c.item] = c.text;
        if (row.outcome == Outcome::Accepted)
            expected.fileType = row.type;
        EXPECT_EQ(read.texts, expected);
    }
}
