// Kestrin's main and name windows driven as a user drives them: the start
// state, path selection, where the other windows open, key filters and
// pasted text, change rules, steppers through their timers, lists and radio
// buttons, read and save through the buttons, the quit question and the
// banner.

// Qt
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

// ours
#include "kestrin/core/profilerecord.h"
#include "kestrin/windows/helpform.h"
#include "kestrin/windows/mainform.h"
#include "kestrin/windows/nameform.h"
#include "kestrin/windows/windowset.h"
#include "platform/codepage.h"
#include "tests/support/controls.h"
#include "tests/support/scriptedplatform.h"
#include "tests/support/tempdir.h"
#include "kestrin/widgets/flatspeedbutton.h"

using namespace kestrin;
using platform::Answer;
using platform::Buttons;
using Box = platform::ScriptedPlatform::Box;

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsWithFileButtonsDisabled();
    void choosingAPathEnablesTheButtons();
    void aStartFileIsTakenAsThePathUnread();
    void windowsOpenOverTheMainWindowOnce();
    void keyFiltersSwallowOtherCharacters();
    void nameRefusesTextASaveCannotWrite();
    void healthRuleAndConversionError();
    void steppersStepOnTheirTimers();
    void aFailingStepperStopsAtOnce();
    void listsAndRadioButtonsSetTheirCodes();
    void readThenSaveThroughTheButtons();
    void gameFilesAreNeitherReadNorSaved();
    void quitAsksFirst();
    void bannerOpensTheWebPage();

private:
    template <class T>
    T* find(QWidget* window, const char* name) const { return testsupport::control<T>(window, name); }
    QLineEdit* field(const char* name) const { return find<QLineEdit>(main, name); }
    QTimer* timer(const char* name) const { return main->findChild<QTimer*>(name); }
    void choosePath();
    /// Ticks a stepper: press the button, fire its timer `ticks` times, release.
    QStringList hold(const char* button, const char* timerName, const char* target, int ticks);

    testsupport::TempDir* dir = nullptr;
    platform::ScriptedPlatform* ui = nullptr;
    Application* app = nullptr;
    TMainForm* main = nullptr;
};

void MainFormTest::init()
{
    dir = new testsupport::TempDir;
    ui = new platform::ScriptedPlatform("Kestrin 1.03", platform::LineBreak::CrLf);
    ui->setFailureHandler([](const std::string& what) { QFAIL(what.c_str()); });
    app = new Application(*ui, platform::CodePage::system());
    main = app->windows().main();
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));
}

void MainFormTest::cleanup()
{
    QCOMPARE(ui->pendingAnswers(), std::size_t(0));
    delete app;
    delete ui;
    delete dir;
}

void MainFormTest::choosePath()
{
    // An IMP.dat with voice 52, Health 10, experience 0, trait 11 and attitude 9.
    std::string bytes = testsupport::profileBytes(600);
    bytes[record::kVoice] = 52;
    bytes[record::kAttributeOffsets[int(Attribute::Health)]] = 10;
    bytes[record::kAttributeOffsets[int(Attribute::Experience)]] = 0;
    bytes[record::kTrait1] = 11;
    bytes[record::kAttitude] = 9;
    testsupport::writeFile(dir->file("IMP.dat"), bytes);
    ui->chooseFile(dir->file("IMP.dat"));
    find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton31")->click();
}

QStringList MainFormTest::hold(const char* button, const char* timerName, const char* target, int ticks)
{
    auto* b = find<kestrin::flat::FlatSpeedButton>(main, button);
    QTest::mousePress(b, Qt::RightButton); // any mouse button steps
    QTimer* t = timer(timerName);
    QStringList texts;
    if (!t || !t->isActive() || t->interval() != 200)
        return texts;
    for (int i = 0; i < ticks && t->isActive(); ++i) {
        QMetaObject::invokeMethod(t, "timeout");
        texts << field(target)->text();
    }
    QTest::mouseRelease(b, Qt::RightButton);
    if (t->isActive())
        texts << "still repeating";
    return texts;
}

