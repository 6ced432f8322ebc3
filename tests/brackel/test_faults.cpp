// Every Brackel command that writes, with the file failing under it: the user
// sees one clear error, the file on disk is the old one or the new one (an
// interrupted patch keeps the length, and the backup keeps the original), and
// the next save works.

// standard
#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "brackel/core/brkfile.h"
#include "brackel/core/editor.h"
#include "platform/journal.h"
#include "platform/textlines.h"
#include "brackel/core/rulefiles.h"
#include "tests/support/faultcases.h"

namespace brackel {
namespace {

using platform::Answer;
using testsupport::readFile;
using testsupport::writeFile;

constexpr std::uint64_t kUs103Length = 2812928;
constexpr std::uint64_t kUs103Table = 0x235118;

enum class Flow { SaveExe, SaveAsExe, SaveBrk, SaveAsBrk };
using Case = testsupport::FaultCase<Flow>;
using testsupport::Left;

std::vector<Case> cases()
{
    std::vector<Case> all;
    testsupport::addFaultCases(all, {{"SaveExe", Flow::SaveExe}, {"SaveAsExe", Flow::SaveAsExe}},
                               testsupport::patchOutcomes(
                                   {.shortened = "has changed its length since its version was checked.\r"
                                                 "Nothing was written."}));
    testsupport::addFaultCases(all, {{"SaveBrk", Flow::SaveBrk}, {"SaveAsBrk", Flow::SaveAsBrk}},
                               testsupport::textOutcomes());
    return all;
}

class EditorFaults : public ::testing::TestWithParam<Case>, protected testsupport::FaultyFolder {
protected:
    EditorFaults() : FaultyFolder("Brackel") {}

    bool inPlace() const { return flow() == Flow::SaveExe || flow() == Flow::SaveAsExe; }
    Flow flow() const { return GetParam().flow; }

    /// A [US1.03] executable with a silencer entry in its table.
    std::string makeExe(const std::string& name)
    {
        std::string bytes = testsupport::patternBytes(kUs103Length);
        bytes.replace(kUs103Table, kTableBytes, std::string(kTableBytes, '\0'));
        bytes.replace(kUs103Table, 4, std::string("\xCF\x00\x05\x00", 4));
        writeFile(dir.file(name), bytes);
        return dir.file(name);
    }

    /// Opens a file and clears its entries, so that a save changes the
    /// target; returns the target.
    std::string prepare()
    {
        Flags flags;
        flags.set(Kind::Silencer, 4, true);
        const std::string opened = inPlace() ? makeExe("vrn.exe") : dir.file("mine.brk");
        if (!inPlace())
            writeFile(opened, platform::joinLines(brkLines(flags, 179)));
        ui.chooseFile(opened);
        ui.answer(Answer::Ok);
        editor.open();
        ui.answer(Answer::Yes);
        editor.clearAll();
        if (flow() == Flow::SaveAsExe)
            return makeExe("other.exe");
        if (flow() == Flow::SaveAsBrk) {
            writeFile(dir.file("other.brk"), platform::joinLines(brkLines(flags, 179)));
            return dir.file("other.brk");
        }
        return opened;
    }

    /// Runs the command, answering every box it shows.
    void run(const std::string& target)
    {
        ui.clearRecord();
        if (flow() == Flow::SaveAsExe || flow() == Flow::SaveAsBrk) {
            ui.chooseFile(target, flow() == Flow::SaveAsExe ? 1 : 2);
            if (flow() == Flow::SaveAsBrk)
                ui.answer(Answer::Yes); // replace the existing file
            if (noteFirst)
                ui.answer(Answer::Ok);
            ui.answer(Answer::Ok);
            editor.saveAs();
        } else {
            if (noteFirst)
                ui.answer(Answer::Ok);
            ui.answer(Answer::Ok);
            editor.save();
        }
        EXPECT_EQ(ui.pendingAnswers(), 0u);
    }

    /// What a save of the editor's entries makes of `old`.
    std::string saved(const std::string& old) const
    {
        if (!inPlace())
            return platform::joinLines(brkLines(editor.model().currentFlags(), editor.model().remainingEntries()));
        auto table = encodeTable(editor.model().currentFlags());
        EXPECT_TRUE(table.ok());
        std::string bytes = old;
        bytes.replace(kUs103Table, kTableBytes, reinterpret_cast<const char*>(table->data()), kTableBytes);
        return bytes;
    }

