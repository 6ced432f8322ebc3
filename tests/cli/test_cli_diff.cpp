// diff of two files of one kind: every pairing of forms a kind has, in both
// directions, and the trouble that ends it with status 2 and one line.

// standard
#include <algorithm>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "tests/cli/clirun.h"
#include "tests/support/textutil.h"

namespace {

using clitest::Outcome;
using clitest::varnhold;
using testsupport::readFile;
using testsupport::replaced;
using testsupport::writeFile;
using Words = std::vector<std::string>;

class CliDiff : public clitest::Cli {
protected:
    void SetUp() override
    {
        ASSERT_EQ(varnhold({"brk-export", f("vrn.exe"), f("rules.brk")}).status, 0);
        writeFile(f("changed.brk"), replaced(readFile(f("rules.brk")), "\r\n19=10111111", "\r\n19=00111110"));
        ASSERT_EQ(varnhold({"items-export", "--itemdesc", f("Itemdesc.edt"), f("items.vlc")}).status, 0);
        ASSERT_EQ(varnhold({"items-export", "--braydesc", f("Braydesc.edt"), f("bray.vlc")}).status, 0);
        // A text form that names one item alone, as a translator's might.
        writeFile(f("one.vlc"), "[head]\r\nmode=velloc-a\r\nversion=2.0\r\n\r\n[02]\r\nlname=Glock \"18\"\\\r\n"
                                "desc=Full\r\ndesc+=auto\r\n");
        ASSERT_EQ(varnhold({"imp-dump", f("IMP.dat"), f("merc.ini")}).status, 0);
        std::string two = readFile(f("merc.ini"));
        two += replaced(replaced(two, "[Mara Voss]", "[Other]"), "Portrait=9\r\n", "Portrait=3\r\n");
        writeFile(f("two.ini"), two);
        writeFile(f("notes.txt"), "nothing of ours\r\n");
    }
    Outcome diff(Words words)
    {
        words.insert(words.begin(), "diff");
        return varnhold(words, dir.path());
    }
};

TEST_F(CliDiff, EveryFormOfAKindComparesWithEveryOtherBothWays)
{
    const std::string weapon20 = "20 Steyr AUG: -silencer -extender\n";
    const std::string weapon20Back = "20 Steyr AUG: +silencer +extender\n";
    const std::string glock = "item 2 full name: \"Glock 18 machine pistol\" -> \"Glock \\\"18\\\"\\\\\"\n"
                              "item 2 description: \"The select-fire sister of the Glock 17. Fires short bursts of "
                              "9mm.\" -> \"Full\\r\\nauto\"\n";
    const std::string glockBack = "item 2 full name: \"Glock \\\"18\\\"\\\\\" -> \"Glock 18 machine pistol\"\n"
                                  "item 2 description: \"Full\\r\\nauto\" -> \"The select-fire sister of the "
                                  "Glock 17. Fires short bursts of 9mm.\"\n";
    struct Row {
        Words words;
        int status;
        std::string out;
    };
    const Row rows[] = {
        {{f("vrn.exe"), f("vrn.exe")}, 0, ""},
        {{f("vrn.exe"), f("rules.brk")}, 0, ""},
        {{f("vrn.exe"), f("changed.brk")}, 1, weapon20},
        {{f("changed.brk"), f("vrn.exe")}, 1, weapon20Back},
        {{f("rules.brk"), f("changed.brk")}, 1, weapon20},
        // The layout from the option, or from the text form beside the item file.
        {{"--itemdesc", f("Itemdesc.edt"), f("Itemdesc.edt")}, 0, ""},
        {{f("Itemdesc.edt"), f("items.vlc")}, 0, ""},
        {{f("Itemdesc.edt"), f("one.vlc")}, 1, glock},
        {{"--itemdesc", f("one.vlc"), f("Itemdesc.edt")}, 1, glockBack}, // read over the item file
        {{f("Braydesc.edt"), f("bray.vlc"), "--braydesc"}, 0, ""},
        {{f("items.vlc"), f("items.vlc")}, 0, ""},
        {{f("IMP.dat"), f("merc.ini")}, 0, ""},
        {{f("IMP.dat"), f("two.ini"), "--section", "Other"}, 1, "Portrait: 9 -> 3\n"},
        {{f("two.ini"), f("IMP.dat"), "--section=Other"}, 1, "Portrait: 3 -> 9\n"},
        {{f("IMP.dat"), f("IMP.dat")}, 0, ""},
    };
    for (const Row& row : rows) {
        std::string shown;
        for (const std::string& w : row.words)
            shown += " " + w.substr(w.find_last_of("/\\") + 1);
        SCOPED_TRACE("diff" + shown);
        const Outcome run = diff(row.words);
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, "");
    }
    // Two text forms of their own: each read over empty texts, so the whole
    // file against one item.
    const Outcome whole = diff({f("one.vlc"), f("items.vlc")});
    EXPECT_EQ(whole.status, 1);
    EXPECT_EQ(whole.out.rfind("item 0 short name: \"\" -> \"Nothing\"\n", 0), 0u) << whole.out;
    EXPECT_NE(whole.out.find("\n" + glockBack), std::string::npos) << whole.out;
}

