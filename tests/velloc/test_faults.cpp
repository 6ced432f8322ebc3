// Every Velloc command that writes, with the file failing under it: the user
// sees one clear error, the file on disk is the old one or the new one (an
// interrupted patch keeps the length, and the backup keeps the original), and
// the next save works.

// standard
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/journal.h"
#include "platform/textlines.h"
#include "tests/support/faultcases.h"
#include "tests/support/itemtexts.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/session.h"
#include "velloc/core/textform.h"

namespace velloc {
namespace {

using platform::Answer;
using testsupport::readFile;
using testsupport::writeFile;

enum class Flow { SaveEdt, SaveAsEdt, SaveVlc, SaveAsVlc, NamesDef };
using Case = testsupport::FaultCase<Flow>;
using testsupport::Left;

std::vector<Case> cases()
{
    std::vector<Case> all;
    testsupport::addFaultCases(all, {{"SaveEdt", Flow::SaveEdt}, {"SaveAsEdt", Flow::SaveAsEdt}},
                               testsupport::patchOutcomes(
                                   {.shortened = "is 140400 bytes long; an item text file has exactly 280800 bytes.\r"
                                                 "Nothing was written."}));
    testsupport::addFaultCases(
        all, {{"SaveVlc", Flow::SaveVlc}, {"SaveAsVlc", Flow::SaveAsVlc}, {"NamesDef", Flow::NamesDef}},
        testsupport::textOutcomes());
    return all;
}

class SessionFaults : public ::testing::TestWithParam<Case>, protected testsupport::FaultyFolder {
protected:
    SessionFaults() : FaultyFolder("Velloc") { session = std::make_unique<Session>(ui); }

    Flow flow() const { return GetParam().flow; }
    bool inPlace() const { return flow() == Flow::SaveEdt || flow() == Flow::SaveAsEdt; }
    /// names.def is written for Items only; the other flows use Bobby Ray's
    /// texts, which ask nothing after the save.
    FileType type() const { return flow() == Flow::NamesDef ? FileType::Items : FileType::BobbyRay; }

    std::string makeEdt(const std::string& name)
    {
        return testsupport::writeItemFile(dir.file(name), testsupport::sampleItemTexts(type()));
    }

    std::string makeTextForm(const std::string& name)
    {
        return testsupport::writeTextForm(dir.file(name), testsupport::sampleItemTexts(type()));
    }

    /// Opens a file and changes a text, so that a save changes the target;
    /// returns the target.
    std::string prepare()
    {
        const std::string opened = inPlace() ? makeEdt("Braydesc.edt") : makeTextForm("mine.vlc");
        ui.chooseFile(opened);
        if (inPlace())
            ui.answer(Answer::Cancel); // Bobby Ray
        ui.answer(Answer::Ok);
        session->open();
        session->texts().shortNames[0] = "Changed";
        switch (flow()) {
        case Flow::SaveAsEdt: return makeEdt("Other.edt");
        case Flow::SaveAsVlc: return makeTextForm("other.vlc");
        case Flow::NamesDef: writeFile(session->namesDefPath(), "[head]\r\nold names\r\n"); return session->namesDefPath();
        default: return opened;
        }
    }

    /// Runs the command, answering every box it shows.
    void run(const std::string& target, bool failing)
    {
        ui.clearRecord();
        if (flow() == Flow::SaveAsEdt || flow() == Flow::SaveAsVlc) {
            ui.chooseFile(target, flow() == Flow::SaveAsEdt ? 1 : 3);
            if (flow() == Flow::SaveAsVlc)
                ui.answer(Answer::Yes); // replace the existing file
            if (noteFirst)
                ui.answer(Answer::Ok);
            ui.answer(Answer::Ok);
            session->saveAs();
        } else {
            if (noteFirst)
                ui.answer(Answer::Ok);
            ui.answer(Answer::Ok);
            if (flow() == Flow::NamesDef) {
                ui.answer(Answer::Yes); // update names.def after the save
                if (failing)
                    ui.answer(Answer::Ok);
            }
            session->save();
        }
        EXPECT_EQ(ui.pendingAnswers(), 0u);
    }

    /// What a save of the session's texts makes of `old`.
    std::string saved(const std::string& old) const
    {
        if (!inPlace())
            return platform::joinLines(textFormLines(session->texts()));
        return testsupport::encodedOver(old, session->texts());
    }

    std::vector<platform::ScriptedPlatform::Box> errors() const
    {
        std::vector<platform::ScriptedPlatform::Box> shown;
        for (const auto& box : ui.boxes())
            if (box.title == "Error")
                shown.push_back(box);
        return shown;
    }

