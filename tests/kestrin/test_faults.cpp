// Save Custom with IMP.dat failing under it: the user sees one clear message
// in a box titled with the program's name, IMP.dat is the old record or the
// new one (an interrupted patch keeps the length, and IMP.dat.bak keeps the
// original), and the next save works.

// standard
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <system_error>

// GoogleTest
#include <gtest/gtest.h>


// ours
#include "kestrin/core/profilefile.h"
#include "kestrin/windows/guarded.h"
#include "platform/journal.h"
#include "tests/support/scriptedplatform.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/fileholder.h"
#include "tests/support/tempdir.h"

namespace kestrin {
namespace {

using platform::Answer;
using testsupport::Fault;
using testsupport::readFile;
using testsupport::writeFile;

/// What a failed save leaves in IMP.dat.
enum class Left { Old, Gone, Shortened, SameLengthWithBackup };

struct Case {
    const char* name;
    Fault fault;
    const char* says;
    Left left;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

const std::string kVanished = "\". " + testsupport::missingFileReason();

const Case kCases[] = {
    {"Vanishes", Fault::Vanishes, kVanished.c_str(), Left::Gone},
    {"ReadOnly", Fault::ReadOnly, "\". Permission denied", Left::Old},
    {"Locked", Fault::Locked, "\". The file is in use by another program", Left::Old},
    {"Shortened", Fault::Shortened, "\". It is 300 bytes long; a custom mercenary profile needs at least 578 bytes.",
     Left::Shortened},
    {"BackupFails", Fault::BackupFails, ".bak: No space left on device\r\nNothing was written.", Left::Old},
    {"BreaksMidway", Fault::BreaksMidway, ": Input/output error", Left::SameLengthWithBackup},
};

class SaveFaults : public ::testing::TestWithParam<Case> {
protected:
    SaveFaults()
    {
        ui.setFileSystem(&files);
        ui.setFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        profile.setName("Ivan");
        profile.setCallsign("Hawk");
        writeFile(path, old);
        // What an undisturbed save makes of the record, from a copy elsewhere.
        const std::string copy = other.file("IMP.dat");
        writeFile(copy, old);
        ui.answer(Answer::Ok);
        saveProfile(ui, copy, profile);
        saved = readFile(copy);
        ui.clearRecord();
    }

    /// Save Custom as the main window runs it; false after the error box.
    bool saveCustom()
    {
        ui.clearRecord();
        ui.answer(Answer::Ok); // "Well done." or the error
        const bool done = runGuarded(ui, [this] { saveProfile(ui, path, profile); });
        EXPECT_EQ(ui.pendingAnswers(), 0u);
        return done;
    }

    void expectError(const std::string& says)
    {
        ASSERT_EQ(ui.boxes().size(), 1u);
        EXPECT_EQ(ui.boxes()[0].title, "Kestrin 1.03"); // the program's name
        EXPECT_NE(ui.boxes()[0].text.find(path + says), std::string::npos) << ui.boxes()[0].text;
    }

    void expectSavedWithBackup()
    {
        EXPECT_TRUE(saveCustom());
        ASSERT_EQ(ui.boxes().size(), 1u);
        EXPECT_EQ(ui.boxes()[0].title, "Well done.");
        EXPECT_EQ(readFile(path), saved);
        EXPECT_EQ(readFile(backup), old);
    }

