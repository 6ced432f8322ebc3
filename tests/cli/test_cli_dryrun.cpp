// Dry runs of every patch, restore, and the whole flow a mod maker scripts:
// a look at the change, the apply, the change read back against the backup,
// the restore and the files the same again. Every dry run and refusal leaves
// the folder as it was, byte for byte and name for name.

// standard
#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "cli/restore.h"
#include "platform/journal.h"
#include "tests/cli/clirun.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/fileholder.h"
#include "tests/support/textutil.h"

namespace {

namespace fs = std::filesystem;
using clitest::Outcome;
using clitest::varnhold;
using testsupport::readFile;
using testsupport::replaced;
using testsupport::writeFile;

using Words = std::vector<std::string>;

/// The folder's names and every file's bytes: what a dry run must leave.
std::vector<std::pair<std::string, std::string>> snapshot(const std::string& folder)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files.emplace_back(entry.path().filename().string(),
                           entry.is_regular_file() ? readFile(entry.path().string()) : std::string("<other>"));
    std::sort(files.begin(), files.end());
    return files;
}

/// One kind of game file: its apply, what the apply changes, and the options
/// diff needs for it.
struct Kind {
    const char* game;
    Words apply;   // the apply's words before the game file
    Words options; // diff's options for two such files
    std::string changes;
    std::string undone; // the change list back from the patched file to the untouched one
};

class CliDryRun : public clitest::Cli {
protected:
    /// Inputs that change each kind of game file: the first weapon loses its
    /// silencer and the ninth takes every attachment; the first item's name
    /// gets a byte beyond ASCII and a line break; the mercenary is stronger
    /// and has quotes in her name.
    void SetUp() override
    {
        ASSERT_EQ(varnhold({"brk-export", f("vrn.exe"), f("rules.brk")}).status, 0);
        std::string rules = replaced(readFile(f("rules.brk")), "\r\n00=10100011", "\r\n00=00100011");
        writeFile(f("rules.brk"), replaced(rules, "\r\n08=10100011", "\r\n08=11111111"));

        ASSERT_EQ(varnhold({"items-export", "--itemdesc", f("Itemdesc.edt"), f("texts.vlc")}).status, 0);
        writeFile(f("texts.vlc"),
                  replaced(readFile(f("texts.vlc")), "name=Glock 17\r\n", "name=Gl\xF6" "ck\r\nname+lf=second\r\n"));

        ASSERT_EQ(varnhold({"imp-dump", f("IMP.dat"), f("merc.ini")}).status, 0);
        const std::string merc = replaced(readFile(f("merc.ini")), "Strength=64\r\n", "Strength=70\r\n");
        writeFile(f("merc.ini"), replaced(merc, "Name=Mara Voss\r\n", "Name=Mara \"V\"\r\n"));

        kinds = {
            {"vrn.exe", {"brk-apply", f("rules.brk")}, {},
             "1 Glock 17: -silencer\n9 MP5K: +sniper scope +bipod +duckbill +talon\n",
             "1 Glock 17: +silencer\n9 MP5K: -sniper scope -bipod -duckbill -talon\n"},
            {"Itemdesc.edt", {"items-apply", f("texts.vlc")}, {"--itemdesc"},
             "item 1 short name: \"Glock 17\" -> \"Gl\\xf6ck\\nsecond\"\n",
             "item 1 short name: \"Gl\\xf6ck\\nsecond\" -> \"Glock 17\"\n"},
            {"IMP.dat", {"imp-apply", f("merc.ini")}, {},
             "Strength: 64 -> 70\nName: \"Mara Voss\" -> \"Mara \\\"V\\\"\"\n",
             "Strength: 70 -> 64\nName: \"Mara \\\"V\\\"\" -> \"Mara Voss\"\n"},
        };
    }

