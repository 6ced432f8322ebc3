// The console program driven as a process, as a script would: its outputs
// byte for byte against what the windows' own flows write, round trips that
// must leave game files untouched, and every refusal with its status, its
// one line on standard error and the files left as they were.

// standard
#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// Qt
#include <QFile>
#include <QProcess>

// ours
#include "brackel/core/editor.h"
#include "kestrin/core/profilepreset.h"
#include "kestrin/core/profilerecord.h"
#include "platform/nativefilesystem.h"
#include "platform/paths.h"
#include "tests/support/scriptedplatform.h"
#include "platform/textlines.h"
#include "tests/cli/clirun.h"
#include "tests/support/tempdir.h"
#include "velloc/core/session.h"

namespace {

using clitest::Cli;
using clitest::Outcome;
using clitest::varnhold;
using testsupport::readFile;
using testsupport::writeFile;

TEST_F(Cli, AttachmentRulesExportLikeTheWindowApplyBackUnchangedAndCarryAnEdit)
{
    const std::string original = readFile(f("vrn.exe"));
    ASSERT_EQ(varnhold({"brk-export", f("vrn.exe"), f("rules.brk")}).status, 0);

    // The window's Save as of the same executable as a Brackel file.
    platform::ScriptedPlatform ui;
    brackel::Editor editor(ui);
    ui.chooseFile(f("vrn.exe"));
    ui.answer(platform::Answer::Ok);
    editor.open();
    ui.chooseFile(f("window.brk"), 2);
    ui.answer(platform::Answer::Ok);
    editor.saveAs();
    EXPECT_EQ(readFile(f("rules.brk")), readFile(f("window.brk")));
    EXPECT_EQ(varnhold({"brk-export", f("vrn.exe"), "-"}).out, readFile(f("window.brk")));

    EXPECT_EQ(varnhold({"brk-apply", f("rules.brk"), f("vrn.exe")}).status, 0);
    EXPECT_EQ(readFile(f("vrn.exe")), original);
    EXPECT_EQ(readFile(f("vrn.exe.bak")), original);

    // A weapon given every attachment takes four more entries of the six free.
    std::string rules = readFile(f("rules.brk"));
    const std::size_t line = rules.find("\r\n08=");
    ASSERT_NE(line, std::string::npos);
    rules.replace(line + 5, 8, "11111111");
    writeFile(f("rules.brk"), rules);
    EXPECT_EQ(varnhold({"brk-apply", f("rules.brk"), f("vrn.exe")}).status, 0);
    EXPECT_EQ(varnhold({"brk-info", f("vrn.exe")}).out,
              f("vrn.exe") + ": game executable [US1.03], 2 of 182 table entries free\n");
    EXPECT_NE(varnhold({"brk-export", f("vrn.exe"), "-"}).out.find("\r\n08=11111111\r\n"), std::string::npos);
    const std::string patched = readFile(f("vrn.exe"));
    ASSERT_EQ(patched.size(), original.size());
    EXPECT_EQ(readFile(f("vrn.exe.bak")), original); // the first backup stays
}

TEST_F(Cli, ItemTextsExportLikeTheWindowAndApplyBackUnchanged)
{
    // names.def of the demo folder was written by the window's own writer.
    platform::NativeFileSystem files;
    ASSERT_TRUE(files.remove(f("names.def")));
    Outcome names = varnhold({"names-def", f("Itemdesc.edt")}, dir.path());
    ASSERT_EQ(names.status, 0) << names.err;
    EXPECT_EQ(readFile(f("names.def")), readFile(platform::joinPath(VARNHOLD_DEMO_DIR, "names.def")));

    // The window's Save As of Braydesc.edt as a Velloc file.
    platform::ScriptedPlatform ui;
    velloc::Session session(ui);
    ui.chooseFile(f("Braydesc.edt"));
    ui.answer(platform::Answer::Cancel); // Cancel: Braydesc
    ui.answer(platform::Answer::Ok);
    session.open();
    ui.chooseFile(f("window.vlc"), 3);
    ui.answer(platform::Answer::Ok);
    session.saveAs();
    ASSERT_EQ(varnhold({"items-export", "--braydesc", f("Braydesc.edt"), f("bray.vlc")}).status, 0);
    EXPECT_EQ(readFile(f("bray.vlc")), readFile(f("window.vlc")));

    const std::string itemdesc = readFile(f("Itemdesc.edt"));
    const std::string braydesc = readFile(f("Braydesc.edt"));
    ASSERT_EQ(varnhold({"items-export", "--itemdesc", f("Itemdesc.edt"), f("items.vlc")}).status, 0);
    EXPECT_EQ(varnhold({"items-apply", f("items.vlc"), f("Itemdesc.edt")}).status, 0);
    EXPECT_EQ(varnhold({"items-apply", f("bray.vlc"), f("Braydesc.edt")}).status, 0);
    EXPECT_EQ(readFile(f("Itemdesc.edt")), itemdesc);
    EXPECT_EQ(readFile(f("Braydesc.edt")), braydesc);

    // A text form of one item changes that item's field and nothing else.
    writeFile(f("one.vlc"), "[head]\r\nmode=velloc-a\r\nversion=2.0\r\n\r\n[02]\r\nname=Rex\r\n");
    EXPECT_EQ(varnhold({"items-apply", f("one.vlc"), f("Itemdesc.edt")}).status, 0);
    const std::string patched = readFile(f("Itemdesc.edt"));
    const std::size_t at = 2 * 800;
    EXPECT_EQ(patched.substr(0, at), itemdesc.substr(0, at));
    EXPECT_EQ(patched.substr(at + 8), itemdesc.substr(at + 8));
    EXPECT_EQ(patched.substr(at, 8), std::string("S") + itemdesc[at + 1] + "f" + itemdesc[at + 3] + "y" +
                                         itemdesc[at + 5] + '\0' + itemdesc[at + 7]);
}

TEST_F(Cli, MercenaryDumpLoadsInThePresetsWindowAndAppliesBackUnchanged)
{
    const std::string original = readFile(f("IMP.dat"));
    Outcome dump = varnhold({"imp-dump", f("IMP.dat")});
    ASSERT_EQ(dump.status, 0) << dump.err;
    ASSERT_EQ(dump.out.rfind("[Mara Voss]\r\nHealth=82\r\n", 0), 0u) << dump.out;

    // The Presets window's loader takes the section; its keys set the profile.
    kestrin::Profile profile;
    kestrin::ProfileChoices choices(profile);
    const auto applied = kestrin::applyPreset(dump.out, "Mara Voss", profile, choices);
    ASSERT_TRUE(applied.ok()) << applied.error();
    EXPECT_TRUE(applied->empty());
    EXPECT_EQ(profile.attributeText(kestrin::Attribute::Health), "82");
    EXPECT_EQ(profile.hidden(kestrin::Hidden::Weapon), 20);

    writeFile(f("merc.ini"), dump.out);
    EXPECT_EQ(varnhold({"imp-apply", f("merc.ini"), f("IMP.dat")}).status, 0);
    EXPECT_EQ(readFile(f("IMP.dat")), original);

    // An edited preset: Health in both copies, the name's cells.
    std::string edited = dump.out;
    edited.replace(edited.find("Health=82"), 9, "Health=99");
    edited.replace(edited.find("Name=Mara Voss"), 14, "Name=\" Ada \"");
    writeFile(f("merc.ini"), "[Presets]\r\nAmount=1\r\n1=Mara Voss\r\n" + edited);
    EXPECT_EQ(varnhold({"imp-apply", f("merc.ini"), f("IMP.dat")}).status, 0);
    const std::string saved = readFile(f("IMP.dat"));
    EXPECT_EQ(saved[kestrin::record::kAttributeOffsets[int(kestrin::Attribute::Health)]], 99);
    EXPECT_EQ(saved[kestrin::record::kHealthCopy], 99);
    std::string name;
    for (int cell = 0; cell < 6; ++cell)
        name += saved[kestrin::record::kName + 2 * cell];
    EXPECT_EQ(name, std::string(" Ada \0", 6));
    Outcome again = varnhold({"imp-dump", f("IMP.dat"), "--section", "Again"});
    EXPECT_NE(again.out.find("\r\nName=\" Ada \"\r\n"), std::string::npos) << again.out;
}

TEST_F(Cli, RefusalsWriteNothing)
{
    writeFile(f("short.exe"), std::string(5000, 'x'));
    std::string all = "[head]\r\nmode=brackel\r\nversion=2.0\r\naddons=0\r\n\r\n[main]\r\n";
    for (int i = 0; i < 65; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "%02d=11111111\r\n", i);
        all += line;
    }
    writeFile(f("all.brk"), all);
    writeFile(f("long.vlc"), "[head]\r\nmode=velloc-a\r\nversion=2.0\r\n\r\n[07]\r\nname=" + std::string(80, 'n') +
                                 "\r\n");
    writeFile(f("old.vlc"), "[head]\r\nmode=velloc-a\r\nversion=1.0\r\n\r\n[07]\r\nname=x\r\n");
    writeFile(f("short.edt"), std::string(900, 'e'));
    writeFile(f("short.dat"), std::string(100, 'd'));
    const std::string merc = varnhold({"imp-dump", f("IMP.dat")}).out;
    writeFile(f("merc.ini"), merc);
    std::string unknown = merc;
    unknown.replace(unknown.find("SlotFirstHand=20"), 16, "SlotFirstHand=99");
    writeFile(f("unknown.ini"), unknown);
    writeFile(f("two.ini"), merc + "[Other]\r\nHealth=50\r\n");