void MainFormTest::startsWithFileButtonsDisabled()
{
    QCOMPARE(main->windowTitle(), QString("Kestrin - Version 1.03"));
    for (const char* name : {"FlatSpeedButton23", "FlatSpeedButton24", "FlatSpeedButton25", "FlatSpeedButton26",
                             "FlatSpeedButton28", "FlatSpeedButton29"})
        QVERIFY2(!find<QWidget>(main, name)->isEnabled(), name);
    for (const char* name : {"FlatSpeedButton27", "FlatSpeedButton31", "FlatSpeedButton30"})
        QVERIFY2(find<QWidget>(main, name)->isEnabled(), name);
    QCOMPARE(field("SpinHealth")->text(), QString("50"));
    QCOMPARE(field("SpinExperience")->text(), QString("5"));
    QCOMPARE(find<QComboBox>(main, "ListTrait1")->count(), 15);
    QCOMPARE(find<QComboBox>(main, "ListTrait2")->currentText(), QString("None"));
    QCOMPARE(find<QComboBox>(main, "ListPersonality")->itemText(3), QString("Claustrophibic"));
    QCOMPARE(find<QComboBox>(main, "ListAttitude")->count(), 9);
    for (QRadioButton* radio : main->findChildren<QRadioButton*>())
        QVERIFY(!radio->isChecked());
    QCOMPARE(find<QRadioButton>(main, "FlatRadioButton7")->text(), QString("1  (female)"));
}

void MainFormTest::choosingAPathEnablesTheButtons()
{
    ui->cancelDialog();
    find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton31")->click();
    QVERIFY(!find<QWidget>(main, "FlatSpeedButton26")->isEnabled());
    const auto& options = ui->dialogs().at(0).options;
    QCOMPARE(options.title, std::string("Please locate the IMP.dat"));
    QCOMPARE(options.filter, std::string("IMP.dat|IMP.dat"));
    QCOMPARE(options.initialName, std::string("IMP.dat"));
    QVERIFY(options.mustExist);

    choosePath();
    for (const char* name : {"FlatSpeedButton23", "FlatSpeedButton24", "FlatSpeedButton25", "FlatSpeedButton26",
                             "FlatSpeedButton28", "FlatSpeedButton29"})
        QVERIFY2(find<QWidget>(main, name)->isEnabled(), name);
    QCOMPARE(main->impDatPath(), dir->file("IMP.dat"));
}

void MainFormTest::aStartFileIsTakenAsThePathUnread()
{
    const char* pathButtons[] = {"FlatSpeedButton23", "FlatSpeedButton24", "FlatSpeedButton25",
                                 "FlatSpeedButton26", "FlatSpeedButton28", "FlatSpeedButton29"};
    // Neither a missing file nor a folder is taken; each is named in a box.
    for (const std::string& path : {dir->file("IMP.dat"), dir->path()}) {
        ui->answer(Answer::Ok);
        main->takeImpDatPath(path);
        QCOMPARE(ui->boxes().back(),
                 (Box{"Cannot open file \"" + path + "\". There is no file of that name.", "Kestrin 1.03", Buttons::Ok}));
        QVERIFY(main->impDatPath().empty());
        for (const char* name : pathButtons)
            QVERIFY2(!find<QWidget>(main, name)->isEnabled(), name);
    }
    ui->clearRecord();

    // An existing one enables the buttons as the dialog's choice does, and is
    // read only when asked.
    std::string bytes = testsupport::profileBytes(600);
    bytes[record::kVoice] = 52;
    testsupport::writeFile(dir->file("IMP.dat"), bytes);
    main->takeImpDatPath(dir->file("IMP.dat"));
    QCOMPARE(main->impDatPath(), dir->file("IMP.dat"));
    for (const char* name : pathButtons)
        QVERIFY2(find<QWidget>(main, name)->isEnabled(), name);
    QVERIFY(!find<QRadioButton>(main, "FlatRadioButton5")->isChecked());
    find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton29")->click();
    QVERIFY(find<QRadioButton>(main, "FlatRadioButton5")->isChecked());
    QVERIFY(ui->boxes().empty() && ui->dialogs().empty());
}

