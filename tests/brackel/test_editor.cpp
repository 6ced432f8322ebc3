// Brackel's commands end to end through the scripted platform: every
// message, title and button in order, the state after each command, and the
// files on disk.

// standard
#include <filesystem>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "brackel/core/brkfile.h"
#include "brackel/core/editor.h"
#include "platform/paths.h"
#include "tests/support/scriptedplatform.h"
#include "platform/textlines.h"
#include "tests/support/faultcases.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/notours.h"
#include "tests/support/tempdir.h"
#include "tests/support/textutil.h"

namespace brackel {
namespace {

using platform::Answer;
using platform::Buttons;
using Box = platform::ScriptedPlatform::Box;
using testsupport::expectConflictBox;
using testsupport::lowered;
using testsupport::readFile;
using testsupport::writeFile;

const Box kLoaded{"File successfully loaded", "Success", Buttons::Ok};
const Box kSaved{"File successfully saved", "Success", Buttons::Ok};
const Box kUnknownVersion{"Unknown version !", "Error", Buttons::Ok};
const Box kWrongFormat{"Could not open file,\rwrong file format or\runknown VRN-Version", "Error", Buttons::Ok};

constexpr std::uint64_t kUs103Length = 2812928; // "[US1.03]", table at 0x235118
constexpr std::uint64_t kUs103Table = 0x235118;

class EditorFlow : public ::testing::Test {
protected:
    EditorFlow()
    {
        ui.setWorkingFolder(dir.path());
        ui.setFileSystem(&files);
        ui.setFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        writeFile(dir.file("names.def"), "[head]\r\nmode=velloc-a\r\nversion=2.0\r\n\r\n[01]\r\nname=Glock 17\r\n");
    }

    /// A [US1.03] executable whose table holds the silencer on weapon 5 and
    /// the bipod on weapon 20, the rest free.
    std::string makeExe(const std::string& name)
    {
        std::string bytes = testsupport::patternBytes(kUs103Length);
        std::string table(kTableBytes, '\0');
        const unsigned char entries[] = {0xCF, 0, 5, 0, 0xD1, 0, 20, 0};
        table.replace(0, sizeof entries, reinterpret_cast<const char*>(entries), sizeof entries);
        bytes.replace(kUs103Table, kTableBytes, table);
        writeFile(dir.file(name), bytes);
        return dir.file(name);
    }

    std::string makeBrk(const std::string& name, const Flags& flags, int remaining)
    {
        writeFile(dir.file(name), platform::joinLines(brkLines(flags, remaining)));
        return dir.file(name);
    }

    void open(const std::string& path)
    {
        ui.chooseFile(path);
        ui.answer(Answer::Ok);
        editor.open();
    }

    /// The boxes shown since the last call, in order.
    std::vector<Box> boxes() { return ui.takeBoxes(); }

