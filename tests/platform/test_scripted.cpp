// The scripted platform that tests drive the programs' flows with.

// standard
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "platform/scriptedplatform.h"

using namespace platform;
using Box = ScriptedPlatform::Box;

namespace {

TEST(ScriptedPlatform, AnswersInOrderAndRecordsWhatWasShown)
{
    ScriptedPlatform p("Brackel");
    p.answer(Answer::Yes);
    p.chooseFile("/data/vrn.exe", 2);
    p.answer(Answer::Cancel);
    p.cancelDialog();

    EXPECT_EQ(p.message("Replace?\r\nSure", "", Buttons::YesNo), Answer::Yes);
    FileDialogOptions open{"Open", "Programs|*.exe|All|*.*", "vrn.exe", "/data", 1, "", true};
    auto chosen = p.openFileDialog(open);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path, "/data/vrn.exe");
    EXPECT_EQ(chosen->filterIndex, 2);
    EXPECT_EQ(p.message("Go on?", "Question", Buttons::OkCancel), Answer::Cancel);
    EXPECT_FALSE(p.saveFileDialog({"Save as", "", "", "", 1, "", false}));

    EXPECT_EQ(p.boxes(), (std::vector<Box>{{"Replace?\r\nSure", "Brackel", Buttons::YesNo},
                                           {"Go on?", "Question", Buttons::OkCancel}}));
    ASSERT_EQ(p.dialogs().size(), 2u);
    EXPECT_FALSE(p.dialogs()[0].save);
    EXPECT_EQ(p.dialogs()[0].options.filter, "Programs|*.exe|All|*.*");
    EXPECT_TRUE(p.dialogs()[1].save);
    EXPECT_EQ(p.dialogs()[1].options.title, "Save as");
    EXPECT_TRUE(p.failures().empty());
    EXPECT_EQ(p.pendingAnswers(), 0u);
}

TEST(ScriptedPlatform, UnexpectedBoxesAreReportedAndAnsweredSafely)
{
    struct Case {
        Buttons buttons;
        Answer safe;
    };
    for (const auto& c : {Case{Buttons::Ok, Answer::Ok}, Case{Buttons::OkCancel, Answer::Cancel},
                          Case{Buttons::YesNo, Answer::No}}) {
        ScriptedPlatform p("Velloc");
        EXPECT_EQ(p.message("Delete all?", "", c.buttons), c.safe);
        EXPECT_EQ(p.failures(), std::vector<std::string>{"unexpected message box: Velloc: Delete all?"});
        EXPECT_EQ(p.boxes().size(), 1u);
    }
}

TEST(ScriptedPlatform, StepsOfTheWrongKindAreReported)
{
    ScriptedPlatform p;
    std::vector<std::string> reported;
    p.setFailureHandler([&](const std::string& what) { reported.push_back(what); });

    // A file choice queued where a box comes stays for the dialog after it.
    p.chooseFile("/a.txt");
    EXPECT_EQ(p.message("Saved.", "Done", Buttons::Ok), Answer::Ok);
    EXPECT_EQ(p.pendingAnswers(), 1u);
    EXPECT_EQ(p.openFileDialog({"Open", "", "", "", 1, "", false})->path, "/a.txt");

    // An answer queued where a dialog comes is refused and stays queued.
    p.answer(Answer::Yes);
    EXPECT_FALSE(p.saveFileDialog({"Save", "", "", "", 1, "", false}));
    EXPECT_EQ(p.pendingAnswers(), 1u);
    // An answer that is not one of the box's buttons is used up.
    EXPECT_EQ(p.message("Done.", "", Buttons::Ok), Answer::Ok);
    EXPECT_EQ(p.pendingAnswers(), 0u);
    p.answer(Answer::Ok);
    EXPECT_EQ(p.message("Really?", "Q", Buttons::YesNo), Answer::No);

    EXPECT_EQ(reported, (std::vector<std::string>{"unexpected message box: Done: Saved.",
                                                  "unexpected save dialog: Save",
                                                  "answer Yes does not fit message box: Test: Done.",
                                                  "answer Ok does not fit message box: Q: Really?"}));
    EXPECT_TRUE(p.failures().empty());

    p.setFailureHandler(nullptr);
    EXPECT_FALSE(p.openFileDialog({"Open", "", "", "", 1, "", false}));
    EXPECT_EQ(p.failures(), std::vector<std::string>{"unexpected open dialog: Open"});
}

TEST(ScriptedPlatform, ClearRecordForgetsWhatWasShownButNotWhatIsQueued)
{
    ScriptedPlatform p;
    p.setWorkingFolder("/work");
    ASSERT_TRUE(p.openUrl("https://example.org/"));
    (void)p.message("x", "", Buttons::Ok);
    (void)p.openFileDialog({});
    p.answer(Answer::No);
    EXPECT_EQ(p.openedUrls(), std::vector<std::string>{"https://example.org/"});
    EXPECT_EQ(p.failures().size(), 2u);

    p.clearRecord();
    EXPECT_TRUE(p.boxes().empty());
    EXPECT_TRUE(p.dialogs().empty());
    EXPECT_TRUE(p.failures().empty());
    EXPECT_TRUE(p.openedUrls().empty());
    EXPECT_EQ(p.pendingAnswers(), 1u);
    EXPECT_EQ(p.workingFolder(), "/work");
}

} // namespace