void MainFormTest::windowsOpenOverTheMainWindowOnce()
{
    choosePath();
    TNameForm* nameForm = app->windows().name();
    auto* nameButton = find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton26");
    nameButton->click();
    QVERIFY(nameForm->isVisible());
    // Over the main window's centre, give or take the window frame.
    QVERIFY((nameForm->geometry().center() - main->geometry().center()).manhattanLength() <= 8);
    const QPoint placed = nameForm->pos();
    find<kestrin::flat::FlatSpeedButton>(nameForm, "FlatSpeedButton1")->click();
    main->move(main->pos() + QPoint(40, 30));
    nameButton->click(); // the second time it opens where it was
    QVERIFY(nameForm->isVisible());
    QCOMPARE(nameForm->pos(), placed);

    // The Help window stays where it was put when made, centred on the desktop.
    QWidget* help = app->windows().help();
    const QPoint helpAt = help->pos();
    find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton27")->click();
    QVERIFY(help->isVisible());
    QCOMPARE(help->pos(), helpAt);
}

void MainFormTest::keyFiltersSwallowOtherCharacters()
{
    QLineEdit* medical = field("SpinMedical");
    medical->selectAll();
    QTest::keyClicks(medical, "x7-y2");
    QCOMPARE(medical->text(), QString("72"));
    QTest::keyClicks(medical, "9999");
    QCOMPARE(medical->text(), QString("729")); // three characters at most
    QCOMPARE(app->profile().attributeText(Attribute::Medical), std::string("729")); // not clamped above

    TNameForm* nameForm = app->windows().name();
    showOverMainWindow(nameForm, main);
    QLineEdit* name = find<QLineEdit>(nameForm, "NameEdit");
    QTest::keyClicks(name, " Ana 4-Li!");
    QCOMPARE(name->text(), QString(" Ana Li")); // spaces kept, digits and punctuation swallowed
    QTest::keyClicks(name, "abcdefghijklmnopq");
    QCOMPARE(name->text().size(), 20);
    QCOMPARE(app->profile().name(), name->text().toStdString());
    QLineEdit* callsign = find<QLineEdit>(nameForm, "CallsignEdit");
    QTest::keyClicks(callsign, "Nightowl9x");
    QCOMPARE(callsign->text(), QString("Nightowl"));
    find<kestrin::flat::FlatSpeedButton>(nameForm, "FlatSpeedButton1")->click();
    QVERIFY(!nameForm->isVisible());
    QCOMPARE(callsign->text(), QString("Nightowl"));
}

void MainFormTest::nameRefusesTextASaveCannotWrite()
{
    // No single-byte code page holds U+4E2D, so the model cannot take it:
    // the field must not show it either.
    const QString foreign = QString::fromUtf16(u"x\u4E2Dy");
    TNameForm* nameForm = app->windows().name();
    showOverMainWindow(nameForm, main);
    QLineEdit* name = find<QLineEdit>(nameForm, "NameEdit");
    QTest::keyClicks(name, "Mara");
    name->setCursorPosition(2);
    QGuiApplication::clipboard()->setText(foreign);
    name->paste();
    QCOMPARE(name->text(), QString("Mara"));
    QCOMPARE(name->cursorPosition(), 2);
    QCOMPARE(app->profile().name(), std::string("Mara"));
    name->setText(foreign);
    QCOMPARE(name->text(), QString("Mara"));

    // What the code page holds is pasted as usual, and what follows is typed
    // where the cursor stands.
    QGuiApplication::clipboard()->setText("Vo");
    name->setCursorPosition(4);
    name->paste();
    QTest::keyClicks(name, "ss");
    QCOMPARE(name->text(), QString("MaraVoss"));
    QCOMPARE(app->profile().name(), std::string("MaraVoss"));
    QLineEdit* callsign = find<QLineEdit>(nameForm, "CallsignEdit");
    QTest::keyClicks(callsign, "Raven");
    callsign->insert(foreign);
    QCOMPARE(callsign->text(), QString("Raven"));
    QCOMPARE(app->profile().callsign(), std::string("Raven"));
}