    testsupport::TempDir dir;
    testsupport::FaultyFileSystem files;
    platform::ScriptedPlatform ui{"Brackel"};
    Editor editor{ui};
};

TEST_F(EditorFlow, StartUpNeedsNamesDef)
{
    EXPECT_TRUE(editor.readNames());
    EXPECT_EQ(editor.names().weaponNames[0], "Glock 17");
    EXPECT_EQ(editor.currentFileLabel(), "Current File: -None-");

    std::remove(dir.file("names.def").c_str());
    ui.answer(Answer::Ok);
    EXPECT_FALSE(editor.readNames());
    EXPECT_EQ(boxes(), (std::vector<Box>{{"File not found - names.def", "Error", Buttons::Ok}}));

    writeFile(dir.file("names.def"), "mode=velloc-a\r\n");
    files.failRead.insert(dir.file("names.def"));
    ui.answer(Answer::Ok);
    EXPECT_FALSE(editor.readNames());
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_NE(shown[0].text.find("names.def"), std::string::npos);

    // Anything larger than any text file of ours is not read at all.
    files.failRead.clear();
    writeFile(dir.file("names.def"), std::string(platform::kMaxTextFileLength + 1, 'x'));
    ui.answer(Answer::Ok);
    EXPECT_FALSE(editor.readNames());
    EXPECT_EQ(boxes(), (std::vector<Box>{{"Could not read names.def:\r" + dir.file("names.def") +
                                              " is 4194305 bytes long; no text file of ours is larger than 4 MiB.",
                                          "Error", Buttons::Ok}}));
}

TEST_F(EditorFlow, StartedWithAFileTakesNamesDefBesideItWhenTheWorkingFolderHasNone)
{
    const std::string game = dir.file("game");
    std::filesystem::create_directory(game);
    const std::string besideNames = platform::joinPath(game, "names.def");
    writeFile(besideNames, "mode=velloc-a\r\n[01]\r\nname=Sidearm\r\n");
    const std::string exe = platform::joinPath(game, "vrn.exe"); // need not exist yet

    // The working folder's names.def comes first.
    EXPECT_TRUE(editor.readNames(exe));
    EXPECT_EQ(editor.names().weaponNames[0], "Glock 17");

    std::filesystem::remove(dir.file("names.def"));
    EXPECT_TRUE(editor.readNames(exe));
    EXPECT_EQ(editor.names().weaponNames[0], "Sidearm");
    EXPECT_TRUE(boxes().empty());

    // Refused there as in the working folder.
    writeFile(besideNames, std::string(platform::kMaxTextFileLength + 1, 'x'));
    ui.answer(Answer::Ok);
    EXPECT_FALSE(editor.readNames(exe));
    EXPECT_EQ(boxes(), (std::vector<Box>{{"Could not read names.def:\r" + besideNames +
                                              " is 4194305 bytes long; no text file of ours is larger than 4 MiB.",
                                          "Error", Buttons::Ok}}));

    // Neither, with a file or without: the usual message, and the program
    // ends.
    std::filesystem::remove(besideNames);
    for (const std::string& start : {exe, std::string()}) {
        ui.answer(Answer::Ok);
        EXPECT_FALSE(editor.readNames(start));
        EXPECT_EQ(boxes(), (std::vector<Box>{{"File not found - names.def", "Error", Buttons::Ok}}));
    }
}

TEST_F(EditorFlow, OpenPathIsOpenWithoutTheDialog)
{
    const std::string exe = makeExe("vrn.exe");
    ui.answer(Answer::Ok);
    editor.openPath(exe);
    EXPECT_EQ(boxes(), std::vector<Box>{kLoaded});
    EXPECT_TRUE(ui.dialogs().empty());
    EXPECT_EQ(editor.currentFileLabel(), "Current File: " + lowered(exe) + " [US1.03]");

    // A missing file (a name given on the command line) is the failed
    // open's error box, naming it as missing; the open file stays.
    ui.answer(Answer::Ok);
    editor.openPath(dir.file("gone.brk"));
    EXPECT_EQ(boxes(), (std::vector<Box>{{"Could not open " + dir.file("gone.brk") + ": there is no file of that name",
                                          "Error", Buttons::Ok}}));
    EXPECT_EQ(editor.currentFile(), exe);

    const std::string brk = makeBrk("rules.brk", Flags{}, 182);
    ui.answer(Answer::Ok);
    editor.openPath(brk);
    EXPECT_EQ(boxes(), std::vector<Box>{kLoaded});
    EXPECT_EQ(editor.fileKind(), FileKind::Brk);
    EXPECT_TRUE(ui.dialogs().empty());
}

TEST_F(EditorFlow, OpenExecutableShowsPathInLowerCaseWithItsBuild)
{
    const std::string path = makeExe("VRN.EXE");
    open(path);
    EXPECT_EQ(boxes(), std::vector<Box>{kLoaded});
    EXPECT_EQ(ui.dialogs().size(), 0u); // cleared with the record
    EXPECT_EQ(editor.fileKind(), FileKind::Executable);
    EXPECT_EQ(editor.currentFile(), path);
    EXPECT_EQ(editor.currentFileLabel(), "Current File: " + lowered(path) + " [US1.03]");
    EXPECT_TRUE(editor.model().currentFlags().get(Kind::Silencer, 4));
    EXPECT_TRUE(editor.model().currentFlags().get(Kind::Bipod, 19));
    EXPECT_EQ(editor.model().remainingEntries(), 180);
    EXPECT_EQ(editor.model().loadedRemaining(), 180);
}

TEST_F(EditorFlow, OpenDialogTitleAndFilter)
{
    ui.cancelDialog();
    editor.open();
    ASSERT_EQ(ui.dialogs().size(), 1u);
    EXPECT_FALSE(ui.dialogs()[0].save);
    EXPECT_EQ(ui.dialogs()[0].options.title, "Open");
    EXPECT_EQ(ui.dialogs()[0].options.filter,
              "Supported files (*.exe, *.brk)|*.exe;*.brk|VRN-Exe (*.exe)|*.exe|Brackel-File (*.brk)|*.brk|"
              "All files (*.*)|*.*");
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_FALSE(editor.fileOpen());
}

TEST_F(EditorFlow, OpenBrkFileAndReopenGivesTheSameModel)
{
    Flags flags;
    flags.set(Kind::Extender, 64, true);
    flags.set(Kind::Duckbill, 30, true);
    const std::string path = makeBrk("Rules.BRK", flags, 5); // count disagrees: kept as written
    open(path);
    EXPECT_EQ(boxes(), std::vector<Box>{kLoaded});
    EXPECT_EQ(editor.fileKind(), FileKind::Brk);
    EXPECT_EQ(editor.currentFileLabel(), "Current File: " + lowered(path) + " [BRK-File]");
    EXPECT_EQ(editor.model().currentFlags(), flags);
    EXPECT_EQ(editor.model().remainingEntries(), 5);

    editor.click(Kind::Silencer, true);
    ui.answer(Answer::Ok);
    editor.save();
    open(path);
    editor.click(Kind::Silencer, false);
    ui.answer(Answer::Yes);
    editor.resetAll();
    Flags saved = flags;
    saved.set(Kind::Silencer, 0, true);
    EXPECT_EQ(editor.model().currentFlags(), saved);
    EXPECT_EQ(editor.model().remainingEntries(), 4);
}

TEST_F(EditorFlow, BrkNamedFileOfAKnownBuildLengthOpensAsExecutable)
{
    const std::string path = makeExe("looks-like.brk");
    open(path);
    EXPECT_EQ(editor.fileKind(), FileKind::Executable);
    EXPECT_EQ(editor.currentFileLabel(), "Current File: " + lowered(path) + " [US1.03]");
}

TEST_F(EditorFlow, FailedOpenLeavesTheOpenFileAndItsModel)
{
    const std::string exe = makeExe("vrn.exe");
    open(exe);
    editor.click(Kind::Talon, true); // an unsaved edit survives too
    const Flags before = editor.model().currentFlags();
    const std::string label = editor.currentFileLabel();
    boxes();

    auto expectUnchanged = [&] {
        EXPECT_EQ(editor.fileKind(), FileKind::Executable);
        EXPECT_EQ(editor.currentFile(), exe);
        EXPECT_EQ(editor.currentFileLabel(), label);
        EXPECT_EQ(editor.model().currentFlags(), before);
        EXPECT_EQ(editor.model().remainingEntries(), 179);
        EXPECT_EQ(editor.model().loadedRemaining(), 180);
    };

    // Neither a known build nor a Brackel file.
    writeFile(dir.file("notes.txt"), "just some text\r\n");
    ui.chooseFile(dir.file("notes.txt"));
    ui.answer(Answer::Ok);
    editor.open();
    EXPECT_EQ(boxes(), std::vector<Box>{kWrongFormat});
    expectUnchanged();

    // A Brackel file with a weapon position outside 00..64.
    std::vector<std::string> lines = brkLines(Flags{}, 182);
    lines.push_back("65=11111111");
    writeFile(dir.file("bad.brk"), platform::joinLines(lines));
    ui.chooseFile(dir.file("bad.brk"));
    ui.answer(Answer::Ok);
    editor.open();
    auto shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_EQ(shown[0].text.rfind("Could not open file,\r" + dir.file("bad.brk") + "\r", 0), 0u);
    EXPECT_NE(shown[0].text.find("line 72"), std::string::npos);
    expectUnchanged();

    // An executable that cannot be opened, and a file that cannot be read.
    const std::string locked = makeExe("locked.exe");
    files.failOpen.insert(locked);
    writeFile(dir.file("unreadable.brk"), "[head]\r\nmode=brackel\r\n");
    files.failRead.insert(dir.file("unreadable.brk"));
    for (const std::string& path : {locked, dir.file("unreadable.brk")}) {
        ui.chooseFile(path);
        ui.answer(Answer::Ok);
        editor.open();
        shown = boxes();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].title, "Error");
        EXPECT_NE(shown[0].text.find(path), std::string::npos);
        expectUnchanged();
    }