    std::unique_ptr<Session> session; // made after the working folder is set
    bool noteFirst = false; // run() answers a note's box before the save's own
};

TEST_P(SessionFaults, ClearMessageWholeFileAndTheNextSaveWorks)
{
    const Case& c = GetParam();
    const std::string target = prepare();
    const std::string old = readFile(target);
    const std::string opened = session->currentFile();
    const std::string backup = target + ".bak";

    files.inject(c.fault, target);
    run(target, c.fails());
    const auto shown = errors();
    if (c.fails()) {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].text.find(target), std::string::npos) << shown[0].text;
        EXPECT_NE(shown[0].text.find(c.says), std::string::npos) << shown[0].text;
        if (flow() != Flow::NamesDef) {
            EXPECT_EQ(session->currentFile(), opened); // the session still works on the file it had
        }
    } else {
        EXPECT_TRUE(shown.empty());
    }
    testsupport::expectLeft(c.left, target, old, saved(old));

    // Put right, the same command saves, and the backup is still the original
    // even where the file was half-patched when this save began.
    const bool torn = testsupport::putRight(files, c.left, target, old);
    noteFirst = torn; // the rolled-back patch's box comes first
    run(target, false);
    noteFirst = false;
    if (torn) {
        EXPECT_EQ(ui.boxes().front().text, testsupport::rolledBackNote(target));
    }
    EXPECT_FALSE(std::filesystem::exists(platform::journalPath(target)));
    EXPECT_TRUE(errors().empty());
    const platform::ScriptedPlatform::Box savedBox{"File successfully saved", "Success", platform::Buttons::Ok};
    EXPECT_NE(std::find(ui.boxes().begin(), ui.boxes().end(), savedBox), ui.boxes().end());
    EXPECT_EQ(readFile(target), saved(old));
    if (!inPlace()) {
        EXPECT_FALSE(std::filesystem::exists(backup)); // text files we write are replaced whole, never backed up
        return;
    }
    EXPECT_EQ(readFile(backup), old);
    // A later patch with other texts leaves the first backup alone.
    session->texts().shortNames[1] = "Changed too";
    run(target, false);
    EXPECT_EQ(readFile(target), saved(old));
    EXPECT_EQ(readFile(backup), old);
}

INSTANTIATE_TEST_SUITE_P(EveryWrite, SessionFaults, ::testing::ValuesIn(cases()), testsupport::kCaseName);

// A save refused for its texts or for the file's length makes no backup: the
// file was never going to be patched, and may be no item text file at all.
TEST(ItemFileBackup, RefusedPatchMakesNoBackup)
{
    testsupport::TempDir dir;
    platform::NativeFileSystem files;
    ItemTexts texts;
    texts.fileType = FileType::Items;
    const std::string wrongLength = dir.file("notes.edt");
    writeFile(wrongLength, "not an item text file");
    EXPECT_FALSE(writedata(files, wrongLength, texts).ok());
    EXPECT_FALSE(files.isFile(wrongLength + ".bak"));

    const std::string edt = dir.file("Itemdesc.edt");
    writeFile(edt, testsupport::patternBytes(kItemFileLength));
    texts.shortNames[0] = std::string(200, 'x'); // longer than its field
    const platform::Status refused = writedata(files, edt, texts);
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.error().find("Nothing was written."), std::string::npos);
    EXPECT_FALSE(files.isFile(edt + ".bak"));
}

// Save of an item file that another program holds, or patches while ours
// is at work.
class EdtSaveSafety : public ::testing::Test, protected testsupport::FaultyFolder {
protected:
    EdtSaveSafety() : FaultyFolder("Velloc")
    {
        session = std::make_unique<Session>(ui);
        writeFile(edt, old);
        ui.chooseFile(edt);
        ui.answer(Answer::Cancel); // Bobby Ray
        ui.answer(Answer::Ok);
        session->open();
        session->texts().shortNames[0] = "Changed";
    }

    /// Save; the text of its last box.
    std::string save()
    {
        ui.clearRecord();
        ui.answer(Answer::Ok);
        session->save();
        EXPECT_EQ(ui.pendingAnswers(), 0u);
        return ui.boxes().empty() ? "" : ui.boxes().back().text;
    }

    /// Writes the file as a save writes the texts now, so that no byte of
    /// it but those of later edits differs from what a save makes, and opens
    /// it (as Bobby Ray texts); gives its bytes.
    std::string reopenAsSaved()
    {
        const std::string base = saved();
        writeFile(edt, base);
        ui.chooseFile(edt);
        ui.answer(Answer::Cancel); // Bobby Ray
        ui.answer(Answer::Ok);
        session->open();
        return base;
    }

    /// The bytes a save makes of `file` from the texts now.
    std::string savedOver(std::string file) const
    {
        return testsupport::encodedOver(std::move(file), session->texts());
    }

    std::string saved() const { return savedOver(old); }

    std::unique_ptr<Session> session;
    const std::string edt = dir.file("Braydesc.edt");
    const std::string backup = edt + ".bak";
    const std::string old = testsupport::patternBytes(kItemFileLength);
};

