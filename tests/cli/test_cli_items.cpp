// The item texts through the console program: round trips of the text form that
// keep every byte of the item file.

// standard
#include <string>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "tests/cli/clirun.h"

namespace {

using clitest::Cli;
using clitest::Outcome;
using clitest::putText;
using clitest::varnhold;
using testsupport::readFile;
using testsupport::writeFile;

/// A text of `units` characters with a space, a lone CR and a lone LF.
std::string fullText(int units, char fill)
{
    std::string text(static_cast<std::size_t>(units), fill);
    text[1] = ' ';
    text[10] = '\r';
    text[20] = '\n';
    return text;
}

TEST_F(Cli, ItemTextsWithAnyLineBreaksAndFullFieldsExportAndApplyBackByteForByte)
{
    struct Field { int offset; int units; };
    struct Row {
        const char* file;
        const char* option;
        const char* mode;
        std::vector<Field> fields;
        const char* refusal; // for a changed full text in the first field
    };
    const Row rows[] = {
        {"Itemdesc.edt", "--itemdesc", "mode=velloc-a", {{0, 80}, {160, 80}, {320, 240}},
         "item 4, short name: is 80 characters long; at most 79 fit."},
        {"Braydesc.edt", "--braydesc", "mode=velloc-b", {{0, 80}, {160, 320}},
         "item 4, name: is 80 characters long; at most 79 fit."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        // The demo file with texts of every kind of line break, one short of
        // full, and full (item 4 and the file's last field).
        std::string bytes = readFile(f(row.file));
        for (const Field& field : row.fields) {
            putText(bytes, 1, field.offset, field.units, "lone CR\rlone LF\nLF CR\n\rCR LF\r\nend");
            putText(bytes, 2, field.offset, field.units, "\n\rbreaks first and last\r");
            std::string nearlyFull(static_cast<std::size_t>(field.units - 1), 'n');
            for (std::size_t i = 5; i < nearlyFull.size(); i += 6)
                nearlyFull[i] = '\n';
            putText(bytes, 3, field.offset, field.units, nearlyFull);
            putText(bytes, 4, field.offset, field.units, fullText(field.units, 'F'));
            putText(bytes, 350, field.offset, field.units, fullText(field.units, 'L'));
        }
        writeFile(f(row.file), bytes);

        ASSERT_EQ(varnhold({"items-export", row.option, f(row.file), f("texts.vlc")}).status, 0);
        const Outcome applied = varnhold({"items-apply", f("texts.vlc"), f(row.file)});
        EXPECT_EQ(applied.status, 0) << applied.err;
        EXPECT_TRUE(readFile(f(row.file)) == bytes) << "the item file changed";

        // One item's full text, given back as the file holds it: nothing changes.
        // Changed, it is refused.
        const std::string full = fullText(row.fields[0].units, 'F');
        const std::string head = std::string("[head]\r\n") + row.mode + "\r\nversion=2.0\r\n\r\n[04]\r\nname=";
        const std::string lines = full.substr(0, 10) + "\r\nname+cr=" + full.substr(11, 9) + "\r\nname+lf=" +
                                  full.substr(21) + "\r\n";
        writeFile(f("own.vlc"), head + lines);
        const Outcome own = varnhold({"items-apply", f("own.vlc"), f(row.file)});
        EXPECT_EQ(own.status, 0) << own.err;
        EXPECT_TRUE(readFile(f(row.file)) == bytes) << "the item file changed";

        writeFile(f("changed.vlc"), head + "X" + lines.substr(1));
        expectRefused(varnhold({"items-apply", f("changed.vlc"), f(row.file)}), row.refusal);
        EXPECT_TRUE(readFile(f(row.file)) == bytes) << "the item file changed";
    }
}

} // namespace