    // A file that vanished between the dialog and the read.
    ui.chooseFile(dir.file("gone.exe"));
    ui.answer(Answer::Ok);
    editor.open();
    EXPECT_EQ(boxes().size(), 1u);
    expectUnchanged();
}

TEST_F(EditorFlow, SaveExecutablePatchesOnlyTheTable)
{
    const std::string path = makeExe("vrn.exe");
    const std::string before = readFile(path);
    open(path);
    editor.click(Kind::Silencer, false); // weapon 1 has none: nothing changes
    editor.selectWeapon(4);
    editor.click(Kind::Silencer, false);
    editor.click(Kind::Extender, true);
    ui.answer(Answer::Ok);
    editor.save();
    EXPECT_EQ(boxes(), (std::vector<Box>{kLoaded, kSaved}));

    const std::string after = readFile(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, kUs103Table), before.substr(0, kUs103Table));
    EXPECT_EQ(after.substr(kUs103Table + kTableBytes), before.substr(kUs103Table + kTableBytes));
    // Bipod on weapon 20, then the extender on weapon 5, then free entries.
    const std::string table = after.substr(kUs103Table, kTableBytes);
    EXPECT_EQ(table.substr(0, 8), std::string("\xD1\x00\x14\x00\x36\x01\x05\x00", 8));
    EXPECT_EQ(table.substr(8), std::string(kTableBytes - 8, '\xFF'));
    EXPECT_EQ(editor.currentFileLabel(), "Current File: " + lowered(path) + " [US1.03]");
}