    /// The command, in the test's folder (where names.def is).
    Outcome run(Words words) { return varnhold(words, dir.path()); }
    Outcome apply(const Kind& kind, Words more = {})
    {
        Words words = kind.apply;
        words.push_back(f(kind.game));
        words.insert(words.end(), more.begin(), more.end());
        return run(words);
    }
    Outcome diff(const Kind& kind, const std::string& a, const std::string& b)
    {
        Words words{"diff", a, b};
        words.insert(words.end(), kind.options.begin(), kind.options.end());
        return run(words);
    }

    std::vector<Kind> kinds;
};

TEST_F(CliDryRun, LookApplyCompareWithTheBackupRestoreAndCompareAgain)
{
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.game);
        const std::string game = f(kind.game), backup = game + ".bak";
        const std::string original = readFile(game);
        const auto before = snapshot(dir.path());

        const Outcome look = apply(kind, {"--dry-run"});
        EXPECT_EQ(look.status, 0) << look.err;
        EXPECT_EQ(look.out, kind.changes);
        EXPECT_EQ(look.err, "");
        EXPECT_EQ(snapshot(dir.path()), before);

        const Outcome applied = apply(kind);
        ASSERT_EQ(applied.status, 0) << applied.err;
        EXPECT_EQ(applied.out, "");
        ASSERT_EQ(readFile(backup), original);
        const std::string patched = readFile(game);
        EXPECT_NE(patched, original);

        // Nothing more to change: nothing to say.
        const Outcome again = apply(kind, {"--dry-run"});
        EXPECT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(again.out, "");

        // diff from the backup says what the apply did; back, what a restore undoes.
        const Outcome did = diff(kind, backup, game);
        EXPECT_EQ(did.status, 1) << did.err;
        EXPECT_EQ(did.out, kind.changes);
        const Outcome undo = diff(kind, game, backup);
        EXPECT_EQ(undo.status, 1) << undo.err;
        EXPECT_EQ(undo.out, kind.undone);

        const auto patchedFolder = snapshot(dir.path());
        const Outcome restoreLook = run({"restore", "--dry-run", game});
        EXPECT_EQ(restoreLook.status, 0) << restoreLook.err;
        EXPECT_EQ(restoreLook.out, kind.undone);
        EXPECT_EQ(snapshot(dir.path()), patchedFolder);

        const Outcome restored = run({"restore", game});
        EXPECT_EQ(restored.status, 0) << restored.err;
        EXPECT_EQ(restored.out + restored.err, "");
        EXPECT_TRUE(readFile(game) == original);
        EXPECT_TRUE(readFile(backup) == original);
        EXPECT_FALSE(fs::exists(platform::journalPath(game)));

        const Outcome same = diff(kind, game, backup);
        EXPECT_EQ(same.status, 0) << same.err;
        EXPECT_EQ(same.out, "");
        // A second restore has nothing to do.
        EXPECT_EQ(run({"restore", "--dry-run", game}).out, "");
        EXPECT_EQ(run({"restore", game}).status, 0);
        EXPECT_EQ(snapshot(dir.path()), [&] {
            auto expected = before;
            expected.emplace_back(fs::path(backup).filename().string(), original);
            std::sort(expected.begin(), expected.end());
            return expected;
        }());
    }
}

TEST_F(CliDryRun, WeaponsAreShownByNumberAloneWithoutNamesDef)
{
    testsupport::TempDir elsewhere;
    const Outcome look = varnhold({"brk-apply", "--dry-run", f("rules.brk"), f("vrn.exe")}, elsewhere.path());
    EXPECT_EQ(look.status, 0) << look.err;
    EXPECT_EQ(look.out, "1: -silencer\n9: +sniper scope +bipod +duckbill +talon\n");
}