    testsupport::TempDir dir, other;
    testsupport::FaultyFileSystem files;
    platform::ScriptedPlatform ui{"Kestrin 1.03"};
    Profile profile;
    const std::string path = dir.file("IMP.dat");
    const std::string backup = path + ".bak";
    const std::string journal = dir.file(".IMP.dat.varnhold-journal");
    const std::string note = "An unfinished patch of " + path + " was rolled back.";
    const std::string old = testsupport::patternBytes(600);
    std::string saved;
};

TEST_P(SaveFaults, ClearMessageWholeFileAndTheNextSaveWorks)
{
    const Case& c = GetParam();
    files.inject(c.fault, path);
    EXPECT_FALSE(saveCustom());
    expectError(c.says);
    switch (c.left) {
    case Left::Old: EXPECT_EQ(readFile(path), old); break;
    case Left::Gone: EXPECT_FALSE(std::filesystem::exists(path)); break;
    case Left::Shortened: EXPECT_EQ(readFile(path), old.substr(0, 300)); break;
    case Left::SameLengthWithBackup:
        EXPECT_EQ(std::filesystem::file_size(path), old.size());
        EXPECT_NE(readFile(path), old); // ten bytes reached the disk
        EXPECT_EQ(readFile(backup), old);
        break;
    }
    if (c.left != Left::SameLengthWithBackup) {
        EXPECT_FALSE(std::filesystem::exists(backup)); // nothing was patched, nothing backed up
    }

    // Put right, the save goes through; the backup is the original even where
    // IMP.dat was half-patched when this save began, and a later save with
    // other values leaves it alone.
    // A write that broke could not undo itself on the broken disk, so its
    // journal stays, and this save rolls it back first and says so.
    files.clearFaults();
    if (c.left == Left::Gone || c.left == Left::Shortened)
        writeFile(path, old);
    const bool torn = c.left == Left::SameLengthWithBackup;
    EXPECT_EQ(std::filesystem::exists(journal), torn);
    if (torn) {
        ui.clearRecord();
        ui.answer(Answer::Ok); // the note
        ui.answer(Answer::Ok); // "Well done."
        EXPECT_TRUE(runGuarded(ui, [this] { saveProfile(ui, path, profile); }));
        ASSERT_EQ(ui.boxes().size(), 2u);
        EXPECT_EQ(ui.boxes()[0].text, note);
        EXPECT_EQ(readFile(path), saved);
    }
    EXPECT_FALSE(std::filesystem::exists(journal));
    expectSavedWithBackup();
    profile.setName("Boris");
    EXPECT_TRUE(saveCustom());
    EXPECT_NE(readFile(path), saved);
    EXPECT_EQ(std::filesystem::file_size(path), old.size());
    EXPECT_EQ(readFile(backup), old);
}

INSTANTIATE_TEST_SUITE_P(SaveCustom, SaveFaults, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The record is written byte by byte: a save killed after any of its bytes,
// and after the flush with the journal still there, leaves a file that the
// next program to patch it rolls back to exactly the old file, saying so once.
TEST_F(SaveFaults, ASaveKilledAfterAnyByteIsRolledBackByTheNextPatch)
{
    for (std::uint64_t written = 0; written <= 600; ++written) {
        SCOPED_TRACE(written);
        writeFile(path, old);
        std::filesystem::remove(journal);
        files.killAfter[path] = written;
        EXPECT_THROW(saveProfile(ui, path, profile), testsupport::Killed);
        files.clearFaults();
        const bool whole = readFile(path) == saved; // every byte written: killed before the flush
        if (whole) {
            writeFile(path, old);
            std::filesystem::remove(journal);
            files.killOnRemove.insert(journal);
            EXPECT_THROW(saveProfile(ui, path, profile), testsupport::Killed);
            files.clearFaults();
            EXPECT_TRUE(readFile(path) == saved);
        }
        testsupport::FaultyFileSystem next; // another program's
        auto held = next.openExisting(path, platform::Access::ReadWriteExclusive);
        ASSERT_TRUE(held);
        EXPECT_EQ(*platform::rollBackUnfinishedPatch(next, path, **held), note);
        EXPECT_EQ(*platform::rollBackUnfinishedPatch(next, path, **held), "");
        EXPECT_TRUE(readFile(path) == old);
        if (whole)
            return;
    }
    ADD_FAILURE() << "the save was never killed after its last byte";
}

// The exclusive open meets a real lock another process holds on IMP.dat.
TEST_F(SaveFaults, ALockHeldByAnotherProgramRefusesTheSave)
{
    {
        testsupport::FileHolder holder(path);
        ASSERT_TRUE(holder.held());
        EXPECT_FALSE(saveCustom());
        expectError("\". The file is in use by another program");
        EXPECT_FALSE(std::filesystem::exists(backup));
    }
    EXPECT_EQ(readFile(path), old); // read once released: the game may share no reading
    expectSavedWithBackup();
}

// Whatever stands at IMP.dat.bak and is not a backup of IMP.dat refuses the
// save; it is not followed, not replaced, and IMP.dat is not written.
TEST_F(SaveFaults, SomethingElseAtTheBackupsNameRefusesTheSave)
{
    namespace fs = std::filesystem;
    const std::string elsewhere = other.file("elsewhere");
    struct Row {
        const char* name;
        std::function<std::error_code()> put;
        const char* why;
    };
    // A link that the system says it made and that is not there (as under
    // an emulator) counts as not made.
    const auto link = [&](const std::string& to) {
        std::error_code e;
        fs::create_symlink(to, backup, e);
        if (!e && !fs::exists(fs::symlink_status(backup, e)))
            e = std::make_error_code(std::errc::operation_not_supported);
        return e;
    };
    const Row rows[] = {
        {"link elsewhere", [&] { return link(elsewhere); }, "it is a symbolic link"},
        {"longer file", [&] { writeFile(backup, old + "x"); return std::error_code(); },
         "it is 601 bytes long, not 600 as the file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeFile(elsewhere, "another user's file");
        if (const std::error_code error = row.put()) {
            std::cout << "skipped, this system makes no symbolic links for us: " << error.message() << "\n";
            continue;
        }
        EXPECT_FALSE(saveCustom());
        expectError(".bak is not a backup of this file (" + std::string(row.why)
                    + ");\rmove it away and try again.\r\nNothing was written.");
        EXPECT_EQ(readFile(path), old);
        EXPECT_EQ(readFile(elsewhere), "another user's file");
        fs::remove_all(backup);
    }
    expectSavedWithBackup();
}

} // namespace
} // namespace kestrin