TEST_F(EditorFlow, SaveRefusesAnExecutableThatChangedOrCannotBeWritten)
{
    const std::string path = makeExe("vrn.exe");
    open(path);
    boxes();

    files.failWrite.insert(path);
    const std::string before = readFile(path);
    ui.answer(Answer::Ok);
    editor.save();
    auto shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_NE(shown[0].text.find(path), std::string::npos);
    EXPECT_EQ(readFile(path), before);
    files.failWrite.clear();

    writeFile(path, readFile(path) + "x"); // one byte more: a length no build has
    ui.answer(Answer::Ok);
    editor.save();
    EXPECT_EQ(boxes(), std::vector<Box>{kUnknownVersion});
    EXPECT_EQ(editor.fileKind(), FileKind::Executable);
}

TEST_F(EditorFlow, MoreFlagsThanTheTableHoldsAreRefusedAndNothingIsWritten)
{
    Flags all;
    for (const KindInfo& k : kKinds)
        for (int p = 0; p < 30; ++p)
            all.set(k.kind, p, true); // 240 entries
    open(makeBrk("all.brk", all, 0));
    const std::string exe = makeExe("vrn.exe");
    const std::string before = readFile(exe);
    boxes();

    ui.chooseFile(exe, 1);
    ui.answer(Answer::Ok);
    editor.saveAs();
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_NE(shown[0].text.find("240"), std::string::npos);
    EXPECT_EQ(readFile(exe), before);
    EXPECT_EQ(editor.fileKind(), FileKind::Brk); // still the Brackel file
}

TEST_F(EditorFlow, SaveAsExecutable)
{
    open(makeExe("vrn.exe"));
    boxes();

    // Title, filter and the empty initial name of the save dialog.
    ui.cancelDialog();
    editor.saveAs();
    ASSERT_EQ(ui.dialogs().size(), 1u);
    EXPECT_TRUE(ui.dialogs()[0].save);
    EXPECT_EQ(ui.dialogs()[0].options.title, "Save as...");
    EXPECT_EQ(ui.dialogs()[0].options.filter, "VRN-Exe (*.exe)|*.exe|Brackel-File (*.brk)|*.brk");
    EXPECT_EQ(ui.dialogs()[0].options.initialName, "");
    EXPECT_TRUE(boxes().empty());

    // Never created.
    ui.chooseFile(dir.file("new.exe"), 1);
    ui.answer(Answer::Ok);
    editor.saveAs();
    EXPECT_EQ(boxes(), (std::vector<Box>{{"This file does not exist. You have\rto select a existing vrn.exe !",
                                          "File not found", Buttons::Ok}}));
    EXPECT_FALSE(files.isFile(dir.file("new.exe")));

    // Of no known build.
    writeFile(dir.file("other.exe"), "MZ");
    ui.chooseFile(dir.file("other.exe"), 1);
    ui.answer(Answer::Ok);
    editor.saveAs();
    EXPECT_EQ(boxes(), std::vector<Box>{kUnknownVersion});
    EXPECT_EQ(readFile(dir.file("other.exe")), "MZ");

    // Another build: patched, and now the current file.
    std::string de = testsupport::patternBytes(2719775, 7); // "[DE1.05]"
    writeFile(dir.file("DE.exe"), de);
    ui.chooseFile(dir.file("DE.exe"), 1);
    ui.answer(Answer::Ok);
    editor.saveAs();
    EXPECT_EQ(boxes(), std::vector<Box>{kSaved});
    EXPECT_EQ(editor.currentFile(), dir.file("DE.exe"));
    EXPECT_EQ(editor.currentFileLabel(), "Current File: " + lowered(dir.file("DE.exe")) + " [DE1.05]");
    const std::string after = readFile(dir.file("DE.exe"));
    ASSERT_EQ(after.size(), de.size());
    EXPECT_EQ(after.substr(0x21DF5C, 8), std::string("\xCF\x00\x05\x00\xD1\x00\x14\x00", 8));
    EXPECT_EQ(after.substr(0, 0x21DF5C), de.substr(0, 0x21DF5C));
    EXPECT_EQ(after.substr(0x21DF5C + kTableBytes), de.substr(0x21DF5C + kTableBytes));
}