    const std::vector<std::string> games = {"vrn.exe", "Itemdesc.edt", "Braydesc.edt", "IMP.dat", "short.exe",
                                            "short.edt", "short.dat"};
    std::vector<std::string> before;
    for (const std::string& g : games)
        before.push_back(readFile(f(g.c_str())));

    expectRefused(varnhold({"brk-apply", f("all.brk"), f("vrn.exe")}), "520 entries are needed");
    expectRefused(varnhold({"brk-apply", f("all.brk"), f("short.exe")}),
                  "short.exe: The file is 5000 bytes long, the length of no known build");
    expectRefused(varnhold({"brk-export", f("short.exe"), f("x.brk")}), "no line \"mode=brackel\"");
    expectRefused(varnhold({"brk-export", f("vrn.exe"), f("Itemdesc.edt")}), "is never replaced");
    expectRefused(varnhold({"items-apply", f("long.vlc"), f("Itemdesc.edt")}), "item 7, short name: is 80");
    expectRefused(varnhold({"items-apply", f("old.vlc"), f("Itemdesc.edt")}), "version \"1.0\"; only version 2.0");
    expectRefused(varnhold({"items-apply", f("names.def"), f("short.edt")}), "900 bytes long");
    expectRefused(varnhold({"items-export", "--itemdesc", f("vrn.exe"), f("x.vlc")}), "2812928 bytes long");
    expectRefused(varnhold({"names-def", f("Itemdesc.edt"), f("vrn.exe")}), "is never replaced");
    expectRefused(varnhold({"imp-dump", f("IMP.dat"), f("IMP.dat")}), "input file itself");
    expectRefused(varnhold({"brk-export", f("vrn.exe"), f("IMP.dat")}), "not a text file");
    expectRefused(varnhold({"imp-apply", f("unknown.ini"), f("IMP.dat")}), "Unknown weapon.");
    expectRefused(varnhold({"imp-apply", f("merc.ini"), f("short.dat")}),
                  f("short.dat") + ": It is 100 bytes long; a custom mercenary profile needs at least 578 bytes. "
                                   "Nothing was written.");
    expectRefused(varnhold({"imp-apply", f("two.ini"), f("IMP.dat")}), "--section");
    expectRefused(varnhold({"imp-apply", f("merc.ini"), f("IMP.dat"), "--section", "Nobody"}), "[Nobody]");