TEST_F(CliDiff, TroubleIsStatusTwoWithOneLine)
{
    writeFile(f("damaged.brk"), "[head]\r\nmode=brackel\r\naddons=x\r\n");
    writeFile(f("short.vlc"), "[head]\r\nmode=velloc-a\r\nversion=1.0\r\n");
    struct Row {
        Words words;
        std::string line; // all of standard error after "varnhold: "
    };
    const Row rows[] = {
        {{f("vrn.exe"), f("IMP.dat")},
         f("IMP.dat") + ": This file is a profile (IMP.dat), and " + f("vrn.exe") +
             " is a game executable; diff compares two files of one kind."},
        {{f("merc.ini"), f("items.vlc")},
         f("items.vlc") + ": This file is a text form, and " + f("merc.ini") +
             " is a presets file; diff compares two files of one kind."},
        {{f("notes.txt"), f("vrn.exe")},
         f("notes.txt") + ": This file is none of the files diff compares: a game executable or a .brk file, an item text "
                          "file or a text form, IMP.dat or a presets file."},
        {{f("vrn.exe"), f("missing.exe")}, f("missing.exe") + ": " + testsupport::missingFileReason()},
        {{"--braydesc", f("Braydesc.edt"), f("items.vlc")},
         f("items.vlc") + ": This file is a text form of Itemdesc texts, and --braydesc was given; diff compares texts of "
                          "one layout."},
        {{f("items.vlc"), f("bray.vlc")},
         f("bray.vlc") + ": This file is a text form of Braydesc texts, and the other file holds Itemdesc texts; diff "
                         "compares texts of one layout."},
        {{f("two.ini"), f("IMP.dat")}, f("two.ini") + ": The file holds 2 preset sections; name the one to compare with --section."},
        {{f("merc.ini"), f("IMP.dat"), "--section", "Nobody"}, f("merc.ini") + ": The file holds no preset section [Nobody]."},
        {{f("damaged.brk"), f("rules.brk")}, f("damaged.brk") + ": The Brackel file is damaged at line 3"},
        {{f("short.vlc"), f("items.vlc")}, f("short.vlc") + ": The text form is of version \"1.0\"; only version 2.0 is read."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const Outcome run = diff(row.words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("varnhold: " + row.line, 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }

    // A wrong command line: its line and the hint to --help.
    const Words wrong[] = {
        {f("vrn.exe")},
        {f("Itemdesc.edt"), f("Braydesc.edt")},
        {"--itemdesc", "--braydesc", f("items.vlc"), f("items.vlc")},
        {"--itemdesc", f("vrn.exe"), f("rules.brk")},
        {"--section", "Other", f("vrn.exe"), f("rules.brk")},
    };
    for (const Words& words : wrong) {
        const Outcome run = diff(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("varnhold: diff: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("\nTry 'varnhold diff --help'.\n"), std::string::npos) << run.err;
    }
}

} // namespace