TEST_F(CliDryRun, BytesThatChangeWithNoTextAreStillAChange)
{
    // The first item's name ends with the stored 1 that also ends a text; the
    // apply writes the end marker 0 there, which no text shows.
    std::string bytes = readFile(f("Itemdesc.edt"));
    const std::size_t marker = 800 + 2 * std::string("Glock 17").size();
    ASSERT_EQ(bytes[marker], '\0');
    bytes[marker] = '\1';
    writeFile(f("Itemdesc.edt"), bytes);
    ASSERT_EQ(varnhold({"items-export", "--itemdesc", f("Itemdesc.edt"), f("same.vlc")}).status, 0);

    const Outcome look = run({"items-apply", "--dry-run", f("same.vlc"), f("Itemdesc.edt")});
    EXPECT_EQ(look.status, 0) << look.err;
    EXPECT_EQ(look.out, "bytes: 1 change outside the fields shown\n");
    EXPECT_TRUE(readFile(f("Itemdesc.edt")) == bytes);
}

// Each refusal of a dry run is the apply's own, word for word, and both
// leave every file as it was.
TEST_F(CliDryRun, ADryRunIsRefusedAsTheApplyIsAndWritesNothing)
{
    std::string allRules = readFile(f("rules.brk"));
    for (int p = 0; p < 65; ++p) {
        const std::string key = "\r\n" + std::string(p < 10 ? "0" : "") + std::to_string(p) + "=";
        allRules.replace(allRules.find(key) + key.size(), 8, "11111111");
    }
    writeFile(f("all.brk"), allRules);
    writeFile(f("long.vlc"), "[head]\r\nmode=velloc-a\r\nversion=2.0\r\n\r\n[01]\r\nname=" + std::string(90, 'x') +
                                 "\r\n");
    writeFile(f("unknown.ini"), replaced(readFile(f("merc.ini")), "SlotFirstHand=20\r\n", "SlotFirstHand=9999\r\n"));

    struct Row {
        const char* what;
        Words words; // the game file last
        std::function<void(const std::string& game)> before;
        const char* reason;
    };
    const auto inUse = [](const std::string&) {};
    const Row rows[] = {
        {"too many attachments", {"brk-apply", f("all.brk"), f("vrn.exe")}, nullptr, "entries are needed"},
        {"a text too long", {"items-apply", f("long.vlc"), f("Itemdesc.edt")}, nullptr, "at most 79 fit"},
        {"an unknown item", {"imp-apply", f("unknown.ini"), f("IMP.dat")}, nullptr, "9999"},
        {"no backup but a folder", {"brk-apply", f("rules.brk"), f("vrn.exe")},
         [](const std::string& game) { fs::create_directory(game + ".bak"); }, "it is a folder"},
        {"a short backup", {"items-apply", f("texts.vlc"), f("Itemdesc.edt")},
         [](const std::string& game) { writeFile(game + ".bak", "MZ"); }, "it is 2 bytes long"},
        {"a short backup", {"imp-apply", f("merc.ini"), f("IMP.dat")},
         [](const std::string& game) { writeFile(game + ".bak", "MZ"); }, "it is 2 bytes long"},
        {"in use", {"brk-apply", f("rules.brk"), f("vrn.exe")}, inUse, "in use by another program"},
        {"in use", {"items-apply", f("texts.vlc"), f("Itemdesc.edt")}, inUse, "in use by another program"},
        {"in use", {"imp-apply", f("merc.ini"), f("IMP.dat")}, inUse, "in use by another program"},
        {"restore without a backup", {"restore", f("vrn.exe")}, nullptr, "There is no backup"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.words[0]) + ", " + row.what);
        const std::string game = row.words.back();
        if (row.before)
            row.before(game);
        const auto before = snapshot(dir.path());
        Outcome real, dry;
        {
            std::optional<testsupport::FileHolder> other;
            if (row.what == std::string("in use")) {
                other.emplace(game);
                ASSERT_TRUE(other->held());
            }
            real = run(row.words);
            Words look = row.words;
            look.insert(look.begin() + 1, "--dry-run");
            dry = run(look);
        }
        expectRefused(real, row.reason);
        EXPECT_EQ(dry.status, real.status);
        EXPECT_EQ(dry.err, real.err);
        EXPECT_EQ(dry.out, "");
        EXPECT_EQ(snapshot(dir.path()), before);
        fs::remove_all(game + ".bak");
    }
}