    for (std::size_t i = 0; i < games.size(); ++i)
        EXPECT_EQ(readFile(f(games[i].c_str())), before[i]) << games[i];
    platform::NativeFileSystem files;
    for (const char* made : {"vrn.exe.bak", "Itemdesc.edt.bak", "IMP.dat.bak", "short.dat.bak", "x.brk", "x.vlc"})
        EXPECT_FALSE(files.isFile(f(made))) << made;
}

TEST_F(Cli, EachRefusalNamesItsFileOnceAndItsReasonInWholeSentences)
{
    // A file named "a" is named, though its name is inside every message.
    writeFile(f("a"), std::string(5000, 'x'));
    writeFile(f("empty"), "");
    writeFile(f("huge.brk"), std::string(platform::kMaxTextFileLength + 1, '0'));
    writeFile(f("huge.vlc"), "[head]\r\nmode=velloc-a\r\nversion=2.0\r\n" +
                                 std::string(platform::kMaxTextFileLength, '\n'));
    std::string all = "[head]\r\nmode=brackel\r\nversion=2.0\r\naddons=0\r\n\r\n[main]\r\n";
    for (int i = 10; i < 75; ++i)
        all += std::to_string(i - 10).insert(0, i < 20 ? "0" : "") + "=11111111\r\n";
    writeFile(f("all.brk"), all);
    const std::string noBuild = " bytes long, the length of no known build of the game executable";
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"brk-info", "a"},
         "varnhold: a: The file is 5000" + noBuild + ", and it has no line \"mode=brackel\" of a Brackel file.\n"},
        {{"brk-apply", f("vrn.exe"), f("empty")},
         "varnhold: " + f("empty") + ": The file is 0" + noBuild + ". Nothing was written.\n"},
        {{"brk-info", f("huge.brk")},
         "varnhold: " + f("huge.brk") + ": The file is 4194305" + noBuild +
             ", and no text file of ours is larger than 4 MiB.\n"},
        {{"items-apply", f("huge.vlc"), f("Itemdesc.edt")},
         "varnhold: " + f("huge.vlc") +
             ": The file is 4194340 bytes long; no text file of ours is larger than 4 MiB. Nothing was written.\n"},
        // The window's advice to save again is the window's; lines become sentences.
        {{"brk-apply", f("all.brk"), f("vrn.exe")},
         "varnhold: " + f("vrn.exe") + ": Too many attachments are allowed: 520 entries are needed, but the table of "
                                       "the game holds only 182. Allow 338 fewer. Nothing was written.\n"},
        {{"brk-export", f("vrn.exe"), f("IMP.dat")},
         "varnhold: " + f("IMP.dat") + ": This file is not a text file (it holds bytes of value zero); it is never "
                                       "replaced by a text file. Nothing was written.\n"},
        {{"names-def", f("Itemdesc.edt"), f("Itemdesc.edt")},
         "varnhold: " + f("Itemdesc.edt") + ": The output is the input file itself. Nothing was written.\n"},
        {{"brk-export", f("vrn.exe"), f("missing/x.brk")}, "varnhold: "},
    };
    const std::string exe = readFile(f("vrn.exe"));
    for (const auto& [words, line] : rows) {
        const Outcome run = varnhold(words, dir.path());
        EXPECT_EQ(run.status, 1) << words[0];
        EXPECT_EQ(run.err.substr(0, line.size()), line);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(readFile(f("vrn.exe")), exe);
    platform::NativeFileSystem files;
    EXPECT_FALSE(files.isFile(f("vrn.exe.bak")));
}

