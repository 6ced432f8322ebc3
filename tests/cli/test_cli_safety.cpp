// Patches of game files from the console program when the game file or its
// backup is not as a patch expects: the game file held by another program,
// something other than a backup at the backup's name, the temporary file of
// a backup that was killed part-way.

// standard
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/gamefilepatch.h"
#include "platform/journal.h"
#include "tests/cli/clirun.h"
#include "tests/support/fileholder.h"

namespace {

namespace fs = std::filesystem;
using clitest::Outcome;
using clitest::varnhold;
using testsupport::readFile;
using testsupport::writeFile;

struct Patch {
    const char* command;
    const char* game;
    const char* input;
};

const Patch kPatches[] = {
    {"brk-apply", "vrn.exe", "rules.brk"},
    {"items-apply", "Itemdesc.edt", "texts.vlc"},
};

class CliSafety : public clitest::Cli {
protected:
    /// Inputs that change the game files: one more weapon with every
    /// attachment, one item renamed.
    void SetUp() override
    {
        ASSERT_EQ(varnhold({"brk-export", f("vrn.exe"), f("rules.brk")}).status, 0);
        std::string rules = readFile(f("rules.brk"));
        const std::size_t line = rules.find("\r\n08=");
        ASSERT_NE(line, std::string::npos);
        rules.replace(line + 5, 8, "11111111");
        writeFile(f("rules.brk"), rules);

        ASSERT_EQ(varnhold({"items-export", "--itemdesc", f("Itemdesc.edt"), f("texts.vlc")}).status, 0);
        std::string texts = readFile(f("texts.vlc"));
        const std::size_t name = texts.find("name=Glock 17\r\n");
        ASSERT_NE(name, std::string::npos);
        texts.replace(name, 13, "name=Glock 18");
        writeFile(f("texts.vlc"), texts);
    }

    Outcome apply(const Patch& patch) { return varnhold({patch.command, f(patch.input), f(patch.game)}); }
};

TEST_F(CliSafety, AGameFileAnotherProgramHoldsIsRefusedAsInUseAndNothingIsWritten)
{
    for (const Patch& patch : kPatches) {
        SCOPED_TRACE(patch.command);
        const std::string game = f(patch.game);
        const std::string original = readFile(game);
        {
            testsupport::FileHolder other(game);
            ASSERT_TRUE(other.held());
            expectRefused(apply(patch), game + ": The file is in use by another program");
        }
        EXPECT_EQ(readFile(game), original);
        EXPECT_FALSE(fs::exists(game + ".bak"));

        ASSERT_EQ(apply(patch).status, 0);
        EXPECT_NE(readFile(game), original);
        EXPECT_EQ(readFile(game + ".bak"), original);
    }
}

TEST_F(CliSafety, SomethingElseAtTheBackupsNameRefusesThePatchAndIsLeftAsItIs)
{
    testsupport::TempDir other;
    const std::string elsewhere = other.file("elsewhere");
    std::error_code linkError;
    fs::create_symlink(elsewhere, dir.file("probe"), linkError);
    // A link that the system says it made and that is not there (as under an
    // emulator) counts as not made.
    const bool links = !linkError && fs::exists(fs::symlink_status(dir.file("probe"), linkError));
    fs::remove(dir.file("probe"), linkError);

    struct Row {
        const char* name;
        bool link;
        std::function<void(const std::string& game, const std::string& backup)> put;
        const char* why;
    };
    const Row rows[] = {
        {"link elsewhere", true, [&](auto&, auto& b) { fs::create_symlink(elsewhere, b); }, "it is a symbolic link"},
        {"link to the file itself", true, [](auto& g, auto& b) { fs::create_symlink(g, b); },
         "it is a symbolic link"},
        {"link to a missing file", true, [&](auto&, auto& b) { fs::create_symlink(elsewhere + ".new", b); },
         "it is a symbolic link"},
        {"hard link to the file itself", false, [](auto& g, auto& b) { fs::create_hard_link(g, b); },
         "it is also a file of another name, a hard link"},
        {"empty file", false, [](auto&, auto& b) { writeFile(b, ""); }, "it is empty"},
        {"shorter file", false, [](auto&, auto& b) { writeFile(b, "MZ"); }, "it is 2 bytes long, not "},
        {"folder", false, [](auto&, auto& b) { fs::create_directory(b); }, "it is a folder"},
    };
    for (const Patch& patch : kPatches) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(patch.command) + ", " + row.name);
            if (row.link && !links)
                continue; // this system makes no symbolic links for us
            const std::string game = f(patch.game), backup = game + ".bak";
            writeFile(elsewhere, "another user's file");
            const std::string original = readFile(game);
            row.put(game, backup);
            const auto before = testsupport::folderEntries(dir.path());

