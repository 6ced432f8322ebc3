// The console program's words as a user of GNU tools reads them: every
// refusal one line of one shape, and --help and --version as those tools
// give them.

// standard
#include <sstream>

// ours
#include "tests/cli/clirun.h"
#include "tests/support/fileholder.h"

namespace clitest {
namespace {

const std::vector<std::string> kCommands = {"brk-export", "brk-apply", "brk-info", "items-export", "items-apply",
                                            "names-def",  "imp-dump",  "imp-apply", "diff",        "restore"};

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Each refusal reads "varnhold: FILE: Reason." (or "varnhold: Reason." for
// none): the file named once, before its reason, even when empty; a capital
// to start and a full stop to end; and a patching command's refusal says
// that nothing was written.
TEST_F(Cli, EveryRefusalHasOneShape)
{
    writeFile(f("empty.edt"), "");
    writeFile(f("notes.txt"), std::string(700, 'n') + "\r\n"); // as long as a profile
    writeFile(f("none.ini"), "[Presets]\r\n");
    writeFile(f("bad.brk"), "[head]\r\nmode=brackel\r\nversion=2.0\r\naddons=0\r\n\r\n[main]\r\n99=abc\r\n");
    ASSERT_EQ(varnhold({"brk-export", f("vrn.exe"), f("rules.brk")}).status, 0);
    ASSERT_EQ(varnhold({"items-export", "--itemdesc", f("Itemdesc.edt"), f("texts.vlc")}).status, 0);
    ASSERT_EQ(varnhold({"imp-dump", f("IMP.dat"), f("merc.ini"), "--section", "Merc"}).status, 0);
    const std::string nothing = " Nothing was written.\n";
    const std::string missing = testsupport::missingFileReason(); // the system's words
    const struct {
        std::vector<std::string> words;
        std::string line;
    } rows[] = {
        {{"brk-info", ""}, "varnhold: '': " + testsupport::openFailureReason("") + ".\n"},
        {{"brk-info", f("none.exe")}, "varnhold: " + f("none.exe") + ": " + missing + ".\n"},
        {{"items-export", "--itemdesc", f("empty.edt"), f("x.vlc")},
         "varnhold: " + f("empty.edt") + ": The file is 0 bytes long; an item text file has exactly 280800 bytes.\n"},
        {{"imp-dump", f("none.dat")}, "varnhold: " + f("none.dat") + ": " + missing + ".\n"},
        {{"imp-dump", f("notes.txt")},
         "varnhold: " + f("notes.txt") + ": It is a text file, not a custom mercenary profile.\n"},
        {{"imp-dump", f("vrn.exe")},
         "varnhold: " + f("vrn.exe") + ": It is the game executable [US1.03], not a custom mercenary profile.\n"},
        {{"imp-apply", f("none.ini"), f("IMP.dat")},
         "varnhold: " + f("none.ini") + ": The file holds no preset section." + nothing},
        {{"imp-apply", f("none.dat"), f("IMP.dat")}, "varnhold: " + f("none.dat") + ": " + missing + "." + nothing},
        {{"brk-apply", f("none.brk"), f("vrn.exe")}, "varnhold: " + f("none.brk") + ": " + missing + "." + nothing},
        {{"items-apply", f("none.vlc"), f("Itemdesc.edt")},
         "varnhold: " + f("none.vlc") + ": " + missing + "." + nothing},
        {{"brk-apply", f("rules.brk"), f("none.exe")}, "varnhold: " + f("none.exe") + ": " + missing + "." + nothing},
        {{"diff", f("vrn.exe"), f("none.exe")}, "varnhold: " + f("none.exe") + ": " + missing + ".\n"},
        {{"restore", f("none.exe")}, "varnhold: " + f("none.exe") + ": " + missing + "." + nothing},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.words[0] + " " + row.words[1]);
        const Outcome run = varnhold(row.words);
        EXPECT_EQ(run.status, row.words[0] == "diff" ? 2 : 1);
        EXPECT_EQ(run.err, row.line);
    }

    // A reason that starts with a file's name keeps the name as it is.
    writeFile(f("vrn.exe.bak"), "MZ");
    EXPECT_EQ(varnhold({"restore", "vrn.exe"}, dir.path()).err,
              "varnhold: vrn.exe: vrn.exe.bak is not a backup of this file (it is 2 bytes long, not 2812928 as the "
              "file)." + nothing);

    // A file another program holds: each patch, and its dry run, says so
    // once, and that nothing was written.
    writeFile(f("vrn.exe.bak"), readFile(f("vrn.exe")));
    for (const auto& words : std::vector<std::vector<std::string>>{{"brk-apply", f("rules.brk"), f("vrn.exe")},
                                                                    {"items-apply", f("texts.vlc"), f("Itemdesc.edt")},
                                                                    {"imp-apply", f("merc.ini"), f("IMP.dat")},
                                                                    {"restore", f("vrn.exe")}}) {
        const std::string game = words.back();
        testsupport::FileHolder holder(game);
        ASSERT_TRUE(holder.held());
        for (bool dry : {false, true}) {
            SCOPED_TRACE(words[0] + (dry ? " --dry-run" : ""));
            std::vector<std::string> run = words;
            if (dry)
                run.push_back("--dry-run");
            const Outcome refused = varnhold(run);
            EXPECT_EQ(refused.status, 1);
            EXPECT_EQ(refused.err, "varnhold: " + game + ": The file is in use by another program." + nothing);
        }
    }
}

// A wrong command line reads as a refusal does, then points to --help.
TEST(CliUsage, AWrongCommandLineReadsAsARefusalDoes)
{
    EXPECT_EQ(varnhold({"bogus"}).err, "varnhold: Unknown command \"bogus\".\nTry 'varnhold --help'.\n");
    EXPECT_EQ(varnhold({"brk-info"}).err, "varnhold: brk-info: Missing file operand.\nTry 'varnhold brk-info --help'.\n");
    const Outcome empty = varnhold({"imp-dump", "IMP.dat", "--section="});
    EXPECT_EQ(empty.status, 2);
    EXPECT_EQ(empty.err, "varnhold: imp-dump: Option --section needs a value.\nTry 'varnhold imp-dump --help'.\n");
}

TEST(CliUsage, HelpAndVersionAsGnuToolsGiveThem)
{
    const std::vector<std::string> version = linesOf(varnhold({"--version"}).out);
    ASSERT_EQ(version.size(), 5u);
    EXPECT_EQ(version[0], "varnhold " VARNHOLD_VERSION);
    EXPECT_EQ(version[1].rfind("Copyright (c) 2", 0), 0u) << version[1];
    EXPECT_EQ(version[2].rfind("License MIT", 0), 0u) << version[2];
    EXPECT_EQ(version[4], "There is NO WARRANTY, to the extent permitted by law.");

    const Outcome program = varnhold({"--help"});
    EXPECT_NE(program.out.find("\n  -h, --help "), std::string::npos) << program.out;
    EXPECT_NE(program.out.find("\n      --version "), std::string::npos) << program.out;
    EXPECT_EQ(varnhold({"-h"}).out, program.out);
    std::vector<std::pair<std::string, std::string>> helps{{"varnhold", program.out}};
    for (const std::string& c : kCommands) {
        SCOPED_TRACE(c);
        const Outcome own = varnhold({c, "--help"});
        ASSERT_EQ(own.status, 0);
        EXPECT_EQ(varnhold({c, "-h"}).out, own.out);
        helps.emplace_back(c, own.out);
        // Every option of the usage is listed under "Options:", and -h too.
        const std::size_t options = own.out.find("\nOptions:\n");
        ASSERT_NE(options, std::string::npos) << own.out;
        const std::string usage = own.out.substr(0, own.out.find("\n\n"));
        const std::string listed = own.out.substr(options);
        EXPECT_NE(listed.find("\n  -h, --help "), std::string::npos) << listed;
        for (std::size_t at = usage.find("--"); at != std::string::npos; at = usage.find("--", at + 2)) {
            const std::string option = usage.substr(at, usage.find_first_of(" |])", at) - at);
            EXPECT_NE(listed.find("\n      " + option + " "), std::string::npos) << option << "\n" << listed;
        }
    }
    // --codepage is shown as going with --po, which it needs.
    EXPECT_NE(helps[4].second.find("[--po [--codepage NNNN]]"), std::string::npos) << helps[4].second;
    // No line over 79 columns, the usage lines included.
    for (const auto& [name, text] : helps)
        for (const std::string& line : linesOf(text))
            EXPECT_LT(line.size(), 80u) << name << ": " << line;
}

} // namespace
} // namespace clitest