TEST_F(Cli, AFailedStandardOutputIsReportedByEverySubcommand)
{
    // A full disk behind standard output; Linux has one to hand.
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"brk-export", f("vrn.exe"), "-"}, {"brk-info", f("vrn.exe")},
             {"items-export", "--braydesc", f("Braydesc.edt"), "-"}, {"imp-dump", f("IMP.dat")},
             {"imp-dump", f("IMP.dat"), "-"}, {"--help"}, {"--version"}, {"brk-apply", "--help"}}) {
        QProcess process;
        process.setProgram(QString::fromUtf8(VARNHOLD_CLI));
        for (const std::string& w : words)
            process.setArguments(process.arguments() << QString::fromStdString(w));
        process.setStandardOutputFile("/dev/full");
        process.start();
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 1) << words[0];
        EXPECT_EQ(process.readAllStandardError().toStdString(), "varnhold: Could not write to standard output.\n")
            << words[0];
    }
}

// Both item files have one length: names.def is made only from a file the
// name or --itemdesc says is an Itemdesc.edt, and never from a Braydesc.edt,
// whose texts read in the wrong layout would replace good weapon names.
TEST_F(Cli, NamesDefIsMadeOnlyFromAnItemdescFile)
{
    const std::string good = readFile(f("names.def"));
    writeFile(f("ITEMDESC.EDT.copy"), readFile(f("Itemdesc.edt")));
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"names-def", f("Braydesc.edt")},
             {"names-def", "--braydesc", f("Itemdesc.edt")},
             {"names-def", f("ITEMDESC.EDT.copy")}}) {
        const Outcome run = varnhold(words, dir.path());
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("Itemdesc.edt"), std::string::npos) << run.err;
        EXPECT_EQ(readFile(f("names.def")), good);
    }
    std::filesystem::remove(f("names.def"));
    writeFile(f("ITEMDESC.EDT"), readFile(f("Itemdesc.edt")));
    ASSERT_EQ(varnhold({"names-def", f("ITEMDESC.EDT")}, dir.path()).status, 0); // any letter case
    EXPECT_EQ(readFile(f("names.def")), good);
    ASSERT_EQ(varnhold({"names-def", "--itemdesc", f("ITEMDESC.EDT.copy"), f("copy.def")}, dir.path()).status, 0);
    EXPECT_EQ(readFile(f("copy.def")), good);
}