void MainFormTest::healthRuleAndConversionError()
{
    QLineEdit* health = field("SpinHealth");
    health->selectAll();
    ui->answer(Answer::Ok);
    QTest::keyClick(health, Qt::Key_Delete);
    QCOMPARE(ui->boxes(), (std::vector<Box>{{"'' is not a valid integer value", "Kestrin 1.03", Buttons::Ok}}));
    QCOMPARE(health->text(), QString());
    QTest::keyClicks(health, "1");
    QCOMPARE(health->text(), QString("15"));

    QLineEdit* experience = field("SpinExperience");
    experience->selectAll();
    QTest::keyClicks(experience, "0");
    QCOMPARE(experience->text(), QString("1"));
}

void MainFormTest::steppersStepOnTheirTimers()
{
    field("SpinMedical")->setText("98");
    QCOMPARE(hold("FlatSpeedButton18", "Timer1", "SpinMedical", 5),
             QStringList({"99", "100", "100", "100", "100"}));
    field("SpinHealth")->setText("17");
    QCOMPARE(hold("FlatSpeedButton2", "Timer2", "SpinHealth", 3), QStringList({"16", "15", "15"}));
    field("SpinExperience")->setText("1");
    QCOMPARE(hold("FlatSpeedButton22", "Timer2", "SpinExperience", 2), QStringList({"1", "1"}));
    field("SpinMarksmanship")->setText("1");
    QCOMPARE(hold("FlatSpeedButton13", "Timer2", "SpinMarksmanship", 2), QStringList({"0", "0"}));

    // Released within one interval: no step at all.
    field("SpinAgility")->setText("40");
    auto* up = find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton5");
    QTest::mousePress(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton);
    QTest::qWait(250);
    QCOMPARE(field("SpinAgility")->text(), QString("40"));
}

void MainFormTest::aFailingStepperStopsAtOnce()
{
    field("SpinWisdom")->setText("");
    auto* up = find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton9");
    QTest::mousePress(up, Qt::LeftButton);
    ui->answer(Answer::Ok);
    QMetaObject::invokeMethod(timer("Timer1"), "timeout");
    QVERIFY(!timer("Timer1")->isActive()); // shown once, no further ticks
    QCOMPARE(ui->boxes().size(), std::size_t(1));
    QTest::mouseRelease(up, Qt::LeftButton);
    QCOMPARE(field("SpinWisdom")->text(), QString());
}

void MainFormTest::listsAndRadioButtonsSetTheirCodes()
{
    auto* trait1 = find<QComboBox>(main, "ListTrait1");
    trait1->setCurrentIndex(trait1->findText("Electronics [*]"));
    QCOMPARE(app->profile().trait1Code(), 3);
    trait1->setCurrentIndex(trait1->findText("Nightops"));
    QCOMPARE(app->profile().trait1Code(), 4);
    find<QComboBox>(main, "ListAttitude")->setCurrentIndex(8);
    QCOMPARE(app->profile().attitudeCode(), 8);

    auto* voice = find<QRadioButton>(main, "FlatRadioButton5");
    QTest::mouseClick(voice, Qt::LeftButton, {}, QPoint(8, voice->height() / 2));
    QCOMPARE(app->profile().hidden(Hidden::Speech), 52);
    // Checking the checked button again runs no action.
    app->profile().setHidden(Hidden::Speech, 99);
    QTest::mouseClick(voice, Qt::LeftButton, {}, QPoint(8, voice->height() / 2));
    QCOMPARE(app->profile().hidden(Hidden::Speech), 99);
    auto* female = find<QRadioButton>(main, "FlatRadioButton3");
    QTest::mouseClick(female, Qt::LeftButton, {}, QPoint(8, female->height() / 2));
    QCOMPARE(app->profile().bodyTypeCode(), 3);
}

