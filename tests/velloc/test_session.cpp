// Velloc's Open, Save, Save As and Close end to end through the scripted
// platform: every message in order, the model and state after each command,
// the files on disk, and the names.def that Brackel reads.

// standard
#include <functional>
#include <memory>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "brackel/core/namesfile.h"
#include "tests/support/scriptedplatform.h"
#include "platform/textlines.h"
#include "tests/support/faultcases.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/notours.h"
#include "tests/support/itemtexts.h"
#include "tests/support/tempdir.h"
#include "tests/support/textutil.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/session.h"
#include "velloc/core/textform.h"

namespace velloc {
namespace {

using platform::Answer;
using platform::Buttons;
using Box = platform::ScriptedPlatform::Box;
using testsupport::expectConflictBox;
using testsupport::lowered;
using testsupport::readFile;
using testsupport::sampleItemTexts;
using testsupport::writeFile;

const Box kSelectTarget{"Is this a Itemdesc.edt or Braydesc.edt file ?\rClick OK for Itemdesc and Cancel for Braydesc.",
                        "Select Target", Buttons::OkCancel};
const Box kLoaded{"File successfully loaded", "Success", Buttons::Ok};
const Box kSaved{"File successfully saved", "Success", Buttons::Ok};
const Box kTarvesk{"Would you like to use this descriptions in Tarvesk ?", "Update Tarvesk ?", Buttons::YesNo};
const Box kUnidentified{"Error reading file - couldn't identify file typ", "Error", Buttons::Ok};

/// The lines of a text form whose texts hold no line break: "[head]", the
/// mode and version lines, then for each item an empty line, its "[nn]" line
/// and one line per field (three for Items, two for Bobby Ray).
constexpr std::size_t textFormLineCount(FileType type)
{
    return 3 + kItemCount * (2 + (type == FileType::Items ? 3 : 2));
}

class SessionFlow : public ::testing::Test {
protected:
    SessionFlow()
    {
        ui.setWorkingFolder(dir.path());
        ui.setFileSystem(&files);
        ui.setFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        session = std::make_unique<Session>(ui);
    }

    /// An item text file holding sample texts over non-zero filler.
    std::string makeEdt(const std::string& name, FileType type)
    {
        return testsupport::writeItemFile(dir.file(name), sampleItemTexts(type));
    }

    std::string makeTextForm(const std::string& name, const ItemTexts& texts)
    {
        return testsupport::writeTextForm(dir.file(name), texts);
    }

    void openEdt(const std::string& path, FileType type)
    {
        ui.chooseFile(path);
        ui.answer(type == FileType::Items ? Answer::Ok : Answer::Cancel);
        ui.answer(Answer::Ok);
        session->open();
    }

    std::vector<Box> boxes() { return ui.takeBoxes(); }