TEST(CliUsage, HelpVersionAndWrongCommandLines)
{
    Outcome help = varnhold({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"brk-export", "brk-apply", "brk-info", "items-export", "items-apply", "names-def",
                                "imp-dump", "imp-apply"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
        Outcome own = varnhold({command, "--help"});
        EXPECT_EQ(own.status, 0);
        EXPECT_EQ(own.out.rfind(std::string("Usage: varnhold ") + command + " ", 0), 0u) << own.out;
    }
    EXPECT_EQ(varnhold({"--version"}).out.rfind("varnhold " VARNHOLD_VERSION "\n", 0), 0u);
    for (const auto& wrong : std::vector<std::vector<std::string>>{
             {}, {"bogus"}, {"brk-info"}, {"brk-info", "a", "b"}, {"brk-export", "--force", "a", "b"},
             {"items-export", "a.edt", "b.vlc"}, {"imp-dump", "IMP.dat", "--section"},
             {"items-export", "--po", "--itemdesc", "--codepage=1252", "--codepage", "1251", "a.edt", "-"},
             {"imp-dump", "--section=A", "--section", "A", "IMP.dat"}, {"imp-dump", "--section=", "IMP.dat"}}) {
        Outcome run = varnhold(wrong);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos);
        EXPECT_TRUE(run.out.empty());
    }
}

// Every refusal is one line, whatever the file's name holds: a line break in
// it is shown as \x0A.
TEST_F(Cli, ARefusalIsOneLineEvenForANameWithALineBreak)
{
    for (const char* command : {"restore", "brk-info", "imp-dump"}) {
        SCOPED_TRACE(command);
        const Outcome run = varnhold({command, f("new\nline")});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find("new\\x0Aline"), std::string::npos) << run.err;
    }
}

