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
#include "kestrin/core/encapsulatedfile.h"
#include "kestrin/core/failurebox.h"
#include "kestrin/core/profilefile.h"
#include "platform/journal.h"
#include "tests/support/faultcases.h"
#include "tests/support/fileholder.h"

namespace kestrin {
namespace {

using platform::Answer;
using testsupport::readFile;
using testsupport::writeFile;

enum class Flow { SaveCustom };
using Case = testsupport::FaultCase<Flow>;

// Save Custom meeting each fault; its message holds the path followed by these words.
std::vector<Case> cases()
{
    std::vector<Case> all;
    testsupport::addFaultCases(
        all, {{"", Flow::SaveCustom}},
        testsupport::patchOutcomes({
            .vanished = "\". " + testsupport::missingFileReason(),
            .readOnly = "\". Permission denied",
            .locked = "\". The file is in use by another program",
            .shortened = "\". It is 300 bytes long; a custom mercenary profile needs at least 578 bytes.",
            .backupFails = ".bak: No space left on device\r\nNothing was written.",
            .breaksMidway = ": Input/output error",
        }));
    return all;
}

class SaveFaults : public ::testing::TestWithParam<Case>, protected testsupport::FaultyFolder {
protected:
    SaveFaults() : FaultyFolder("Kestrin 1.03", platform::LineBreak::CrLf)
    {
        profile.setName("Ivan");
        profile.setCallsign("Hawk");
        writeFile(path, old);
        // What an undisturbed save makes of the record, from a copy elsewhere.
        const std::string copy = other.file("IMP.dat");
        writeFile(copy, old);
        ui.answer(Answer::Ok);
        const platform::Status done = saveProfile(ui, copy, profile);
        EXPECT_TRUE(done.ok()) << done.error();
        saved = readFile(copy);
        ui.clearRecord();
    }

    /// Save Custom as the main window runs it, its failure shown in a box;
    /// false after the error box.
    bool saveCustom()
    {
        ui.clearRecord();
        ui.answer(Answer::Ok); // "Well done." or the error
        const bool done = saveShown();
        EXPECT_EQ(ui.pendingAnswers(), 0u);
        return done;
    }

    /// The save, and its failure shown as the window shows it.
    bool saveShown()
    {
        const platform::Status done = saveProfile(ui, path, profile);
        showFailure(ui, done);
        return done.ok();
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

    testsupport::TempDir other;
    Profile profile;
    const std::string path = dir.file("IMP.dat");
    const std::string backup = path + ".bak";
    const std::string journal = dir.file(".IMP.dat.varnhold-journal");
    const std::string note = testsupport::rolledBackNote(path);
    const std::string old = testsupport::profileBytes(600);
    std::string saved;
};

TEST_P(SaveFaults, ClearMessageWholeFileAndTheNextSaveWorks)
{
    const Case& c = GetParam();
    files.inject(c.fault, path);
    EXPECT_FALSE(saveCustom());
    expectError(c.says);
    testsupport::expectLeft(c.left, path, old, saved);

    // Put right, the save goes through; the backup is the original even where
    // IMP.dat was half-patched when this save began, and a later save with
    // other values leaves it alone.
    if (testsupport::putRight(files, c.left, path, old)) {
        ui.clearRecord();
        ui.answer(Answer::Ok); // the note
        ui.answer(Answer::Ok); // "Well done."
        EXPECT_TRUE(saveShown());
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

INSTANTIATE_TEST_SUITE_P(SaveCustom, SaveFaults, ::testing::ValuesIn(cases()), testsupport::kCaseName);

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
        EXPECT_THROW((void)saveProfile(ui, path, profile), testsupport::Killed);
        files.clearFaults();
        const bool whole = readFile(path) == saved; // every byte written: killed before the flush
        if (whole) {
            writeFile(path, old);
            std::filesystem::remove(journal);
            files.killOnRemove.insert(journal);
            EXPECT_THROW((void)saveProfile(ui, path, profile), testsupport::Killed);
            files.clearFaults();
            EXPECT_TRUE(readFile(path) == saved);
        }
        testsupport::expectNextPatchRollsBack(path, old, profileRecord(path));
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
                    + ");\r\nmove it away and try again.\r\nNothing was written.");
        EXPECT_EQ(readFile(path), old);
        EXPECT_EQ(readFile(elsewhere), "another user's file");
        fs::remove_all(backup);
    }
    expectSavedWithBackup();
}

} // namespace
} // namespace kestrin