            const Outcome run = apply(patch);
            expectRefused(run, game + ": " + backup + " is not a backup of this file (" + row.why);
            EXPECT_NE(run.err.find("; move it away and try again. Nothing was written.\n"), std::string::npos)
                << run.err;
            EXPECT_EQ(readFile(game), original);
            EXPECT_EQ(readFile(elsewhere), "another user's file");
            EXPECT_EQ(testsupport::folderEntries(other.path()), std::vector<std::string>{"elsewhere"}); // nothing made through a link
            EXPECT_EQ(testsupport::folderEntries(dir.path()), before);
            fs::remove_all(backup);
        }
    }
}

TEST_F(CliSafety, AKilledBackupsLeftoverGoesWithTheNextPatchAndAGoodBackupStaysAsItIs)
{
    for (const Patch& patch : kPatches) {
        SCOPED_TRACE(patch.command);
        const std::string game = f(patch.game), backup = game + ".bak";
        const std::string original = readFile(game);
        const std::string leftover = dir.file((std::string(".") + patch.game + ".bak.tmp-x8Kq2Z").c_str());
        writeFile(leftover, original.substr(0, original.size() / 2));
        const auto before = testsupport::folderEntries(dir.path());

        ASSERT_EQ(apply(patch).status, 0);
        EXPECT_EQ(readFile(backup), original);
        auto expected = before;
        expected.erase(std::find(expected.begin(), expected.end(), fs::path(leftover).filename().string()));
        expected.push_back(fs::path(backup).filename().string());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(testsupport::folderEntries(dir.path()), expected);

        // A backup the user put there, of the file's length, is believed and kept.
        const std::string own = std::string(original.size(), 'b');
        writeFile(backup, own);
        writeFile(game, original);
        ASSERT_EQ(apply(patch).status, 0);
        EXPECT_NE(readFile(game), original);
        EXPECT_EQ(readFile(backup), own);
    }
}

// A patch killed part-way leaves its journal and a torn game file: the next
// patch rolls it back before it begins, says so on one line, and only once.
TEST_F(CliSafety, AKilledPatchIsRolledBackByTheNextOneWhichSaysSoOnce)
{
    for (const Patch& patch : kPatches) {
        SCOPED_TRACE(patch.command);
        const std::string game = f(patch.game);
        const std::string original = readFile(game);
        ASSERT_EQ(apply(patch).status, 0);
        const std::string patched = readFile(game);
        writeFile(game, original);
        ASSERT_TRUE(clitest::leaveJournalOf(game, patched)); // the patch began
        // Killed half-way through its owned bytes: only the rollback brings them back.
        const platform::PatchSpan owned = clitest::ownedRun(game);
        const std::size_t half = static_cast<std::size_t>(owned.offset + owned.length / 2);
        ASSERT_NE(patched.substr(0, half), original.substr(0, half));
        writeFile(game, patched.substr(0, half) + original.substr(half));

        const Outcome first = apply(patch);
        EXPECT_EQ(first.status, 0);
        EXPECT_EQ(first.err, "varnhold: An unfinished patch of " + game + " was rolled back.\n");
        EXPECT_TRUE(readFile(game) == patched);
        EXPECT_FALSE(fs::exists(platform::journalPath(game)));
        const Outcome second = apply(patch);
        EXPECT_EQ(second.status, 0);
        EXPECT_EQ(second.err, "");
        EXPECT_TRUE(readFile(game) == patched);
    }
}

using Words = std::vector<std::string>;

/// A game file, the apply whose patch is left killed beside it, and the
/// readers of it. In the words "GAME" stands for the game file, "COPY" for
/// an untouched copy of it and "OUT" for a reader's output file.
struct Readers {
    const char* game;
    Words apply;
    std::vector<Words> readers;
};

const Readers kReaders[] = {
    {"vrn.exe",
     {"brk-apply", "rules.brk", "GAME"},
     {{"brk-export", "GAME", "-"}, {"brk-info", "GAME"}, {"diff", "GAME", "COPY"}}},
    {"Itemdesc.edt",
     {"items-apply", "texts.vlc", "GAME"},
     {{"items-export", "--itemdesc", "GAME", "-"},
      {"names-def", "GAME", "OUT"},
      {"diff", "--itemdesc", "GAME", "COPY"}}},
    {"IMP.dat", {"imp-apply", "merc.ini", "GAME"}, {{"imp-dump", "GAME"}, {"diff", "GAME", "COPY"}}},
};