TEST_F(Cli, AnOptionTakesItsValueInEitherSpellingAndDoubleDashEndsTheOptions)
{
    // "--section NAME" and "--section=NAME" name the same section.
    const Outcome spaced = varnhold({"imp-dump", f("IMP.dat"), "--section", "Merc"});
    const Outcome joined = varnhold({"imp-dump", "--section=Merc", f("IMP.dat")});
    ASSERT_EQ(joined.status, 0) << joined.err;
    EXPECT_EQ(joined.out.rfind("[Merc]\r\nHealth=82\r\n", 0), 0u) << joined.out;
    EXPECT_EQ(joined.out, spaced.out);
    std::string edited = joined.out;
    edited.replace(edited.find("Health=82"), 9, "Health=99");
    writeFile(f("two.ini"), "[Other]\r\nHealth=50\r\n" + edited);
    const Outcome applied = varnhold({"imp-apply", f("two.ini"), f("IMP.dat"), "--section=Merc"});
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(readFile(f("IMP.dat"))[kestrin::record::kAttributeOffsets[int(kestrin::Attribute::Health)]], 99);

    // After "--" a word that starts with a dash is a file.
    ASSERT_EQ(varnhold({"brk-export", f("vrn.exe"), f("rules.brk")}).status, 0);
    writeFile(f("-rules.brk"), readFile(f("rules.brk")));
    const Outcome info = varnhold({"brk-info", "--", "-rules.brk"}, dir.path());
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out, "-rules.brk: Brackel file, 6 of 182 table entries free\n");
    EXPECT_EQ(varnhold({"brk-info", "-rules.brk"}, dir.path()).status, 2);

    // A flag takes no value in either spelling.
    const Outcome flag = varnhold({"items-export", "--itemdesc=yes", f("Itemdesc.edt"), f("x.vlc")});
    EXPECT_EQ(flag.status, 2);
    EXPECT_EQ(flag.err.rfind("varnhold: items-export: Option --itemdesc takes no value.\n", 0), 0u) << flag.err;
}

} // namespace

namespace {

/// The console program run with standard output added to the end of a file,
/// as a shell's ">> FILE" does.
Outcome varnholdAppendingTo(const std::vector<std::string>& words, const std::string& file)
{
    QProcess process;
    process.setProgram(QString::fromUtf8(VARNHOLD_CLI));
    for (const std::string& w : words)
        process.setArguments(process.arguments() << QString::fromStdString(w));
    process.setStandardOutputFile(QString::fromStdString(file), QIODevice::Append);
    process.start();
    Outcome run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitCode();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

TEST_F(Cli, StandardOutputIntoTheInputOrAGameFileWritesNothing)
{
    ASSERT_EQ(varnhold({"brk-export", f("vrn.exe"), f("rules.brk")}).status, 0);
    writeFile(f("other.dat"), readFile(f("IMP.dat")));
    writeFile(f("huge.txt"), std::string(platform::kMaxTextFileLength + 1, 'x'));
    const std::string self = "Standard output is the input file itself.";
    const std::string never = "; no text is ever written into it.";
    struct Row {
        std::vector<std::string> words;
        const char* output;
        std::string reason;
    };
    const Row rows[] = {
        {{"brk-export", f("vrn.exe"), "-"}, "vrn.exe", self},
        {{"imp-dump", f("IMP.dat")}, "IMP.dat", self},
        {{"brk-info", f("rules.brk")}, "rules.brk", self},
        {{"brk-export", f("vrn.exe"), "-"}, "Itemdesc.edt", "Standard output is an item text file of the game" + never},
        {{"items-export", "--braydesc", f("Braydesc.edt"), "-"}, "vrn.exe",
         "Standard output is the game executable [US1.03]" + never},
        {{"imp-dump", f("IMP.dat")}, "other.dat",
         "Standard output is not a text file (it holds bytes of value zero)" + never},
        {{"brk-export", f("vrn.exe"), "-"}, "huge.txt",
         "Standard output is a file of 4194305 bytes, and no text file of ours is larger than 4 MiB" + never},
        {{"--help"}, "vrn.exe", "Standard output is the game executable [US1.03]" + never},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.words[0] + " >> " + row.output);
        const std::string before = readFile(f(row.output));
        const Outcome run = varnholdAppendingTo(row.words, f(row.output));
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "varnhold: " + row.reason + " Nothing was written.\n");
        EXPECT_EQ(readFile(f(row.output)), before);
    }
    platform::NativeFileSystem files;
    EXPECT_FALSE(files.isFile(f("vrn.exe.bak")));