    Editor editor{ui};
    bool noteFirst = false; // run() answers a note's box before the save's own
};

TEST_P(EditorFaults, ClearMessageWholeFileAndTheNextSaveWorks)
{
    const Case& c = GetParam();
    const std::string target = prepare();
    const std::string old = readFile(target);
    const std::string opened = editor.currentFile();
    const std::string backup = target + ".bak";

    files.inject(c.fault, target);
    run(target);
    const auto shown = ui.boxes();
    ASSERT_FALSE(shown.empty());
    if (c.fails()) {
        EXPECT_EQ(shown.back().title, "Error");
        EXPECT_NE(shown.back().text.find(target), std::string::npos) << shown.back().text;
        EXPECT_NE(shown.back().text.find(c.says), std::string::npos) << shown.back().text;
        EXPECT_EQ(editor.currentFile(), opened); // the editor still works on the file it had
    } else {
        EXPECT_EQ(shown.back().title, "Success");
    }
    testsupport::expectLeft(c.left, target, old, saved(old));

    // Put right, the same command saves, and the backup is still the original
    // even where the file was half-patched when this save began.
    const bool torn = testsupport::putRight(files, c.left, target, old);
    noteFirst = torn; // the rolled-back patch's box comes first
    run(target);
    noteFirst = false;
    if (torn) {
        EXPECT_EQ(ui.boxes().front().text, testsupport::rolledBackNote(target));
    }
    EXPECT_FALSE(std::filesystem::exists(platform::journalPath(target)));
    EXPECT_EQ(ui.boxes().back(), (platform::ScriptedPlatform::Box{"File successfully saved", "Success",
                                                                   platform::Buttons::Ok}));
    EXPECT_EQ(readFile(target), saved(old));
    if (!inPlace()) {
        EXPECT_FALSE(std::filesystem::exists(backup)); // text files we write are replaced whole, never backed up
        return;
    }
    EXPECT_EQ(readFile(backup), old);
    // A later patch of another table leaves the first backup alone.
    editor.selectWeapon(7);
    editor.click(Kind::Silencer, true);
    run(target);
    EXPECT_EQ(readFile(target), saved(old));
    EXPECT_EQ(readFile(backup), old);
}

INSTANTIATE_TEST_SUITE_P(EveryWrite, EditorFaults, ::testing::ValuesIn(cases()), testsupport::kCaseName);

// Save of an executable that another program holds, or patches while ours
// is at work.
class ExeSaveSafety : public ::testing::Test, protected testsupport::FaultyFolder {
protected:
    ExeSaveSafety() : FaultyFolder("Brackel")
    {
        std::string bytes = testsupport::patternBytes(kUs103Length);
        bytes.replace(kUs103Table, kTableBytes, std::string(kTableBytes, '\0'));
        writeFile(exe, bytes);
        ui.chooseFile(exe);
        ui.answer(Answer::Ok);
        editor.open();
        editor.selectWeapon(3);
        editor.click(Kind::Silencer, true); // a save changes the table
        old = readFile(exe);
    }

    /// Save; the text of its one box.
    std::string save()
    {
        ui.clearRecord();
        ui.answer(Answer::Ok);
        editor.save();
        EXPECT_EQ(ui.pendingAnswers(), 0u);
        return ui.boxes().size() == 1 ? ui.boxes()[0].text : "";
    }

    std::string saved() const
    {
        std::string bytes = old;
        const TableBytes table = *encodeTable(editor.model().currentFlags());
        bytes.replace(kUs103Table, kTableBytes, reinterpret_cast<const char*>(table.data()), kTableBytes);
        return bytes;
    }