TEST_F(EditorFlow, SaveAsBrkAsksBeforeReplacingAndThenSaveWritesTheBrk)
{
    const std::string exe = makeExe("vrn.exe");
    open(exe);
    const std::string exeBytes = readFile(exe);
    const std::string target = dir.file("Mine.brk");
    writeFile(target, "old contents");
    boxes();

    const Box question{target + "\rThis file is already existing.\r\rDo you want to replace it ?", "Save as...",
                       Buttons::YesNo};
    ui.chooseFile(target, 2);
    ui.answer(Answer::No);
    editor.saveAs();
    EXPECT_EQ(boxes(), std::vector<Box>{question});
    EXPECT_EQ(readFile(target), "old contents");
    EXPECT_EQ(editor.fileKind(), FileKind::Executable);

    // A failed write keeps the old file whole and the state as it was.
    files.failReplace.insert(target);
    ui.chooseFile(target, 2);
    ui.answer(Answer::Yes);
    ui.answer(Answer::Ok);
    editor.saveAs();
    EXPECT_EQ(boxes().size(), 2u);
    EXPECT_EQ(readFile(target), "old contents");
    EXPECT_EQ(editor.fileKind(), FileKind::Executable);
    files.failReplace.clear();

    ui.chooseFile(target, 2);
    ui.answer(Answer::Yes);
    ui.answer(Answer::Ok);
    editor.saveAs();
    EXPECT_EQ(boxes(), (std::vector<Box>{question, kSaved}));
    EXPECT_EQ(editor.fileKind(), FileKind::Brk);
    EXPECT_EQ(editor.currentFileLabel(), "Current File: " + lowered(target) + " [BRK-File]");
    auto lines = platform::splitLines(readFile(target));
    ASSERT_EQ(lines.size(), 71u);
    EXPECT_EQ(lines[3], "addons=180");
    EXPECT_EQ(lines[6 + 4], "04=10000000");
    EXPECT_EQ(lines[6 + 19], "19=00001000");

    // Once saved as a Brackel file, Save writes that file, not the executable.
    editor.click(Kind::Duckbill, true);
    ui.answer(Answer::Ok);
    editor.save();
    EXPECT_EQ(boxes(), std::vector<Box>{kSaved});
    EXPECT_EQ(platform::splitLines(readFile(target))[6], "00=01000000");
    EXPECT_EQ(readFile(exe), exeBytes);

    // Saving into a new name asks nothing; the kind comes from the filter, not the name.
    ui.chooseFile(dir.file("rules.exe"), 2);
    ui.answer(Answer::Ok);
    editor.saveAs();
    EXPECT_EQ(boxes(), std::vector<Box>{kSaved});
    EXPECT_EQ(platform::splitLines(readFile(dir.file("rules.exe")))[1], "mode=brackel");
}

TEST_F(EditorFlow, SaveOfABrkFileThatCannotBeWrittenKeepsTheOldFile)
{
    const std::string path = makeBrk("keep.brk", Flags{}, 182);
    const std::string before = readFile(path);
    open(path);
    editor.click(Kind::Bipod, true);
    boxes();
    files.failReplace.insert(path);
    ui.answer(Answer::Ok);
    editor.save();
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_EQ(readFile(path), before);
}

