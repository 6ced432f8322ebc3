// The scripted platform that tests drive the programs' flows with.

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "tests/support/scriptedplatform.h"

using namespace platform;
using Strings = std::vector<std::string>;

namespace {

TEST(ScriptedPlatform, AnswersInOrderAndRecordsWhatWasShown)
{
    ScriptedPlatform p("Brackel");
    p.answer(Answer::Yes);
    p.chooseFile("/data/vrn.exe", 2);
    p.answer(Answer::Cancel);
    p.cancelDialog();

    EXPECT_EQ(p.message("Replace?\r\nSure", "", Buttons::YesNo), Answer::Yes);
    auto chosen = p.openFileDialog({"Open", "Programs|*.exe", "vrn.exe", "/data", 1, "", true});
    EXPECT_EQ(chosen->path, "/data/vrn.exe");
    EXPECT_EQ(chosen->filterIndex, 2);
    EXPECT_EQ(p.message("Go on?", "Question", Buttons::OkCancel), Answer::Cancel);
    EXPECT_FALSE(p.saveFileDialog({"Save as", "", "", "", 1, "", false}));

    EXPECT_EQ(p.boxes(), (std::vector<ScriptedPlatform::Box>{{"Replace?\r\nSure", "Brackel", Buttons::YesNo},
                                                             {"Go on?", "Question", Buttons::OkCancel}}));
    ASSERT_EQ(p.dialogs().size(), 2u);
    EXPECT_EQ(p.dialogs()[0].options.filter, "Programs|*.exe");
    EXPECT_TRUE(p.dialogs()[1].save);
    EXPECT_TRUE(p.failures().empty());
    EXPECT_EQ(p.pendingAnswers(), 0u);
}

TEST(ScriptedPlatform, AMessageKeepsItsLinesUntilItsProgramsBoxJoinsThem)
{
    const Status failure =
        Status::failure({"Could not open file,", "vrn.exe", "", "The table is damaged"}, "damaged", "vrn.exe")
            .nothingWritten();
    EXPECT_EQ(failure.message().lines(),
              (Strings{"Could not open file,", "vrn.exe", "", "The table is damaged", "Nothing was written."}));
    EXPECT_EQ(failure.reason(), "damaged. Nothing was written.");
    EXPECT_EQ(failure.error(), "Could not open file,\nvrn.exe\n\nThe table is damaged\nNothing was written.");

    ScriptedPlatform brackel("Brackel");
    ScriptedPlatform kestrin("Kestrin", LineBreak::CrLf);
    for (ScriptedPlatform* p : {&brackel, &kestrin}) {
        p->answer(Answer::Ok);
        p->message(failure.message(), "Error", Buttons::Ok);
    }
    EXPECT_EQ(brackel.boxes().at(0).text, "Could not open file,\rvrn.exe\r\rThe table is damaged\rNothing was written.");
    EXPECT_EQ(kestrin.boxes().at(0).text,
              "Could not open file,\r\nvrn.exe\r\n\r\nThe table is damaged\r\nNothing was written.");

    // A failure always says something, however it was made.
    for (const Message& empty : {Message(), Message(""), Message{"", ""}}) {
        const Status s = Status::failure(empty);
        EXPECT_FALSE(s);
        EXPECT_EQ(s.message().lines(), Strings{"Unknown error"});
    }
}

TEST(ScriptedPlatform, UnexpectedOrUnfittingStepsAreReportedAndAnsweredSafely)
{
    ScriptedPlatform p("Velloc");
    EXPECT_EQ(p.message("A", "", Buttons::Ok), Answer::Ok);
    EXPECT_EQ(p.message("B", "", Buttons::OkCancel), Answer::Cancel);
    EXPECT_EQ(p.message("C", "", Buttons::YesNo), Answer::No);

    Strings reported;
    p.setFailureHandler([&](const std::string& what) { reported.push_back(what); });
    p.chooseFile("/a.txt"); // stays queued past the box for the dialog after it
    EXPECT_EQ(p.message("Saved.", "Done", Buttons::Ok), Answer::Ok);
    EXPECT_EQ(p.openFileDialog({"Open", "", "", "", 1, "", false})->path, "/a.txt");
    p.answer(Answer::Yes); // refused by the dialog, then used up by a box it does not fit
    EXPECT_FALSE(p.saveFileDialog({"Save", "", "", "", 1, "", false}));
    EXPECT_EQ(p.message("Done.", "", Buttons::Ok), Answer::Ok);
    p.answer(Answer::Ok);
    EXPECT_EQ(p.message("Really?", "Q", Buttons::YesNo), Answer::No);
    EXPECT_EQ(p.pendingAnswers(), 0u);

    EXPECT_EQ(p.failures(), (Strings{"unexpected message box: Velloc: A", "unexpected message box: Velloc: B",
                                     "unexpected message box: Velloc: C"}));
    EXPECT_EQ(reported, (Strings{"unexpected message box: Done: Saved.", "unexpected save dialog: Save",
                                 "answer Yes does not fit message box: Velloc: Done.",
                                 "answer Ok does not fit message box: Q: Really?"}));

    ASSERT_TRUE(p.openUrl("https://example.org/"));
    p.answer(Answer::No);
    p.clearRecord(); // forgets what was shown, not what is queued
    EXPECT_TRUE(p.boxes().empty() && p.dialogs().empty() && p.failures().empty() && p.openedUrls().empty());
    EXPECT_EQ(p.pendingAnswers(), 1u);
}

} // namespace