    Editor editor{ui};
    const std::string exe = dir.file("vrn.exe");
    const std::string backup = exe + ".bak";
    std::string old;
};

TEST_F(ExeSaveSafety, AFileAnotherProgramHoldsIsRefusedAsInUseAndNothingIsWritten)
{
    testsupport::expectHeldFileRefusedThenSaved(exe, old, [this] { return save(); }, [this] { return saved(); });
}

// Another patch of the same file arrives while ours holds it (just before
// our backup is made): it is refused as in use instead of putting its table
// into our backup or having it overwritten by ours.
TEST_F(ExeSaveSafety, APatchArrivingWhileOursIsAtWorkIsRefusedAsInUse)
{
    Flags theirs;
    theirs.set(Kind::Bipod, 10, true);
    platform::Status second = platform::Status::success();
    files.beforeOpen[backup] = [&] { second = applyRules(files, exe, theirs).status(); };
    EXPECT_EQ(save(), "File successfully saved");
    EXPECT_EQ(second.error(), "Could not open " + exe + ": the file is in use by another program");
    EXPECT_EQ(readFile(exe), saved());
    EXPECT_EQ(readFile(backup), old);
}

// A save killed at any step of its patch (before the table's first byte,
// part-way, before the flush, after it with the journal still there) leaves
// the new table's first bytes; the next program to patch the file rolls it
// back to exactly the old file first, saying so once.
TEST_F(ExeSaveSafety, ASaveKilledAtAnyStepIsRolledBackByTheNextPatch)
{
    const std::string fresh = saved();
    for (std::uint64_t written : {0u, 1u, 364u, 728u, 729u}) {
        SCOPED_TRACE(written);
        writeFile(exe, old);
        testsupport::killPatchAfter(files, exe, written, kTableBytes);
        EXPECT_THROW(editor.save(), testsupport::Killed);
        files.clearFaults();
        const std::uint64_t torn = kUs103Table + std::min<std::uint64_t>(written, kTableBytes);
        EXPECT_TRUE(readFile(exe) == fresh.substr(0, torn) + old.substr(torn));
        testsupport::expectNextPatchRollsBack(exe, old, attachmentTable(exe, *detectversion(old.size())));
    }
}

// A save killed part-way, or with every byte written and its journal still
// there, leaves the journal beside the executable. The next Open, in a
// window of its own, rolls the file back before it reads the table, warns
// that it did, and shows the table as it was before that save.
TEST_F(ExeSaveSafety, TheNextOpenRollsBackAKilledSaveAndShowsTheOldTable)
{
    ASSERT_EQ(save(), "File successfully saved");
    old = readFile(exe); // weapon 3 takes a silencer
    const Flags shown = editor.model().currentFlags();
    editor.click(Kind::Silencer, false);
    for (int weapon : {7, 9}) {
        editor.selectWeapon(weapon);
        editor.click(Kind::Bipod, true);
        editor.click(Kind::Silencer, true);
    }
    const std::string fresh = saved();
    const auto differing = static_cast<std::uint64_t>(
        std::inner_product(old.begin(), old.end(), fresh.begin(), 0, std::plus<>(), std::not_equal_to<>()));
    ASSERT_GE(differing, 4u); // enough to be cut in the middle
    const std::string journal = platform::journalPath(exe);
    for (const std::uint64_t written : {std::uint64_t(1), differing / 2, std::uint64_t(kTableBytes) + 1}) {
        SCOPED_TRACE(written);
        writeFile(exe, old);
        testsupport::killPatchAfter(files, exe, written, kTableBytes);
        EXPECT_THROW(editor.save(), testsupport::Killed);
        files.clearFaults();
        ASSERT_TRUE(std::filesystem::exists(journal));
        ASSERT_FALSE(readFile(exe) == old);

        Editor reopened{ui};
        ui.clearRecord();
        ui.chooseFile(exe);
        ui.answer(Answer::Ok); // the warning
        ui.answer(Answer::Ok); // loaded
        reopened.open();
        EXPECT_EQ(ui.pendingAnswers(), 0u);
        EXPECT_EQ(ui.boxes(), (std::vector<platform::ScriptedPlatform::Box>{
                                  {testsupport::rolledBackNote(exe), "Warning", platform::Buttons::Ok},
                                  {"File successfully loaded", "Success", platform::Buttons::Ok}}));
        EXPECT_TRUE(readFile(exe) == old);
        EXPECT_FALSE(std::filesystem::exists(journal));
        EXPECT_EQ(reopened.model().currentFlags(), shown);
    }
}

} // namespace
} // namespace brackel