TEST_F(EditorFlow, SaveAsBrkNeverReplacesAGameFileOrAnyFileThatIsNotText)
{
    const std::string exe = makeExe("vrn.exe");
    open(exe);
    boxes();
    std::vector<testsupport::NotOurs> targets = testsupport::filesNeverReplaced();
    targets.insert(targets.begin(), {"vrn.exe", readFile(exe), "is the game executable [US1.03]"});
    for (const testsupport::NotOurs& target : targets) {
        SCOPED_TRACE(target.name);
        const std::string path = dir.file(target.name);
        writeFile(path, target.bytes);
        // Refused before the question whether to replace it; nothing changes.
        ui.chooseFile(path, 2);
        ui.answer(Answer::Ok);
        editor.saveAs();
        EXPECT_EQ(boxes(), (std::vector<Box>{{path + "\rThis file " + target.why +
                                                  "; it is never replaced by a text file.\rNothing was written.",
                                              "Error", Buttons::Ok}}));
        EXPECT_EQ(readFile(path), target.bytes);
        EXPECT_EQ(editor.currentFile(), exe);
        EXPECT_EQ(editor.fileKind(), FileKind::Executable);
    }

    // A text file of ours is replaced once the user says so.
    writeFile(dir.file("notes.brk"), "old rules\r\n");
    ui.chooseFile(dir.file("notes.brk"), 2);
    ui.answer(Answer::Yes);
    ui.answer(Answer::Ok);
    editor.saveAs();
    EXPECT_EQ(boxes().size(), 2u);
    EXPECT_EQ(editor.fileKind(), FileKind::Brk);
    EXPECT_NE(readFile(dir.file("notes.brk")).find("mode=brackel"), std::string::npos);

    // Save of a .brk that has since become a game file is refused too.
    writeFile(dir.file("notes.brk"), std::string(280800, 'i'));
    ui.answer(Answer::Ok);
    editor.save();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(readFile(dir.file("notes.brk")), std::string(280800, 'i'));
}

TEST_F(EditorFlow, CloseAsksAndEmptiesTheModel)
{
    open(makeExe("vrn.exe"));
    boxes();
    const Box question{"Are you sure ?", "Close File", Buttons::YesNo};

    ui.answer(Answer::No);
    editor.close();
    EXPECT_EQ(boxes(), std::vector<Box>{question});
    EXPECT_TRUE(editor.fileOpen());

    ui.answer(Answer::Yes);
    editor.close();
    EXPECT_EQ(boxes(), std::vector<Box>{question});
    EXPECT_FALSE(editor.fileOpen());
    EXPECT_EQ(editor.currentFileLabel(), "Current File: -None-");
    EXPECT_EQ(editor.model().currentFlags(), Flags{});
    EXPECT_EQ(editor.model().remainingEntries(), 182);

    // Without a file, Save, Save as and Close do nothing and show nothing.
    editor.save();
    editor.saveAs();
    editor.close();
    EXPECT_TRUE(boxes().empty());
}

TEST_F(EditorFlow, ClearAllThenResetAllAskFirst)
{
    open(makeExe("vrn.exe"));
    editor.selectWeapon(4);
    editor.click(Kind::Silencer, false);
    editor.click(Kind::Talon, true);
    boxes();

    ui.answer(Answer::No);
    editor.clearAll();
    EXPECT_TRUE(editor.model().currentFlags().get(Kind::Talon, 4));

    ui.answer(Answer::Yes);
    editor.clearAll();
    EXPECT_EQ(editor.model().currentFlags(), Flags{});
    EXPECT_EQ(editor.model().remainingEntries(), 182);

    ui.answer(Answer::No);
    editor.resetAll();
    EXPECT_EQ(editor.model().remainingEntries(), 182);

    ui.answer(Answer::Yes);
    editor.resetAll();
    EXPECT_EQ(editor.model().currentFlags(), editor.model().loadedFlags());
    EXPECT_TRUE(editor.model().currentFlags().get(Kind::Silencer, 4));
    EXPECT_FALSE(editor.model().currentFlags().get(Kind::Talon, 4));
    EXPECT_EQ(editor.model().remainingEntries(), 180);

    EXPECT_EQ(boxes(), (std::vector<Box>{
                           {"Are you sure ? All entries will be cleared !", "Clear all ?", Buttons::YesNo},
                           {"Are you sure ? All entries will be cleared !", "Clear all ?", Buttons::YesNo},
                           {"Are you sure ? All entries will be reseted !", "Reset all ?", Buttons::YesNo},
                           {"Are you sure ? All entries will be reseted !", "Reset all ?", Buttons::YesNo},
                       }));
}