    testsupport::TempDir dir;
    testsupport::FaultyFileSystem files;
    platform::ScriptedPlatform ui{"Velloc"};
    std::unique_ptr<Session> session; // made after the working folder is set
};

TEST_F(SessionFlow, OpenItemTextFileAsEitherType)
{
    const std::string path = makeEdt("ITEMDESC.EDT", FileType::Items);
    openEdt(path, FileType::Items);
    EXPECT_EQ(boxes(), (std::vector<Box>{kSelectTarget, kLoaded}));
    EXPECT_EQ(session->form(), FileForm::Binary);
    EXPECT_EQ(session->texts(), sampleItemTexts(FileType::Items));
    EXPECT_EQ(session->fileLabel(), "Current File: " + lowered(dir.file("itemdesc.edt")) + " (Items)");

    // The same bytes read as Bobby Ray texts keep the full names.
    const std::string vlc = dir.file("odd.vlc");
    writeFile(vlc, readFile(path)); // any name: the length decides
    openEdt(vlc, FileType::BobbyRay);
    EXPECT_EQ(boxes(), (std::vector<Box>{kSelectTarget, kLoaded}));
    EXPECT_EQ(session->texts().fileType, FileType::BobbyRay);
    EXPECT_EQ(session->texts().fullNames[7], "Full name of item 7");
    EXPECT_EQ(session->fileLabel(), "Current File: " + lowered(vlc) + " (Bobby Ray)");
}

TEST_F(SessionFlow, OpenDialogOffersTheLastNameAndSaveDialogNone)
{
    const std::string path = makeEdt("Itemdesc.edt", FileType::Items);
    openEdt(path, FileType::Items);
    ui.cancelDialog();
    session->saveAs();
    ui.cancelDialog();
    session->open();
    ASSERT_EQ(ui.dialogs().size(), 3u);
    EXPECT_EQ(ui.dialogs()[0].options.title, "Open");
    EXPECT_EQ(ui.dialogs()[0].options.filter,
              "Supported Files (*.edt, *.def, *.vlc)|*.edt;*.def;*.vlc|EDT-File (*.edt)|*.edt|DEF-File (*.def)|*.def|"
              "Velloc-File (*.vlc)|*.vlc|All Files (*.*)|*.*");
    EXPECT_EQ(ui.dialogs()[1].options.title, "Save As...");
    EXPECT_EQ(ui.dialogs()[1].options.filter, "EDT-File (*.edt)|*.edt|DEF-File (*.def)|*.def|Velloc-File (*.vlc)|*.vlc");
    EXPECT_EQ(ui.dialogs()[1].options.initialName, "");
    EXPECT_EQ(ui.dialogs()[2].options.initialName, path);
}

TEST_F(SessionFlow, OpenPathIsOpenWithoutTheDialog)
{
    // An item text file still asks which one it is, whatever its name.
    const std::string path = makeEdt("start.vlc", FileType::BobbyRay);
    ui.answer(Answer::Cancel);
    ui.answer(Answer::Ok);
    session->openPath(path);
    EXPECT_EQ(boxes(), (std::vector<Box>{kSelectTarget, kLoaded}));
    EXPECT_EQ(session->texts(), sampleItemTexts(FileType::BobbyRay));
    EXPECT_EQ(session->currentFile(), path);

    // A missing file: the failed open's error box naming it, nothing changes.
    const std::string gone = dir.file("gone.edt");
    ui.answer(Answer::Ok);
    session->openPath(gone);
    EXPECT_EQ(boxes(), (std::vector<Box>{{"Could not open " + gone + ": there is no file of that name", "Error",
                                          Buttons::Ok}}));
    EXPECT_EQ(session->currentFile(), path);
    EXPECT_EQ(session->form(), FileForm::Binary);

    // The open dialog then offers the name last given.
    ui.cancelDialog();
    session->open();
    ASSERT_EQ(ui.dialogs().size(), 1u);
    EXPECT_EQ(ui.dialogs()[0].options.initialName, gone);
}

TEST_F(SessionFlow, FailedOpensChangeNothing)
{
    const std::string path = makeEdt("Itemdesc.edt", FileType::Items);
    openEdt(path, FileType::Items);
    session->texts().shortNames[3] = "edited";
    const ItemTexts before = session->texts();
    boxes();

    auto tryOpen = [&](const std::string& file) {
        ui.chooseFile(file);
        ui.answer(Answer::Ok);
        session->open();
        EXPECT_EQ(session->texts(), before) << file;
        EXPECT_EQ(session->currentFile(), path) << file;
        EXPECT_EQ(session->form(), FileForm::Binary) << file;
        return boxes();
    };

    writeFile(dir.file("plain.txt"), "no mode line here\r\n");
    EXPECT_EQ(tryOpen(dir.file("plain.txt")), std::vector<Box>{kUnidentified});

    ItemTexts other = sampleItemTexts(FileType::BobbyRay);
    auto lines = textFormLines(other);
    lines[2] = "version=1.9";
    writeFile(dir.file("old.vlc"), platform::joinLines(lines));
    EXPECT_EQ(tryOpen(dir.file("old.vlc")),
              (std::vector<Box>{{"This File is a previous version and cannot be used\rfurther ! Try applying it to a "
                                 "edt file with an older\rVelloc and rereading it with this version.",
                                 "Incompatibilty", Buttons::Ok}}));

    // Damaged half-way: nothing of it is taken.
    lines = textFormLines(other);
    lines[3 + 5 * 4 + 1] = "[four]";
    writeFile(dir.file("bad.vlc"), platform::joinLines(lines));
    auto shown = tryOpen(dir.file("bad.vlc"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_NE(shown[0].text.find("line 25"), std::string::npos) << shown[0].text;

    files.failRead.insert(dir.file("locked.vlc"));
    writeFile(dir.file("locked.vlc"), "mode=velloc-a\r\n");
    shown = tryOpen(dir.file("locked.vlc"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("locked.vlc"), std::string::npos);
}

TEST_F(SessionFlow, SaveItemsAsksForNamesDefWhichBrackelReads)
{
    const std::string path = makeEdt("Itemdesc.edt", FileType::Items);
    openEdt(path, FileType::Items);
    session->texts().shortNames[20] = "Steyr AUG";
    session->texts().fullNames[307] = "Rod & Spring";
    boxes();

    ui.answer(Answer::Ok);
    ui.answer(Answer::No);
    session->save();
    EXPECT_EQ(boxes(), (std::vector<Box>{kSaved, kTarvesk}));
    EXPECT_FALSE(files.isFile(dir.file("names.def")));

    for (int round = 0; round < 2; ++round) { // replaced each time
        ui.answer(Answer::Ok);
        ui.answer(Answer::Yes);
        session->save();
        EXPECT_EQ(boxes(), (std::vector<Box>{kSaved, kTarvesk}));
    }
    auto lines = platform::readTextLines(files, dir.file("names.def"));
    ASSERT_TRUE(lines.ok());
    EXPECT_EQ(lines->size(), textFormLineCount(FileType::Items));
    const brackel::Names names = brackel::parseNames(*lines);
    EXPECT_EQ(names.weaponNames[19], "Steyr AUG");
    EXPECT_EQ(names.weaponNames[0], "Item 1");
    EXPECT_EQ(names.captions[static_cast<int>(brackel::Kind::RodAndSpring)], "Rod && Spring");
    EXPECT_EQ(session->currentFile(), path);

    // The file holds the edit, read back as it was written.
    auto reread = readdata(files, path, FileType::Items, ItemTexts{});
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(*reread, session->texts());
}

TEST_F(SessionFlow, BobbyRaySavesNeverAskForNamesDef)
{
    openEdt(makeEdt("Braydesc.edt", FileType::BobbyRay), FileType::BobbyRay);
    boxes();
    ui.answer(Answer::Ok);
    session->save();
    EXPECT_EQ(boxes(), std::vector<Box>{kSaved});
}

TEST_F(SessionFlow, SaveRefusesAVanishedChangedOrOverfullFile)
{
    const std::string path = makeEdt("Itemdesc.edt", FileType::Items);
    openEdt(path, FileType::Items);
    boxes();

    auto refused = [&](const std::string& text) {
        ui.answer(Answer::Ok);
        session->save();
        EXPECT_EQ(boxes(), (std::vector<Box>{{text, "Error", Buttons::Ok}}));
    };

    const std::string original = readFile(path);
    session->texts().descriptions[42] = std::string(300, 'x');
    refused("The texts cannot be saved into " + path +
            ":\ritem 42, description: is 300 characters long; at most 239 fit.\rNothing was written.");
    EXPECT_EQ(readFile(path), original);
    session->texts().descriptions[42] = "fits";

    writeFile(path, original.substr(0, 1000)); // shortened behind our back
    refused("The file " + path + " is 1000 bytes long; an item text file has exactly 280800 bytes.\r"
            "Nothing was written.");
    EXPECT_EQ(readFile(path).size(), 1000u);

    std::remove(path.c_str());
    refused("Could not open " + path + ": " + testsupport::missingFileReason());
    EXPECT_FALSE(files.isFile(path)); // never created
}

TEST_F(SessionFlow, SaveAsBinaryOnlyPatchesExistingItemTextFiles)
{
    makeTextForm("texts.vlc", sampleItemTexts(FileType::Items));
    ui.chooseFile(dir.file("texts.vlc"));
    ui.answer(Answer::Ok);
    session->open();
    boxes();

    ui.chooseFile(dir.file("new.edt"), 1);
    ui.answer(Answer::Ok);
    session->saveAs();
    EXPECT_EQ(boxes(), (std::vector<Box>{{"This file doesn't exist\rCurrently VLC is unable to create those files,\r"
                                          "maybe i'll implement this feature later.",
                                          "Velloc", Buttons::Ok}}));
    EXPECT_FALSE(files.isFile(dir.file("new.edt")));

    writeFile(dir.file("small.def"), "not an item file");
    ui.chooseFile(dir.file("small.def"), 1);
    ui.answer(Answer::Ok);
    session->saveAs();
    EXPECT_EQ(boxes(), (std::vector<Box>{{"The file " + dir.file("small.def") +
                                              " is 16 bytes long; an item text file has exactly 280800 bytes.\r"
                                              "Nothing was written.",
                                          "Error", Buttons::Ok}}));
    EXPECT_EQ(readFile(dir.file("small.def")), "not an item file");
    EXPECT_EQ(session->form(), FileForm::TextForm);

    // The EDT filter with a .def name patches that file; Save then patches it again.
    const std::string edt = makeEdt("game.def", FileType::BobbyRay);
    session->texts().shortNames[1] = "Renamed";
    ui.chooseFile(edt, 1);
    ui.answer(Answer::Ok);
    ui.answer(Answer::No);
    session->saveAs();
    EXPECT_EQ(boxes(), (std::vector<Box>{kSaved, kTarvesk}));
    EXPECT_EQ(session->form(), FileForm::Binary);
    EXPECT_EQ(session->fileLabel(), "Current File: " + lowered(edt) + " (Items)");
    auto reread = readdata(files, edt, FileType::Items, ItemTexts{});
    ASSERT_TRUE(reread.ok());
    EXPECT_EQ(reread->shortNames[1], "Renamed");
}

TEST_F(SessionFlow, FullLengthTextIsSavedOnlyOverTheFieldThatHoldsIt)
{
    // The game file holds an 80-character short name with no end marker.
    ItemTexts full = sampleItemTexts(FileType::Items);
    full.shortNames[7] = std::string(80, 'Q');
    std::string bytes =
        testsupport::encodedOver(testsupport::patternBytes(kItemFileLength), sampleItemTexts(FileType::Items));
    for (int k = 0; k < 80; ++k)
        bytes[7 * kRecordBytes + 2 * k] = 'Q' + 1;
    writeFile(dir.file("Itemdesc.edt"), bytes);

    // A text form carrying the very same text saves onto it, changing nothing.
    makeTextForm("texts.vlc", full);
    ui.chooseFile(dir.file("texts.vlc"));
    ui.answer(Answer::Ok);
    session->open();
    boxes();
    ui.chooseFile(dir.file("Itemdesc.edt"), 1);
    ui.answer(Answer::Ok);
    ui.answer(Answer::No);
    session->saveAs();
    EXPECT_EQ(boxes(), (std::vector<Box>{kSaved, kTarvesk}));
    EXPECT_EQ(readFile(dir.file("Itemdesc.edt")), bytes);
    EXPECT_EQ(session->form(), FileForm::Binary);

    // A changed full text must leave room for its marker.
    full.shortNames[7].back() = 'R';
    makeTextForm("changed.vlc", full);
    ui.chooseFile(dir.file("changed.vlc"));
    ui.answer(Answer::Ok);
    session->open();
    boxes();
    ui.chooseFile(dir.file("Itemdesc.edt"), 1);
    ui.answer(Answer::Ok);
    session->saveAs();
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("item 7, short name: is 80 characters long; at most 79 fit."), std::string::npos)
        << shown[0].text;
    EXPECT_EQ(readFile(dir.file("Itemdesc.edt")), bytes);
    EXPECT_EQ(session->form(), FileForm::TextForm);

    // Read from the item text file itself, the same text is saved back as it stands.
    openEdt(dir.file("Itemdesc.edt"), FileType::Items);
    ui.answer(Answer::Ok);
    ui.answer(Answer::No);
    session->save();
    EXPECT_EQ(boxes(), (std::vector<Box>{kSelectTarget, kLoaded, kSaved, kTarvesk}));
    EXPECT_EQ(readFile(dir.file("Itemdesc.edt")), bytes);
}

TEST_F(SessionFlow, SaveAsTextFormAsksBeforeReplacing)
{
    openEdt(makeEdt("Braydesc.edt", FileType::BobbyRay), FileType::BobbyRay);
    const std::string target = dir.file("mine.vlc");
    writeFile(target, "old");
    boxes();
    const Box question{target + "\rThis File is already existing.\r\rDo you want to replace it ?", "Save As...",
                       Buttons::YesNo};

    ui.chooseFile(target, 3);
    ui.answer(Answer::No);
    session->saveAs();
    EXPECT_EQ(boxes(), std::vector<Box>{question});
    EXPECT_EQ(readFile(target), "old");

    files.failReplace.insert(target); // a full disk: the old file stays whole
    ui.chooseFile(target, 3);
    ui.answer(Answer::Yes);
    ui.answer(Answer::Ok);
    session->saveAs();
    EXPECT_EQ(boxes(), (std::vector<Box>{question, {"Could not write " + target + ": No space left on device",
                                                    "Error", Buttons::Ok}}));
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(session->form(), FileForm::Binary);
    files.failReplace.clear();

    // The DEF filter with a .vlc name writes the text form too.
    ui.chooseFile(target, 2);
    ui.answer(Answer::Yes);
    ui.answer(Answer::Ok);
    session->saveAs();
    EXPECT_EQ(boxes(), (std::vector<Box>{question, kSaved}));
    EXPECT_EQ(session->form(), FileForm::TextForm);
    EXPECT_EQ(platform::splitLines(readFile(target)).size(), textFormLineCount(FileType::BobbyRay));
}

TEST_F(SessionFlow, SaveAsTextFormNeverReplacesAGameFileOrAnyFileThatIsNotText)
{
    const std::string opened = makeEdt("Braydesc.edt", FileType::BobbyRay);
    openEdt(opened, FileType::BobbyRay);
    boxes();
    std::vector<testsupport::NotOurs> targets = testsupport::filesNeverReplaced();
    targets.push_back({"vrn.exe", testsupport::patternBytes(2812928), "is the game executable [US1.03]"});
    for (const testsupport::NotOurs& target : targets) {
        for (int filter : {2, 3}) { // DEF-File, Velloc-File
            SCOPED_TRACE(std::string(target.name) + " " + std::to_string(filter));
            const std::string path = dir.file(target.name);
            writeFile(path, target.bytes);
            // Refused before the question whether to replace it.
            ui.chooseFile(path, filter);
            ui.answer(Answer::Ok);
            session->saveAs();
            EXPECT_EQ(boxes(), (std::vector<Box>{{path + "\rThis file " + target.why +
                                                      "; it is never replaced by a text file.\rNothing was written.",
                                                  "Error", Buttons::Ok}}));
            EXPECT_EQ(readFile(path), target.bytes);
            EXPECT_EQ(session->currentFile(), opened);
            EXPECT_EQ(session->form(), FileForm::Binary);
        }
    }
}

TEST_F(SessionFlow, NamesDefWriteFailureIsReported)
{
    openEdt(makeEdt("Itemdesc.edt", FileType::Items), FileType::Items);
    boxes();
    files.failReplace.insert(dir.file("names.def"));
    ui.answer(Answer::Ok);
    ui.answer(Answer::Yes);
    ui.answer(Answer::Ok);
    session->save();
    EXPECT_EQ(boxes(), (std::vector<Box>{kSaved, kTarvesk,
                                         {"Could not write " + dir.file("names.def") + ": No space left on device",
                                          "Error", Buttons::Ok}}));
}

TEST_F(SessionFlow, CloseAsksFirst)
{
    openEdt(makeEdt("Itemdesc.edt", FileType::Items), FileType::Items);
    boxes();
    const Box question{"Are you sure ?", "Are you sure ?", Buttons::YesNo};
    ui.answer(Answer::No);
    session->closeFile();
    EXPECT_TRUE(session->fileOpen());
    ui.answer(Answer::Yes);
    session->closeFile();
    EXPECT_FALSE(session->fileOpen());
    EXPECT_EQ(session->fileLabel(), "Current File: -None-");
    EXPECT_EQ(session->texts(), sampleItemTexts(FileType::Items)); // kept for the next partial read
    EXPECT_EQ(boxes(), (std::vector<Box>{question, question}));
}

// A save onto the open item file after another program (items-apply, or a
// second window) patched it: text by text against the texts as this window
// read or last wrote them.
class SessionMerge : public SessionFlow {
protected:
    using Change = std::function<void(ItemTexts&)>;

    /// Another program's patch: the file's texts as they are now, changed.
    void patchElsewhere(const std::string& path, const Change& change)
    {
        EXPECT_TRUE(patchItemFile(files, path, FileType::Items, [&](const ItemTexts& current) {
                        ItemTexts next = current;
                        change(next);
                        return platform::Result<ItemTexts>(next);
                    }).ok());
    }

    /// The file that one program's change and then the other's, each made
    /// to the file as the one before left it, give.
    std::string inTurn(const Change& first, const Change& then)
    {
        const std::string copy = dir.file("copy.edt");
        writeFile(copy, original);
        patchElsewhere(copy, first);
        patchElsewhere(copy, then);
        return readFile(copy);
    }

    static ItemTexts changed(std::initializer_list<Change> changes)
    {
        ItemTexts texts = sampleItemTexts(FileType::Items);
        for (const Change& change : changes)
            change(texts);
        return texts;
    }

    /// Save, or Save As onto the open file, answering the boxes in order.
    void save(std::initializer_list<Answer> answers, bool as = false)
    {
        if (as)
            ui.chooseFile(edt, 1);
        for (Answer a : answers)
            ui.answer(a);
        as ? session->saveAs() : session->save();
        EXPECT_EQ(ui.pendingAnswers(), 0u);
    }

    const Box savedKeeping{"File successfully saved\r1 change that another program made to " + dir.file("Itemdesc.edt") +
                               " since it was opened here was kept; the window now shows the file as it is.",
                           "Success", Buttons::Ok};
    const std::string edt = makeEdt("Itemdesc.edt", FileType::Items);
    const std::string original = readFile(edt);
};

TEST_F(SessionMerge, SaveKeepsAnotherProgramsChangeToAnotherText)
{
    const Change ours = [](ItemTexts& t) { t.shortNames[3] = "Mine"; };
    const Change theirs = [](ItemTexts& t) { t.descriptions[7] = "Theirs"; };
    const std::string expected = inTurn(theirs, ours);
    for (const bool as : {false, true}) {
        SCOPED_TRACE(as ? "Save As onto the open file" : "Save");
        writeFile(edt, original);
        openEdt(edt, FileType::Items);
        ours(session->texts());
        patchElsewhere(edt, theirs);
        boxes();

        save({Answer::Ok, Answer::No}, as);
        EXPECT_EQ(boxes(), (std::vector<Box>{savedKeeping, kTarvesk}));
        EXPECT_TRUE(readFile(edt) == expected);
        EXPECT_EQ(session->texts(), changed({ours, theirs}));

        // Nothing new elsewhere since: the plain message.
        session->texts().fullNames[5] = "Renamed";
        save({Answer::Ok, Answer::No}, as);
        EXPECT_EQ(boxes(), (std::vector<Box>{kSaved, kTarvesk}));
    }
}

TEST_F(SessionMerge, AConflictIsAskedOnceNoWritesNothingYesKeepsTheOtherChanges)
{
    const Change ours = [](ItemTexts& t) {
        t.shortNames[3] = "Mine";
        t.fullNames[5] = "Both alike"; // the same change on both sides: no question
        t.descriptions[9] = "Our text";
    };
    const Change theirs = [](ItemTexts& t) {
        t.shortNames[3] = "Theirs";
        t.fullNames[5] = "Both alike";
        t.descriptions[9] = "Their much longer text";
        t.descriptions[7] = "Theirs alone"; // kept
    };
    openEdt(edt, FileType::Items);
    ours(session->texts());
    patchElsewhere(edt, theirs);
    const std::string theirsBytes = readFile(edt);
    boxes();

    save({Answer::No});
    auto shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    expectConflictBox(shown[0], edt, "item 3, short name, item 9, description");
    EXPECT_TRUE(readFile(edt) == theirsBytes);
    EXPECT_EQ(session->texts(), changed({ours}));

    save({Answer::Yes, Answer::Ok, Answer::No});
    shown = boxes();
    ASSERT_EQ(shown.size(), 3u);
    expectConflictBox(shown[0], edt, "item 3, short name, item 9, description");
    EXPECT_EQ(shown[1], savedKeeping);
    EXPECT_EQ(shown[2], kTarvesk);
    EXPECT_TRUE(readFile(edt) == inTurn(theirs, ours));
    EXPECT_EQ(session->texts(), changed({theirs, ours}));
}

TEST_F(SessionMerge, TwoWindowsOnOneFileKeepEachOthersChanges)
{
    const Change first = [](ItemTexts& t) { t.shortNames[3] = "First"; };
    const Change second = [](ItemTexts& t) { t.descriptions[7] = "Second"; };
    Session other(ui);
    openEdt(edt, FileType::Items);
    ui.chooseFile(edt);
    ui.answer(Answer::Ok);
    ui.answer(Answer::Ok);
    other.open();
    boxes();
    first(session->texts());
    second(other.texts());

    save({Answer::Ok, Answer::No});
    EXPECT_EQ(boxes(), (std::vector<Box>{kSaved, kTarvesk}));
    ui.answer(Answer::Ok);
    ui.answer(Answer::No);
    other.save();
    EXPECT_EQ(boxes(), (std::vector<Box>{savedKeeping, kTarvesk}));
    EXPECT_TRUE(readFile(edt) == inTurn(first, second));
    EXPECT_EQ(other.texts(), changed({first, second}));
}

} // namespace
} // namespace velloc