    // A text file of ours takes the text at its end.
    writeFile(f("notes.ini"), "; notes\r\n");
    EXPECT_EQ(varnholdAppendingTo({"imp-dump", f("IMP.dat")}, f("notes.ini")).status, 0);
    EXPECT_EQ(readFile(f("notes.ini")), "; notes\r\n" + varnhold({"imp-dump", f("IMP.dat")}).out);
}

TEST_F(Cli, AnOutputThatIsAnotherNameOfTheInputWritesNothing)
{
    std::error_code failed;
    std::filesystem::create_hard_link(f("IMP.dat"), f("link.ini"), failed);
    if (failed)
        GTEST_SKIP() << "no hard links here: " << failed.message();
    const std::string before = readFile(f("IMP.dat"));
    for (const std::string& output : {f("link.ini"), dir.path() + "/./IMP.dat"}) {
        const Outcome run = varnhold({"imp-dump", f("IMP.dat"), output});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "varnhold: " + output + ": The output is the input file itself. Nothing was written.\n");
    }
    EXPECT_EQ(readFile(f("IMP.dat")), before);
}

// A shell gives the console program arguments and a working folder as
// bytes; QProcess would pass them through UTF-8 text.
Outcome varnholdInShell(const std::string& script, const std::string& folder)
{
    QProcess process;
    process.setProgram("/bin/sh");
    process.setArguments({"-c", QString::fromStdString(script), QString::fromUtf8(VARNHOLD_CLI)});
    process.setWorkingDirectory(QString::fromStdString(folder));
    process.start();
    Outcome run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

TEST_F(Cli, FileNamesThatAreNotUtf8AreTakenAsTheSystemsBytes)
{
    if (platform::kPathSeparator != '/')
        GTEST_SKIP() << "file names here are UTF-16 text, not bytes";
    // 0xE9 (\351) is no UTF-8; turned into text it would become U+FFFD, the
    // bytes EF BF BD, and name another file.
    writeFile(f("g\xE9.exe"), readFile(f("vrn.exe")));
    std::filesystem::create_directory(f("d\xE9"));
    const Outcome run = varnholdInShell(
        "e=$(printf '\\351') && \"$0\" brk-export g$e.exe out$e.brk && sed -i 's/^08=.*/08=11111111/' out$e.brk && "
        "\"$0\" brk-apply out$e.brk g$e.exe && cd d$e && \"$0\" names-def ../Itemdesc.edt && "
        "\"$0\" brk-info missing$e.exe",
        dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("varnhold: missing\xE9.exe: ", 0), 0u) << run.err;
    EXPECT_NE(readFile(f("out\xE9.brk")).find("08=11111111"), std::string::npos);
    EXPECT_EQ(readFile(f("g\xE9.exe.bak")), readFile(f("vrn.exe")));
    EXPECT_NE(readFile(f("g\xE9.exe")), readFile(f("vrn.exe")));
    EXPECT_EQ(readFile(platform::joinPath(f("d\xE9"), "names.def")), readFile(f("names.def")));
    EXPECT_FALSE(std::filesystem::exists(f("out\xEF\xBF\xBD.brk")));
}

} // namespace