// A save onto the open executable after another program (brk-apply, or a
// second window) patched its table: weapon by weapon against the table as
// this window read or last wrote it.
class EditorMerge : public EditorFlow {
protected:
    /// The executable's bytes with the table written for these flags.
    std::string withTable(const Flags& flags) const
    {
        std::string bytes = original;
        const TableBytes table = *encodeTable(flags);
        bytes.replace(kUs103Table, kTableBytes, reinterpret_cast<const char*>(table.data()), kTableBytes);
        return bytes;
    }

    void tick(int position, Kind kind, bool on = true)
    {
        editor.selectWeapon(position);
        editor.click(kind, on);
    }

    /// Save, or Save as onto the open file (by the name `as`), answering the
    /// boxes in order.
    void save(std::initializer_list<Answer> answers, const std::string& as = {})
    {
        if (!as.empty())
            ui.chooseFile(as, 1);
        for (Answer a : answers)
            ui.answer(a);
        as.empty() ? editor.save() : editor.saveAs();
        EXPECT_EQ(ui.pendingAnswers(), 0u);
    }

    static Box savedKeeping(const std::string& path)
    {
        return {"File successfully saved\r1 change that another program made to " + path +
                    " since it was opened here was kept; the window now shows the file as it is.",
                "Success", Buttons::Ok};
    }

    const std::string exe = makeExe("vrn.exe");
    const std::string original = readFile(exe);
    const Flags opened = loadRules(files, exe)->flags; // silencer on 4, bipod on 19
};

TEST_F(EditorMerge, SaveKeepsAnotherProgramsChangeToAnotherWeapon)
{
    // Save, Save as onto the open file, and onto it by another name.
    const std::string spelled = platform::joinPath(platform::joinPath(dir.path(), "."), "vrn.exe");
    for (const std::string& as : {std::string(), exe, spelled}) {
        SCOPED_TRACE(as);
        writeFile(exe, original);
        open(exe);
        tick(7, Kind::LaserScope);
        Flags both = opened;
        both.set(Kind::Duckbill, 30, true);
        ASSERT_TRUE(bool(applyRules(files, exe, both)));
        both.set(Kind::LaserScope, 7, true);
        boxes();

        save({Answer::Ok}, as);
        EXPECT_EQ(boxes(), std::vector<Box>{savedKeeping(as.empty() ? exe : as)});
        EXPECT_TRUE(readFile(exe) == withTable(both));
        EXPECT_EQ(editor.model().currentFlags(), both);
        EXPECT_EQ(editor.model().remainingEntries(), 178);

        // Nothing new elsewhere since: the plain message.
        tick(8, Kind::Bipod);
        both.set(Kind::Bipod, 8, true);
        save({Answer::Ok}, as);
        EXPECT_EQ(boxes(), std::vector<Box>{kSaved});
        EXPECT_TRUE(readFile(exe) == withTable(both));
    }
}

TEST_F(EditorMerge, AConflictIsAskedOnceNoWritesNothingYesKeepsTheOtherChanges)
{
    writeFile(dir.file("names.def"),
              "[head]\r\nmode=velloc-a\r\n\r\n[01]\r\nname=Glock 17\r\n\r\n[05]\r\nname=Sidearm\r\n");
    ASSERT_TRUE(editor.readNames());
    open(exe);
    tick(0, Kind::Silencer);
    tick(4, Kind::Silencer, false);
    tick(4, Kind::LaserScope);
    tick(10, Kind::Bipod); // the same change on both sides: no question
    const Flags ours = editor.model().currentFlags();
    Flags theirs = opened;
    theirs.set(Kind::Talon, 0, true);
    theirs.set(Kind::Talon, 4, true);
    theirs.set(Kind::Bipod, 10, true);
    theirs.set(Kind::Duckbill, 30, true); // theirs alone: kept
    ASSERT_TRUE(bool(applyRules(files, exe, theirs)));
    const std::string theirsBytes = readFile(exe);
    boxes();

    save({Answer::No});
    auto shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    expectConflictBox(shown[0], exe, "0: Glock 17, 4: Sidearm");
    EXPECT_TRUE(readFile(exe) == theirsBytes);
    EXPECT_TRUE(readFile(exe + ".bak") == original);
    EXPECT_EQ(editor.model().currentFlags(), ours);

    save({Answer::Yes, Answer::Ok});
    shown = boxes();
    ASSERT_EQ(shown.size(), 2u);
    expectConflictBox(shown[0], exe, "0: Glock 17, 4: Sidearm");
    EXPECT_EQ(shown[1], savedKeeping(exe));
    Flags merged = theirs;
    for (const KindInfo& k : kKinds)
        for (int position : {0, 4})
            merged.set(k.kind, position, ours.get(k.kind, position));
    EXPECT_TRUE(readFile(exe) == withTable(merged));
    EXPECT_EQ(editor.model().currentFlags(), merged);
}

