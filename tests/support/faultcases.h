#pragma once

// The fault harness of the programs' save flows: the faults a patch of a
// game file in place and an atomic replacement of a text file meet, with
// what each must leave at its target; the cases of every flow with every
// fault; a temporary folder on the faulty file system; and the checks that
// every program makes alike: what a failed write left, the fault put right
// for the next save, a file held by another program, a killed patch rolled
// back by the next program, and the question of a save onto a file that
// another program changed in the same fields.

// standard
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/gamefilepatch.h"
#include "platform/journal.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/fileholder.h"
#include "tests/support/scriptedplatform.h"
#include "tests/support/tempdir.h"

namespace testsupport {

/// What a failed command leaves at its target.
enum class Left { Old, New, Gone, Shortened, SameLengthWithBackup };

/// A fault, part of the error the user is shown for it (empty when the
/// command goes through all the same), and what it leaves at the target.
struct FaultOutcome {
    Fault fault;
    std::string says;
    Left left;
};

/// What a program's error says of each fault that a patch in place meets;
/// the defaults are the file system's own words, which every program shows.
struct PatchWords {
    std::string vanished = missingFileReason();
    std::string readOnly = "Permission denied";
    std::string locked = "in use by another program";
    std::string shortened; // the program's own refusal of the length
    std::string backupFails = ".bak: No space left on device\rNothing was written.";
    std::string breaksMidway = "Input/output error";
};

/// The faults a patch of a game file in place meets. Each is refused: the
/// file deleted under it stays gone, the one cut short stays short, and the
/// write that breaks part-way leaves the file at its length with the
/// original in the backup; the others leave the old file.
inline std::vector<FaultOutcome> patchOutcomes(const PatchWords& words)
{
    return {
        {Fault::Vanishes, words.vanished, Left::Gone},
        {Fault::ReadOnly, words.readOnly, Left::Old},
        {Fault::Locked, words.locked, Left::Old},
        {Fault::Shortened, words.shortened, Left::Shortened},
        {Fault::BackupFails, words.backupFails, Left::Old},
        {Fault::BreaksMidway, words.breaksMidway, Left::SameLengthWithBackup},
    };
}

/// The faults an atomic replacement of a text file meets: a file deleted or
/// cut short under it is replaced all the same; the others refuse it and
/// leave the old file.
inline std::vector<FaultOutcome> textOutcomes()
{
    return {
        {Fault::Vanishes, {}, Left::New},
        {Fault::ReadOnly, "Permission denied", Left::Old},
        {Fault::Locked, "in use by another program", Left::Old},
        {Fault::Shortened, {}, Left::New},
        {Fault::DiskFull, "No space left on device", Left::Old},
    };
}

/// One case of a program's fault tests: a flow that writes, meeting a fault.
template <typename Flow>
struct FaultCase : FaultOutcome {
    std::string name; // the flow's name and the fault's: the test's name
    Flow flow;
    bool fails() const { return !says.empty(); }
    friend void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }
};

/// Adds every flow with every outcome, each named by the flow's name and
/// the fault's ("SaveExe" and Vanishes: "SaveExeVanishes").
template <typename Flow>
void addFaultCases(std::vector<FaultCase<Flow>>& cases,
                   std::initializer_list<std::pair<const char*, std::type_identity_t<Flow>>> flows,
                   const std::vector<FaultOutcome>& outcomes)
{
    for (const auto& [flowName, flow] : flows)
        for (const FaultOutcome& outcome : outcomes)
            cases.push_back({outcome, std::string(flowName) + faultName(outcome.fault), flow});
}

/// The name of a parameterized fault test: its case's name.
inline constexpr auto kCaseName = [](const auto& info) { return info.param.name; };

/// A temporary folder, the working folder of a scripted platform over the
/// faulty file system; a question the script has no answer for fails the
/// test.
struct FaultyFolder {
    explicit FaultyFolder(const char* program, platform::LineBreak lineBreak = platform::LineBreak::Cr)
        : ui(program, lineBreak)
    {
        ui.setWorkingFolder(dir.path());
        ui.setFileSystem(&files);
        ui.setFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
    }

    TempDir dir;
    FaultyFileSystem files;
    platform::ScriptedPlatform ui;
};