// With the journal of a killed patch beside a torn game file, every reader
// shows the file as it was before that patch and says so on one line, and
// leaves the file and the journal as they are for the next patch to roll
// back. A journal that does not prove itself (a span beyond the bytes the
// editors own) is refused by readers and patches alike, naming it: nothing
// is written, no backup made, and the journal stays.
TEST_F(CliSafety, ReadersShowAKilledPatchsFileAsItWasAndAJournalThatProvesNothingIsRefused)
{
    ASSERT_EQ(varnhold({"imp-dump", f("IMP.dat"), f("merc.ini")}).status, 0);
    std::string merc = readFile(f("merc.ini"));
    writeFile(f("merc.ini"), merc.replace(merc.find("Health=82"), 9, "Health=99"));
    for (const Readers& kind : kReaders) {
        SCOPED_TRACE(kind.game);
        const std::string game = f(kind.game), journal = platform::journalPath(game), out = f("out.txt");
        const std::string original = readFile(game), copy = f((std::string("untouched-") + kind.game).c_str());
        writeFile(copy, original);
        const auto run = [&](const Words& words) {
            Words args;
            for (const std::string& w : words) {
                const bool input = w.find('.') != std::string::npos; // a command or option has no dot
                args.push_back(w == "GAME" ? game : w == "COPY" ? copy : w == "OUT" ? out : input ? f(w.c_str()) : w);
            }
            return varnhold(args);
        };
        // What each reader gives of the untouched file: its standard output,
        // then what it wrote to OUT.
        std::vector<std::string> clean;
        for (const Words& reader : kind.readers) {
            const Outcome read = run(reader);
            ASSERT_EQ(read.status, 0) << read.err;
            clean.push_back(read.out + (fs::exists(out) ? readFile(out) : ""));
            fs::remove(out);
        }

        // The apply killed just before its last changed byte (after it, when
        // that is its first), its journal whole.
        ASSERT_EQ(run(kind.apply).status, 0);
        const std::string patched = readFile(game);
        fs::remove(game + ".bak");
        writeFile(game, original);
        ASSERT_TRUE(clitest::leaveJournalOf(game, patched));
        const auto first = std::mismatch(original.begin(), original.end(), patched.begin()).first - original.begin();
        const auto last = original.rend() - std::mismatch(original.rbegin(), original.rend(), patched.rbegin()).first;
        const auto cut = static_cast<std::size_t>(std::max(first + 1, last - 1));
        const std::string torn = patched.substr(0, cut) + original.substr(cut);
        writeFile(game, torn);
        const std::string planted = readFile(journal);
        for (std::size_t i = 0; i < kind.readers.size(); ++i) {
            SCOPED_TRACE(kind.readers[i][0]);
            const Outcome read = run(kind.readers[i]);
            EXPECT_EQ(read.status, 0);
            EXPECT_EQ(read.err, "varnhold: " + platform::shownRolledBackNote(game) + "\n");
            EXPECT_EQ(read.out + (fs::exists(out) ? readFile(out) : ""), clean[i]);
            fs::remove(out);
            EXPECT_TRUE(readFile(game) == torn);
            EXPECT_EQ(readFile(journal), planted);
        }

        // A span that runs one byte past the bytes the editors own.
        const platform::PatchSpan owned = clitest::ownedRun(game);
        writeFile(game, original);
        writeFile(journal, platform::PatchJournal::encode(original.size(),
                                                          {{owned.offset + owned.length - 1, {0, 0}, {1, 1}}}));
        const std::string foreign = readFile(journal);
        auto before = testsupport::folderEntries(dir.path());
        auto expectRefusedNamingTheJournal = [&](const Outcome& refused, int status) {
            EXPECT_EQ(refused.status, status);
            EXPECT_EQ(refused.err.rfind("varnhold: ", 0), 0u) << refused.err;
            EXPECT_NE(refused.err.find("The patch journal " + journal + " cannot be rolled back: a span at byte "),
                      std::string::npos) << refused.err;
            EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
            EXPECT_EQ(refused.out, "");
            EXPECT_TRUE(readFile(game) == original);
            EXPECT_EQ(readFile(journal), foreign);
            EXPECT_EQ(testsupport::folderEntries(dir.path()), before); // no output, no backup
        };
        for (const Words& reader : kind.readers) {
            SCOPED_TRACE(reader[0]);
            expectRefusedNamingTheJournal(run(reader), reader[0] == "diff" ? 2 : 1);
        }
        expectRefusedNamingTheJournal(run(kind.apply), 1);
        writeFile(game + ".bak", patched);
        before = testsupport::folderEntries(dir.path());
        expectRefusedNamingTheJournal(run({"restore", "GAME"}), 1);
        EXPECT_TRUE(readFile(game + ".bak") == patched);
        fs::remove(game + ".bak");
        fs::remove(journal);
        fs::remove(copy);
    }
}

} // namespace
