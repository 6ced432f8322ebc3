// The custom mercenary through the console program: dump and apply of
// IMP.dat and the sections of a presets file.

// standard
#include <algorithm>
#include <filesystem>
#include <thread>
#include <utility>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "cli/command.h"
#include "kestrin/core/profilerecord.h"
#include "platform/journal.h"
#include "tests/cli/clirun.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/textutil.h"

namespace {

using clitest::Cli;
using clitest::Outcome;
using clitest::varnhold;
using testsupport::readFile;
using testsupport::replaced;
using testsupport::writeFile;
namespace record = kestrin::record;

const int kHealth = record::kAttributeOffsets[int(kestrin::Attribute::Health)];

using Bytes = std::vector<std::pair<int, char>>; // offset, byte

/// A name or callsign in its cells' low bytes, zeros after it.
Bytes cells(int offset, int count, const std::string& text)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i)
        bytes.emplace_back(offset + 2 * i, i < int(text.size()) ? text[i] : '\0');
    return bytes;
}

bool printable(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == '\n' || (c >= 0x20 && c < 0x7F); });
}

TEST_F(Cli, EveryValueTheDumpWritesAppliesBackUnchanged)
{
    const std::string pristine = readFile(f("IMP.dat"));
    struct Row {
        const char* what;
        Bytes bytes;
        std::string line; // the dump's line for the value
    };
    const Row rows[] = {
        {"attitude without a line", {{record::kAttitude, 9}}, "Attitude=9"},
        // Full cells, with characters the INI reader would trim at the ends.
        {"name of 20 cells", cells(record::kName, 20, "\fBCDEFGHIJKLMNOPQRS\v"), "Name=\"\fBCDEFGHIJKLMNOPQRS\v\""},
        {"callsign of 8 cells", cells(record::kCallsign, 8, "\tRaven\v "), "Callsign=\"\tRaven\v \""},
        {"no name", cells(record::kName, 20, ""), "[Custom]\r\n"},
        {"name of 20 cells, plain", cells(record::kName, 20, "Maximilian Rostovsky"), "\nName=Maximilian Rostovsky\r"},
        {"callsign of 8 cells, plain", cells(record::kCallsign, 8, "Nightjar"), "\nCallsign=Nightjar\r"},
        {"the first voice", {{record::kVoice, 51}}, "\nVoice=51\r"},
        {"the last voice", {{record::kVoice, 56}}, "\nVoice=56\r"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::string patched = pristine;
        for (const auto& [offset, byte] : row.bytes)
            patched[offset] = byte;
        writeFile(f("IMP.dat"), patched);
        writeFile(f("merc.ini"), ""); // an empty presets file takes the section alone
        const Outcome dump = varnhold({"imp-dump", f("IMP.dat"), f("merc.ini")});
        ASSERT_EQ(dump.status, 0) << dump.err;
        EXPECT_NE(readFile(f("merc.ini")).find(row.line), std::string::npos) << readFile(f("merc.ini"));
        const Outcome apply = varnhold({"imp-apply", f("merc.ini"), f("IMP.dat")});
        EXPECT_EQ(apply.status, 0) << apply.err;
        EXPECT_EQ(readFile(f("IMP.dat")), patched);
        EXPECT_EQ(apply.err.find("click"), std::string::npos) << apply.err; // no window's advice
    }
}

TEST_F(Cli, ApplyTakesTheValuesAtTheEndsOfEachRangeAndRefusesOneBeyond)
{
    const std::string pristine = readFile(f("IMP.dat"));
    const std::string dump = varnhold({"imp-dump", f("IMP.dat")}).out;
    struct Row {
        std::string from, to;
        Bytes bytes;         // written, when applied
        std::string refusal; // or the reason it is refused
    };
    const std::string longest(20, 'N');
    const Row rows[] = {
        {"Voice=54", "Voice=51", {{record::kVoice, 51}}, ""},
        {"Voice=54", "Voice=56", {{record::kVoice, 56}}, ""},
        {"Voice=54", "Voice=50", {}, "[Mara Voss]: Voice = 50 is not one of 51 to 56."},
        {"Voice=54", "Voice=57", {}, "[Mara Voss]: Voice = 57 is not one of 51 to 56."},
        {"Name=Mara Voss", "Name=" + longest, cells(record::kName, 20, longest), ""},
        {"Name=Mara Voss", "Name=" + longest + "N", {}, "[Mara Voss]: Name is 21 characters long; at most 20 fit."},
        {"Callsign=Raven", "Callsign=Sparrows", cells(record::kCallsign, 8, "Sparrows"), ""},
        {"Callsign=Raven", "Callsign=Sparrows!", {}, "[Mara Voss]: Callsign is 9 characters long; at most 8 fit."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.to);
        writeFile(f("IMP.dat"), pristine);
        std::string text = dump;
        const std::size_t line = text.find("\n" + row.from + "\r");
        ASSERT_NE(line, std::string::npos) << text;
        writeFile(f("merc.ini"), text.replace(line + 1, row.from.size(), row.to));
        const Outcome run = varnhold({"imp-apply", f("merc.ini"), f("IMP.dat")});
        std::string expected = pristine;
        if (row.refusal.empty()) {
            EXPECT_EQ(run.status, 0) << run.err;
            for (const auto& [offset, byte] : row.bytes)
                expected[offset] = byte;
        } else {
            expectRefused(run, f("merc.ini") + ": " + row.refusal);
        }
        EXPECT_EQ(readFile(f("IMP.dat")), expected);
    }
}

TEST_F(Cli, ApplyFindsEverySectionTheWindowFinds)
{
    const std::string pristine = readFile(f("IMP.dat"));
    std::string keys = varnhold({"imp-dump", f("IMP.dat")}).out;
    keys.erase(0, keys.find("\r\n") + 2); // the header
    keys.replace(keys.find("Health=82"), 9, "Health=99");
    const std::string bom = "\xEF\xBB\xBF";
    const std::string list = "[Presets]\r\nAmount=1\r\n1=Sniper\r\n";
    const std::pair<std::string, const char*> rows[] = {
        {"[ Sniper ]", "Sniper"}, {"[Sniper] ; long range", "Sniper"}, {"[sniper]", "SNIPER"},
        {bom + "[Sniper]", "Sniper"}, {bom + "[Sniper]\n", ""}, {bom + list + "\t[ Sniper ] ; x", ""},
    };
    for (const auto& [header, section] : rows) {
        SCOPED_TRACE(header);
        writeFile(f("IMP.dat"), pristine);
        writeFile(f("Presets.ini"), header + "\r\n" + keys);
        std::vector<std::string> args{"imp-apply", f("Presets.ini"), f("IMP.dat")};
        if (*section)
            args.insert(args.end(), {"--section", section});
        const Outcome run = varnhold(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readFile(f("IMP.dat"))[kHealth], 99);
    }
    // A header right after the byte order mark is a section like any other:
    // of two sections, neither is taken without --section.
    writeFile(f("IMP.dat"), pristine);
    writeFile(f("Presets.ini"), bom + "[Sniper]\r\n" + keys + "[Other]\r\n" + keys);
    expectRefused(varnhold({"imp-apply", f("Presets.ini"), f("IMP.dat")}),
                  "holds 2 preset sections; name the one to apply with --section.");
    const Outcome diff = varnhold({"diff", f("Presets.ini"), f("IMP.dat")});
    EXPECT_EQ(diff.status, 2); // trouble
    EXPECT_NE(diff.err.find("holds 2 preset sections; name the one to compare with --section."), std::string::npos)
        << diff.err;
    // A file with no preset, and a file of ours that is no presets file.
    writeFile(f("none.ini"), "; nothing yet\r\n");
    expectRefused(varnhold({"imp-apply", f("none.ini"), f("IMP.dat")}), f("none.ini") + ": The file holds no preset section. Nothing was written.");
    ASSERT_EQ(varnhold({"brk-export", f("vrn.exe"), f("rules.brk")}).status, 0);
    expectRefused(varnhold({"imp-apply", f("rules.brk"), f("IMP.dat")}),
                  "[head] holds no key Health, so this is no presets file.");
    EXPECT_EQ(readFile(f("IMP.dat")), pristine);
}

TEST_F(Cli, ApplyRefusalsNameTheKeyAndShowOnlyPrintableBytes)
{
    const std::string pristine = readFile(f("IMP.dat"));
    const std::string dump = varnhold({"imp-dump", f("IMP.dat")}).out;
    const std::tuple<std::string, std::string, std::string> rows[] = {
        {dump + std::string(4u << 20, ';'), "", "no text file of ours is larger than 4 MiB"},
        {replaced(dump, "Trait1=11\r\n", ""), "", "[Mara Voss]: Trait1 is missing."},
        {replaced(dump, "Agility=85", "Agility=\x1B[2J\xFF"), "",
         "[Mara Voss]: Agility = '\\x1B[2J\\xFF' is not a valid integer value."},
        {replaced(dump, "SlotFirstHand=20", "SlotFirstHand=99"), "", "SlotFirstHand = 99: Unknown weapon."},
        {replaced(dump, "PantsColor=JEANPANTS", "PantsColor=\x7F"), "", "PantsColor = \\x7F is no palette name"},
        {"[\x01\xFE]\r\nHealth=1\r\n", "", "[\\x01\\xFE]: Agility is missing."},
        {dump, "No\abody", "holds no preset section [No\\x07body]."},
    };
    for (const auto& [text, section, reason] : rows) {
        SCOPED_TRACE(reason);
        writeFile(f("Presets.ini"), text);
        std::vector<std::string> args{"imp-apply", f("Presets.ini"), f("IMP.dat")};
        if (!section.empty())
            args.insert(args.end(), {"--section", section});
        const Outcome run = varnhold(args);
        expectRefused(run, reason);
        EXPECT_TRUE(printable(run.err)) << run.err;
        EXPECT_EQ(readFile(f("IMP.dat")), pristine);
    }
}

} // namespace