// Each side fits the table; both together do not.
TEST_F(EditorMerge, MergedRulesOverTheTableAreRefusedAndNothingIsWritten)
{
    open(exe);
    for (int position = 20; position < 29; ++position)
        for (const KindInfo& k : kKinds)
            tick(position, k.kind); // 72 entries more: 74 of 182
    const Flags ours = editor.model().currentFlags();
    Flags theirs = opened;
    for (int position = 45; position < 60; ++position)
        for (const KindInfo& k : kKinds)
            theirs.set(k.kind, position, true); // 120 more: 122
    ASSERT_TRUE(bool(applyRules(files, exe, theirs)));
    const std::string theirsBytes = readFile(exe);
    boxes();

    save({Answer::Ok});
    EXPECT_EQ(boxes(), (std::vector<Box>{{"Too many attachments are allowed: 194 entries are needed,\rbut the table "
                                          "of the game holds only 182.\rClear 12 of them and save again. Nothing "
                                          "was written.",
                                          "Error", Buttons::Ok}}));
    EXPECT_TRUE(readFile(exe) == theirsBytes);
    EXPECT_EQ(editor.model().currentFlags(), ours);
    EXPECT_EQ(editor.model().remainingEntries(), 108);
}

// Save as onto another executable, from an executable or a .brk file, has
// nothing to merge with: that table becomes the window's wholly. Its next
// Save, as the open file, merges.
TEST_F(EditorMerge, SaveAsOntoAnotherExecutableWritesItsWholeTableThenMergesThere)
{
    const std::string target = dir.file("other.exe");
    for (const std::string& from : {exe, makeBrk("rules.brk", opened, 180)}) {
        SCOPED_TRACE(from);
        Flags elsewhere;
        elsewhere.set(Kind::Extender, 40, true);
        writeFile(target, withTable(elsewhere));
        open(from);
        tick(7, Kind::LaserScope);
        Flags both = editor.model().currentFlags();
        boxes();
        ui.chooseFile(target, 1);
        ui.answer(Answer::Ok);
        editor.saveAs();
        EXPECT_EQ(boxes(), std::vector<Box>{kSaved});
        EXPECT_TRUE(readFile(target) == withTable(both));

        both.set(Kind::Duckbill, 30, true);
        ASSERT_TRUE(bool(applyRules(files, target, both)));
        tick(8, Kind::Bipod);
        both.set(Kind::Bipod, 8, true);
        ui.answer(Answer::Ok);
        editor.save();
        EXPECT_EQ(boxes(), std::vector<Box>{savedKeeping(target)});
        EXPECT_TRUE(readFile(target) == withTable(both));
        EXPECT_EQ(editor.model().currentFlags(), both);
    }
}

TEST_F(EditorMerge, TwoWindowsOnOneFileKeepEachOthersChanges)
{
    Editor second{ui};
    open(exe);
    ui.chooseFile(exe);
    ui.answer(Answer::Ok);
    second.open();
    boxes();
    tick(7, Kind::LaserScope);
    second.selectWeapon(9);
    second.click(Kind::Bipod, true);
    Flags both = opened;
    both.set(Kind::LaserScope, 7, true);
    both.set(Kind::Bipod, 9, true);

    save({Answer::Ok});
    EXPECT_EQ(boxes(), std::vector<Box>{kSaved});
    ui.answer(Answer::Ok);
    second.save();
    EXPECT_EQ(boxes(), std::vector<Box>{savedKeeping(exe)});
    EXPECT_TRUE(readFile(exe) == withTable(both));
    EXPECT_EQ(second.model().currentFlags(), both);

    // And back: the first window's next save keeps the second's change.
    tick(11, Kind::Talon);
    both.set(Kind::Talon, 11, true);
    save({Answer::Ok});
    EXPECT_EQ(boxes(), std::vector<Box>{savedKeeping(exe)});
    EXPECT_TRUE(readFile(exe) == withTable(both));
    EXPECT_EQ(editor.model().currentFlags(), both);
}

} // namespace
} // namespace brackel