// A patch killed part-way left its journal: a dry run leaves it and the torn
// file alone, says the patch would roll it back, and shows the change from
// the rolled-back file; the apply then rolls it back and patches.
TEST_F(CliDryRun, ADryRunShowsTheChangeFromTheRolledBackFileAndRollsNothingBack)
{
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.game);
        const std::string game = f(kind.game);
        const std::string original = readFile(game);
        ASSERT_EQ(apply(kind).status, 0);
        const std::string patched = readFile(game);
        writeFile(game, original);
        fs::remove(game + ".bak");
        ASSERT_TRUE(clitest::leaveJournalOf(game, patched)); // the patch began
        writeFile(game, patched); // killed once every byte was written
        const auto torn = snapshot(dir.path());

        const Outcome look = apply(kind, {"--dry-run"});
        EXPECT_EQ(look.status, 0);
        EXPECT_EQ(look.err, "varnhold: " + game +
                                ": An unfinished patch of it would be rolled back first; the changes shown start "
                                "from there.\n");
        EXPECT_EQ(look.out, kind.changes);
        EXPECT_EQ(snapshot(dir.path()), torn);

        const Outcome applied = apply(kind);
        EXPECT_EQ(applied.status, 0);
        EXPECT_EQ(applied.err, "varnhold: An unfinished patch of " + game + " was rolled back.\n");
        EXPECT_TRUE(readFile(game) == patched);
        EXPECT_TRUE(readFile(game + ".bak") == original);
        EXPECT_FALSE(fs::exists(platform::journalPath(game)));
    }
}

TEST_F(CliDryRun, RestoreRefusesWhatIsNoBackupOfTheFileAndTouchesNothing)
{
    testsupport::TempDir other;
    std::error_code linkError;
    fs::create_symlink(f("vrn.exe"), dir.file("probe"), linkError);
    const bool links = !linkError && fs::exists(fs::symlink_status(dir.file("probe"), linkError));
    fs::remove(dir.file("probe"), linkError);

    const std::string exe = f("vrn.exe"), imp = f("IMP.dat");
    const std::string exeLength = std::to_string(readFile(exe).size());
    struct Row {
        const char* what;
        std::string file;
        std::function<void()> put;
        std::string reason;
        bool link = false;
    };
    const Row rows[] = {
        {"no backup", exe, [] {}, "There is no backup " + exe + ".bak. Nothing was written."},
        {"a short backup", exe, [&] { writeFile(exe + ".bak", "MZ"); },
         exe + ".bak is not a backup of this file (it is 2 bytes long, not " + exeLength +
             " as the file). Nothing was written."},
        {"an empty backup", imp, [&] { writeFile(imp + ".bak", ""); },
         imp + ".bak is not a backup of this file (it is empty). Nothing was written."},
        {"a folder", imp, [&] { fs::create_directory(imp + ".bak"); }, "(it is a folder)"},
        {"a hard link", exe, [&] { fs::create_hard_link(f("Itemdesc.edt"), exe + ".bak"); },
         "(it is also a file of another name, a hard link)"},
        {"a symbolic link", exe, [&] { fs::create_symlink(f("Braydesc.edt"), exe + ".bak"); },
         "(it is a symbolic link)", true},
        {"a file of no game file's length", f("short.dat"),
         [&] { writeFile(f("short.dat"), "tiny"), writeFile(f("short.dat.bak"), "TINY"); },
         "The file is 4 bytes long, the length of no game file the editors patch. Nothing was written."},
        {"a missing file", f("gone.exe"), [&] { writeFile(f("gone.exe.bak"), readFile(exe)); },
         testsupport::missingFileReason()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.link && !links)
            continue; // this system makes no symbolic links for us
        row.put();
        const auto before = snapshot(dir.path());
        for (const Words& words : {Words{"restore", row.file}, Words{"restore", "--dry-run", row.file}}) {
            const Outcome refused = run(words);
            expectRefused(refused, row.reason);
            EXPECT_EQ(refused.err.rfind("varnhold: " + row.file + ": ", 0), 0u) << refused.err;
            EXPECT_EQ(refused.out, "");
            EXPECT_EQ(snapshot(dir.path()), before);
        }
        for (const char* name : {"vrn.exe.bak", "IMP.dat.bak", "short.dat", "short.dat.bak", "gone.exe.bak"})
            fs::remove_all(f(name));
    }

    // The file another program holds.
    ASSERT_EQ(apply(kinds[0]).status, 0);
    const auto patched = snapshot(dir.path());
    {
        testsupport::FileHolder game(exe);
        ASSERT_TRUE(game.held());
        expectRefused(run({"restore", exe}), exe + ": The file is in use by another program");
        expectRefused(run({"restore", "--dry-run", exe}), exe + ": The file is in use by another program");
    }
    EXPECT_EQ(snapshot(dir.path()), patched);
}