namespace {

/// The text with its CR LF line ends made LF.
std::string lf(std::string text)
{
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

TEST_F(Cli, ADumpIntoAPresetsFileReplacesOrAddsItsSectionAndListsIt)
{
    const std::string pristine = readFile(f("IMP.dat"));
    const std::string dump = varnhold({"imp-dump", f("IMP.dat")}).out; // "[Mara Voss]\r\n..."
    const std::string bom = "\xEF\xBB\xBF";
    struct Row {
        const char* what;
        std::string before;
        std::string after;
    };
    const Row rows[] = {
        {"LF: the list needs the name",
         "[Presets]\nAmount=2\n1=Sniper\n2=Medic\n\n[Sniper]\nHealth=75\n\n[Medic]\nHealth=80\n",
         "[Presets]\nAmount=3\n1=Sniper\n2=Medic\n3=Mara Voss\n\n[Sniper]\nHealth=75\n\n[Medic]\nHealth=80\n\n" +
             lf(dump)},
        {"CR LF: listed, and the section of that name replaced",
         "[Presets]\r\nAmount=2\r\n1=mara voss\r\n2=Sniper\r\n\r\n[ MARA VOSS ]\r\nHealth=1\r\n\r\n[Sniper]\r\n"
         "Health=75\r\n",
         "[Presets]\r\nAmount=2\r\n1=mara voss\r\n2=Sniper\r\n\r\n" + dump + "\r\n[Sniper]\r\nHealth=75\r\n"},
        {"listed, its section missing", "[Presets]\nAmount=1\n1=Mara Voss\n",
         "[Presets]\nAmount=1\n1=Mara Voss\n\n" + lf(dump)},
        {"byte order mark, no list", bom + "[Sniper]\r\nHealth=75", bom + "[Sniper]\r\nHealth=75\r\n\r\n" + dump},
        {"empty", "", dump},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        writeFile(f("IMP.dat"), pristine);
        writeFile(f("Presets.ini"), row.before);
        const Outcome run = varnhold({"imp-dump", f("IMP.dat"), f("Presets.ini")});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readFile(f("Presets.ini")), row.after);
        // The section written is the one applied: a changed profile comes back.
        std::string changed = pristine;
        changed[kHealth] = 99;
        writeFile(f("IMP.dat"), changed);
        const Outcome apply = varnhold({"imp-apply", f("Presets.ini"), f("IMP.dat"), "--section", "Mara Voss"});
        EXPECT_EQ(apply.status, 0) << apply.err;
        EXPECT_EQ(readFile(f("IMP.dat")), pristine);
    }
}

TEST_F(Cli, TwoDumpsIntoOnePresetsFileAtOnceKeepBothSections)
{
    // Each merge reads, changes and replaces the file; the second waits for
    // the first, so neither section is lost, whichever starts first, whether
    // the file exists or one of them makes it.
    writeFile(f("IMP2.dat"), readFile(f("IMP.dat")));
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        std::filesystem::remove(f("P.ini"));
        if (round % 2 == 0)
            ASSERT_EQ(varnhold({"imp-dump", f("IMP.dat"), f("P.ini"), "--section", "Zero"}).status, 0);
        Outcome one;
        std::thread first([&] { one = varnhold({"imp-dump", f("IMP.dat"), f("P.ini"), "--section", "One"}); });
        const Outcome two = varnhold({"imp-dump", f("IMP2.dat"), f("P.ini"), "--section", "Two"});
        first.join();
        EXPECT_EQ(one.status, 0) << one.err;
        EXPECT_EQ(two.status, 0) << two.err;
        const std::string text = readFile(f("P.ini"));
        EXPECT_NE(text.find("[One]\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("[Two]\r\n"), std::string::npos) << text;
        EXPECT_EQ(text.find("[Zero]\r\n") != std::string::npos, round % 2 == 0) << text;
    }
}

TEST_F(Cli, ADumpIntoAFileThatIsNoPresetsFileChangesNothing)
{
    ASSERT_EQ(varnhold({"brk-export", f("vrn.exe"), f("rules.brk")}).status, 0);
    const std::string list = "[Presets]\r\nAmount=";
    const std::pair<std::string, std::string> rows[] = {
        {readFile(f("rules.brk")), "[head] holds no key Health, so this is no presets file. Nothing was written."},
        {"Some notes\r\n", "The file holds no section, so it is no presets file."},
        {list + "x\r\n", "[Presets]: Amount = 'x' is not a valid integer value."},
        {list + "1000\r\n",
         "[Presets]: Amount = 1000, and the list takes 0 to 1000 presets, so it cannot take another."},
        {"[Presets]\r\n1=Sniper\r\n", "[Presets]: Amount is missing"},
    };
    for (const auto& [text, reason] : rows) {
        SCOPED_TRACE(reason);
        writeFile(f("Presets.ini"), text);
        expectRefused(varnhold({"imp-dump", f("IMP.dat"), f("Presets.ini")}), f("Presets.ini") + ": " + reason);
        EXPECT_EQ(readFile(f("Presets.ini")), text);
    }
    const std::string exe = readFile(f("vrn.exe"));
    expectRefused(varnhold({"imp-dump", f("IMP.dat"), f("vrn.exe")}), "is never replaced");
    EXPECT_EQ(readFile(f("vrn.exe")), exe);
}

} // namespace

namespace {

// An imp-apply killed after any of its written bytes, or once all are
// written with its journal still there, leaves IMP.dat torn. The next
// imp-apply rolls it back under the same hold in which it reads the record,
// so a field the preset leaves out (here the name and callsign) keeps the
// value it had before the killed apply, never a torn mix of the two.
TEST_F(Cli, AnApplyAfterAKilledApplyStartsFromTheRolledBackRecord)
{
    const std::string imp = f("IMP.dat"), presets = f("Presets.ini"), journal = platform::journalPath(imp);
    const std::string pristine = readFile(imp);
    std::string dump = varnhold({"imp-dump", imp}).out;
    dump = replaced(dump, "[Mara Voss]\r\n", "");
    const std::string killer = replaced(replaced(replaced(dump, "Name=Mara Voss", "Name=Xavier Quintanilla"),
                                                 "Callsign=Raven", "Callsign=Nightjar"),
                                        "Health=82", "Health=99");
    const std::string keeper = replaced(replaced(replaced(dump, "Name=Mara Voss\r\n", ""), "Callsign=Raven\r\n", ""),
                                        "Health=82", "Health=60");
    writeFile(presets, "[Killer]\r\n" + killer + "\r\n[Keeper]\r\n" + keeper);
    const std::vector<std::string> killed{presets, imp, "--section", "Killer"};
    const std::vector<std::string> next{"imp-apply", presets, imp, "--section", "Keeper"};

    // What the second apply makes of the untouched file.
    ASSERT_EQ(varnhold(next).status, 0);
    const std::string clean = readFile(imp);
    ASSERT_EQ(clean.substr(0, 100), pristine.substr(0, 100)); // name and callsign kept

    for (std::uint64_t written = 1;; written *= 2) {
        SCOPED_TRACE(written);
        writeFile(imp, pristine);
        testsupport::FaultyFileSystem files;
        files.killAfter[imp] = written;
        bool whole = false; // every byte went through: killed again, before the journal goes
        try {
            (void)cli::impApply(killed, files);
            whole = true;
        } catch (const testsupport::Killed&) {
        }
        if (whole) {
            writeFile(imp, pristine);
            files.clearFaults();
            files.killOnRemove.insert(journal);
            EXPECT_THROW((void)cli::impApply(killed, files), testsupport::Killed);
        }
        ASSERT_TRUE(std::filesystem::exists(journal));
        ASSERT_NE(readFile(imp), pristine);

        const Outcome run = varnhold(next);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "varnhold: An unfinished patch of " + imp + " was rolled back.\n");
        EXPECT_TRUE(readFile(imp) == clean);
        EXPECT_FALSE(std::filesystem::exists(journal));
        if (whole)
            break;
    }
}

} // namespace