/// Checks what a failed write left at the target: the old file, the new one
/// (saved), none, the old one cut to half its length, or a file of the old
/// length that the write had begun to change, with the original in the
/// backup. Only a file that was patched has a backup.
inline void expectLeft(Left left, const std::string& target, const std::string& old, const std::string& saved)
{
    namespace fs = std::filesystem;
    const std::string backup = target + ".bak";
    switch (left) {
    case Left::Old: EXPECT_EQ(readFile(target), old); break;
    case Left::New: EXPECT_EQ(readFile(target), saved); break;
    case Left::Gone: EXPECT_FALSE(fs::exists(target)); break;
    case Left::Shortened: EXPECT_EQ(readFile(target), old.substr(0, old.size() / 2)); break;
    case Left::SameLengthWithBackup:
        EXPECT_EQ(fs::file_size(target), old.size());
        EXPECT_NE(readFile(target), old); // the first bytes reached the disk
        EXPECT_EQ(readFile(backup), old);
        break;
    }
    if (left != Left::SameLengthWithBackup) {
        EXPECT_FALSE(fs::exists(backup)); // no backup of a file that was not patched
    }
}

/// Puts the fault right: the file system fails no more, and a target that
/// the fault took away or cut short is the old file again. Says whether the
/// failed write left the file torn: a write that broke could not undo
/// itself on the broken disk, so its journal stays, and the next save rolls
/// it back first and says so (rolledBackNote).
inline bool putRight(FaultyFileSystem& files, Left left, const std::string& target, const std::string& old)
{
    files.clearFaults();
    if (left == Left::Gone || left == Left::Shortened)
        writeFile(target, old);
    const bool torn = left == Left::SameLengthWithBackup;
    EXPECT_EQ(std::filesystem::exists(platform::journalPath(target)), torn);
    return torn;
}

/// A save of a game file that another program holds open: refused as in
/// use, with the file untouched and no backup made; once the other program
/// lets go, the same save goes through. save runs the save and gives the
/// text of its box; saved is what the save makes of the file.
inline void expectHeldFileRefusedThenSaved(const std::string& path, const std::string& old,
                                           const std::function<std::string()>& save,
                                           const std::function<std::string()>& saved)
{
    {
        FileHolder game(path);
        ASSERT_TRUE(game.held());
        EXPECT_EQ(save(), "Could not open " + path + ": the file is in use by another program");
    }
    EXPECT_EQ(readFile(path), old);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
    EXPECT_EQ(save(), "File successfully saved");
    EXPECT_EQ(readFile(path), saved());
}

/// The note of a patch that rolls back the unfinished one before it.
inline std::string rolledBackNote(const std::string& path)
{
    return "An unfinished patch of " + path + " was rolled back.";
}

/// Arms the kill of a patch of path once `written` bytes of its changed run
/// of `run` bytes are on the disk; one byte past the run, once the patch is
/// flushed, just before its journal is removed.
inline void killPatchAfter(FaultyFileSystem& files, const std::string& path, std::uint64_t written,
                           std::uint64_t run)
{
    if (written <= run)
        files.killAfter[path] = written;
    else
        files.killOnRemove.insert(platform::journalPath(path));
}

/// Another program opens the file that a killed patch left, to edit it,
/// and rolls it back to exactly the old file, saying so once. A patch
/// killed before its first byte reached the file leaves nothing to say.
inline void expectNextPatchRollsBack(const std::string& path, const std::string& old,
                                     const platform::OwnedBytes& owned)
{
    const bool torn = readFile(path) != old;
    FaultyFileSystem next; // another program's
    auto read = platform::readGameFile(next, path, owned, platform::Reading::ToEdit);
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(next.takeNotes(), torn ? std::vector<std::string>{rolledBackNote(path)} : std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists(platform::journalPath(path)));
    ASSERT_TRUE(platform::readGameFile(next, path, owned, platform::Reading::ToEdit));
    EXPECT_TRUE(next.takeNotes().empty());
    EXPECT_TRUE(readFile(path) == old);
}

/// The one question of a save onto a file that another program changed as
/// well, where both changed the same fields: it names the file and the
/// fields, in order.
inline void expectConflictBox(const platform::ScriptedPlatform::Box& box, const std::string& path,
                              const std::string& fields, platform::LineBreak lineBreak = platform::LineBreak::Cr)
{
    const std::string br(platform::lineBreakText(lineBreak));
    EXPECT_EQ(box.title, "Changed by another program");
    EXPECT_EQ(box.buttons, platform::Buttons::YesNo);
    EXPECT_NE(box.text.find(path), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(br + fields + "." + br + br), std::string::npos) << box.text;
}

} // namespace testsupport