void MainFormTest::readThenSaveThroughTheButtons()
{
    choosePath();
    find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton29")->click();
    QVERIFY(ui->boxes().empty()); // a read shows no message
    QVERIFY(find<QRadioButton>(main, "FlatRadioButton5")->isChecked());
    QCOMPARE(field("SpinHealth")->text(), QString("15"));
    QCOMPARE(field("SpinExperience")->text(), QString("1"));
    QCOMPARE(find<QComboBox>(main, "ListTrait1")->currentText(), QString("None")); // 11 has no entry
    QCOMPARE(find<QComboBox>(main, "ListAttitude")->currentIndex(), -1);              // 9 has none either

    const std::string before = testsupport::readFile(dir->file("IMP.dat"));
    ui->answer(Answer::Ok); // the name and callsign were read, so only "Well done."
    find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton28")->click();
    QCOMPARE(ui->boxes().size(), std::size_t(1));
    QCOMPARE(ui->boxes()[0].title, std::string("Well done."));
    const std::string after = testsupport::readFile(dir->file("IMP.dat"));
    QCOMPARE(after.size(), before.size());
    QCOMPARE(int(static_cast<unsigned char>(after[record::kAttitude])), 9);
    QCOMPARE(int(static_cast<unsigned char>(after[record::kHealthCopy])), 15);
}

void MainFormTest::gameFilesAreNeitherReadNorSaved()
{
    // Files of a game executable's and of the item files' length, chosen as
    // IMP.dat: Read/Reset and Save each show why, and neither touches them.
    const std::pair<std::uint64_t, std::string> games[] = {
        {2812928, "the game executable [US1.03]"},
        {280800, "an item text file of the game"},
    };
    for (const auto& [length, what] : games) {
        const std::string path = dir->file("game" + std::to_string(length));
        const std::string bytes = testsupport::patternBytes(length);
        testsupport::writeFile(path, bytes);
        ui->clearRecord();
        ui->chooseFile(path);
        find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton31")->click();
        const Box refusal{"Cannot use file \"" + path + "\". It is " + what + ", not a custom mercenary profile.",
                          "Kestrin 1.03", Buttons::Ok};
        ui->answer(Answer::Ok);
        find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton29")->click();
        QCOMPARE(field("SpinHealth")->text(), QString("50")); // the start value stays
        ui->answer(Answer::Ok);
        find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton28")->click();
        Box saveRefusal = refusal;
        saveRefusal.text += "\r\nNothing was written.";
        QCOMPARE(ui->boxes(), (std::vector<Box>{refusal, saveRefusal}));
        QVERIFY(testsupport::readFile(path) == bytes);
        QVERIFY(!ui->files().isFile(path + ".bak"));
    }
}

void MainFormTest::quitAsksFirst()
{
    const Box question{"You really want to quit?", "Quit?", Buttons::OkCancel};
    ui->answer(Answer::Cancel);
    find<kestrin::flat::FlatSpeedButton>(main, "FlatSpeedButton30")->click();
    QVERIFY(main->isVisible());
    ui->answer(Answer::Cancel);
    main->close(); // the close box
    QVERIFY(main->isVisible());
    QCOMPARE(ui->boxes(), (std::vector<Box>{question, question}));
}

void MainFormTest::bannerOpensTheWebPage()
{
    auto* banner = find<QWidget>(main, "Image2");
    QTest::mouseClick(banner, Qt::LeftButton);
    QCOMPARE(ui->openedUrls(), std::vector<std::string>{TMainForm::kBannerAddress});
}

QTEST_MAIN(MainFormTest)
#include "test_mainform.moc"