namespace clitest {
namespace {

// What may be taken as a profile: at least the record's 578 bytes, no game
// file's length, and neither a text of ours nor a Windows program. Every
// command that reads or writes IMP.dat keeps that rule, at both ends of the
// length rule, and imp-apply never writes into its own presets.
TEST_F(Cli, OnlyAProfileIsTakenAsOne)
{
    ASSERT_EQ(varnhold({"imp-dump", f("IMP.dat"), f("P.ini"), "--section", "Sniper"}).status, 0);
    const std::string presets = readFile(f("P.ini")) + "; " + std::string(120, '-') + "\r\n";
    writeFile(f("P.ini"), presets);
    ASSERT_GE(presets.size(), 578u); // as long as a profile
    // A program of no known build: the executable less its last byte, with
    // the "PE" header its "MZ" header points at.
    std::string program = readFile(f("vrn.exe"));
    program.pop_back();
    program.replace(0x3C, 4, std::string("\x80\0\0\0", 4));
    program.replace(0x80, 4, std::string("PE\0\0", 4));
    writeFile(f("a.exe"), program);
    program[0x300] ^= 1;
    writeFile(f("b.exe"), program);
    writeFile(f("a.exe.bak"), readFile(f("b.exe")));
    writeFile(f("P.ini.bak"), presets);
    const std::string text = f("P.ini") + ": It is a text file, not a custom mercenary profile.";
    const std::string windows = f("a.exe") + ": It is a Windows program, not a custom mercenary profile.";
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"imp-apply", f("P.ini"), f("P.ini"), "--section", "Sniper"}, "The output is the input file itself."},
        {{"imp-apply", "--dry-run", f("P.ini"), f("a.exe"), "--section", "Sniper"}, windows},
        {{"imp-dump", f("P.ini")}, text},
        {{"restore", f("P.ini")}, "The file is a text file, not a custom mercenary profile."},
        {{"restore", f("a.exe")}, "The file is a Windows program, not a custom mercenary profile."},
    };
    for (const auto& [words, says] : refused) {
        SCOPED_TRACE(words[0] + " " + words[1]);
        const Outcome run = varnhold(words);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
        EXPECT_EQ(readFile(f("P.ini")), presets);
    }
    EXPECT_FALSE(std::filesystem::exists(f("IMP.dat.bak")));
    const Outcome diff = varnhold({"diff", f("a.exe"), f("b.exe")});
    EXPECT_EQ(diff.status, 2) << diff.out; // trouble, never "the same"
    EXPECT_NE(diff.err.find(windows), std::string::npos) << diff.err;

    // The shortest profile is read, patched and restored; one byte less is none.
    const std::string record = readFile(f("IMP.dat")).substr(0, 578);
    for (const std::size_t length : {std::size_t(577), std::size_t(578)}) {
        SCOPED_TRACE(length);
        writeFile(f("short.dat"), record.substr(0, length));
        std::filesystem::remove(f("short.dat.bak"));
        const int expected = length == 578 ? 0 : 1;
        EXPECT_EQ(varnhold({"imp-apply", f("P.ini"), f("short.dat"), "--section", "Sniper"}).status, expected);
        EXPECT_EQ(varnhold({"restore", f("short.dat")}).status, expected);
        EXPECT_EQ(readFile(f("short.dat")), record.substr(0, length));
    }
}

} // namespace
} // namespace clitest