// A restore killed part-way, or whose disk breaks mid-way, leaves its
// journal: the next restore rolls the torn file back, says so, and restores.
// The backup stays whatever happens.
TEST_F(CliDryRun, ARestoreIsAllOrNothing)
{
    const std::string game = f("vrn.exe"), backup = game + ".bak";
    const std::string original = readFile(game);
    ASSERT_EQ(apply(kinds[0]).status, 0);
    // Bytes far apart in the table differ too, so the restore writes more
    // than one span.
    const platform::PatchSpan table = clitest::ownedRun(game);
    std::string patched = readFile(game);
    patched[table.offset + 3] ^= 0x5A;
    patched[table.offset + table.length - 1] ^= 0x5A;

    for (const bool killed : {false, true}) {
        SCOPED_TRACE(killed ? "killed" : "disk breaks");
        writeFile(game, patched);
        testsupport::FaultyFileSystem files;
        (killed ? files.killAfter : files.failWriteAfter)[game] = 3;
        if (killed) {
            EXPECT_THROW((void)cli::restoreBackup(files, game), testsupport::Killed);
        } else {
            const platform::Status failed = cli::restoreBackup(files, game);
            EXPECT_NE(failed.error().find("Input/output error"), std::string::npos) << failed.error();
        }
        EXPECT_TRUE(fs::exists(platform::journalPath(game)));
        const std::string torn = readFile(game);
        EXPECT_FALSE(torn == patched || torn == original);

        const Outcome next = run({"restore", game});
        EXPECT_EQ(next.status, 0);
        EXPECT_EQ(next.err, "varnhold: An unfinished patch of " + game + " was rolled back.\n");
        EXPECT_TRUE(readFile(game) == original);
        EXPECT_TRUE(readFile(backup) == original);
        EXPECT_FALSE(fs::exists(platform::journalPath(game)));
    }

    // Bytes of the table that no rule shows are still undone, and the dry
    // run says so; bytes outside the table are never written, and both say
    // how many are left.
    std::string other = original;
    other[table.offset + 3] ^= 0x5A; // the unused fourth byte of an entry
    other[10] ^= 0x5A;
    other[11] ^= 0x5A;
    writeFile(game, other);
    const std::string left =
        "varnhold: " + game + ": 2 bytes outside those the editors patch differ from the backup; they are left as "
        "they are.\n";
    const Outcome look = run({"restore", "--dry-run", game});
    EXPECT_EQ(look.status, 0) << look.err;
    EXPECT_EQ(look.out, "bytes: 1 change outside the fields shown\n");
    EXPECT_EQ(look.err, left);
    const Outcome restored = run({"restore", game});
    EXPECT_EQ(restored.status, 0);
    EXPECT_EQ(restored.err, left);
    std::string expected = original;
    expected[10] ^= 0x5A;
    expected[11] ^= 0x5A;
    EXPECT_TRUE(readFile(game) == expected);
}

} // namespace