TEST_F(EdtSaveSafety, AFileAnotherProgramHoldsIsRefusedAsInUseAndNothingIsWritten)
{
    testsupport::expectHeldFileRefusedThenSaved(edt, old, [this] { return save(); }, [this] { return saved(); });
}

// Another patch of the same file (as items-apply makes it) arrives while
// ours holds the file: it is refused as in use, rather than losing its texts
// under ours or putting them into our backup.
TEST_F(EdtSaveSafety, APatchArrivingWhileOursIsAtWorkIsRefusedAsInUse)
{
    platform::Status second = platform::Status::success();
    bool asked = false;
    files.beforeOpen[backup] = [&] {
        second = patchItemFile(files, edt, FileType::BobbyRay, [&](const ItemTexts& current) {
            asked = true;
            return platform::Result<ItemTexts>(current);
        });
    };
    EXPECT_EQ(save(), "File successfully saved");
    EXPECT_EQ(second.error(), "Could not open " + edt + ": the file is in use by another program");
    EXPECT_FALSE(asked);
    EXPECT_EQ(readFile(edt), saved());
    EXPECT_EQ(readFile(backup), old);
}

// A save killed at any step of its patch (before the first changed byte,
// part-way, before the flush, after it with the journal still there) leaves
// the first bytes of the changed run new; the next program to open the file
// rolls it back to exactly the old file first, saying so once.
TEST_F(EdtSaveSafety, ASaveKilledAtAnyStepIsRolledBackByTheNextPatch)
{
    // Only the whole fields changed below differ: one run of changed bytes.
    const std::string base = reopenAsSaved();
    session->texts().shortNames[0] = std::string(79, 'S');
    session->texts().descriptions[0] = std::string(319, 'D');
    const std::string fresh = savedOver(base);
    const auto first = static_cast<std::uint64_t>(std::mismatch(base.begin(), base.end(), fresh.begin()).first - base.begin());
    const auto run = static_cast<std::uint64_t>(base.rend() - std::mismatch(base.rbegin(), base.rend(), fresh.rbegin()).first) - first;
    for (std::uint64_t written : {std::uint64_t(0), std::uint64_t(1), run / 2, run, run + 1}) {
        SCOPED_TRACE(written);
        writeFile(edt, base);
        testsupport::killPatchAfter(files, edt, written, run);
        EXPECT_THROW(session->save(), testsupport::Killed);
        files.clearFaults();
        const std::uint64_t torn = first + std::min(written, run);
        EXPECT_TRUE(readFile(edt) == fresh.substr(0, torn) + base.substr(torn));
        testsupport::expectNextPatchRollsBack(edt, base, itemRecords(edt));
    }
}

// A save killed part-way, or with every byte written and its journal still
// there, leaves the journal beside the item file. The next Open, in a
// session of its own, rolls the file back before it reads the texts, warns
// that it did, and shows the texts as they were before that save.
TEST_F(EdtSaveSafety, TheNextOpenRollsBackAKilledSaveAndShowsTheOldTexts)
{
    // One name changes in a file as saves write it.
    const std::string base = reopenAsSaved();
    const ItemTexts shown = session->texts();
    session->texts().shortNames[1] = "Renamed";
    const std::string fresh = savedOver(base);
    const auto differing = static_cast<std::uint64_t>(
        std::inner_product(base.begin(), base.end(), fresh.begin(), 0, std::plus<>(), std::not_equal_to<>()));
    ASSERT_GE(differing, 4u); // enough to be cut in the middle
    const std::string journal = platform::journalPath(edt);
    for (const std::uint64_t written : {std::uint64_t(1), differing / 2, kItemFileLength + 1}) {
        SCOPED_TRACE(written);
        writeFile(edt, base);
        testsupport::killPatchAfter(files, edt, written, kItemFileLength);
        EXPECT_THROW(session->save(), testsupport::Killed);
        files.clearFaults();
        ASSERT_TRUE(std::filesystem::exists(journal));
        ASSERT_FALSE(readFile(edt) == base);

        Session reopened(ui);
        ui.clearRecord();
        ui.chooseFile(edt);
        ui.answer(Answer::Cancel); // Bobby Ray
        ui.answer(Answer::Ok);     // the warning
        ui.answer(Answer::Ok);     // loaded
        reopened.open();
        EXPECT_EQ(ui.pendingAnswers(), 0u);
        ASSERT_EQ(ui.boxes().size(), 3u);
        EXPECT_EQ(ui.boxes()[1], (platform::ScriptedPlatform::Box{testsupport::rolledBackNote(edt), "Warning",
                                                                  platform::Buttons::Ok}));
        EXPECT_EQ(ui.boxes()[2].text, "File successfully loaded");
        EXPECT_TRUE(readFile(edt) == base);
        EXPECT_FALSE(std::filesystem::exists(journal));
        EXPECT_TRUE(reopened.texts() == shown);
    }
}

} // namespace
} // namespace velloc
