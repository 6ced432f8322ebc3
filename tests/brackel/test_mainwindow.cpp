// Brackel's main window driven as a user drives it: menus, the weapon list,
// the boxes against the table's capacity, the count's colour, Clear all and
// Reset all, Close and the Info window.

// Qt
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

// ours
#include "brackel/core/brkfile.h"
#include "brackel/core/editor.h"
#include "brackel/windows/mainwindow.h"
#include "platform/codepage.h"
#include "widgets/creditswindow.h"
#include "tests/support/controls.h"
#include "tests/support/scriptedplatform.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"

using namespace brackel;
using platform::Answer;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsWithNoFile();
    void captionsComeFromNamesDef();
    void openFillsTheListAndSelectingShowsFlags();
    void ticksStayWithinTheCapacity();
    void clearAllThenResetAll();
    void closeEmptiesTheWindow();
    void infoDisablesTheMainWindowUntilClosed();

private:
    template <class T>
    T* find(const char* name) const { return testsupport::control<T>(window, name); }
    void click(QCheckBox* box) const { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }
    void trigger(const char* action) { find<QAction>(action)->trigger(); }
    QString count() const { return find<QLabel>("lremain")->text(); }
    QColor countColour() const
    {
        auto* label = find<QLabel>("lremain");
        label->ensurePolished();
        return label->palette().color(QPalette::WindowText);
    }
    void openBrk(const Flags& flags, int remaining);

    testsupport::TempDir* dir = nullptr;
    platform::ScriptedPlatform* ui = nullptr;
    Editor* editor = nullptr;
    MainWindow* window = nullptr;
};

void MainWindowTest::init()
{
    dir = new testsupport::TempDir;
    testsupport::writeFile(dir->file("names.def"),
                           "[head]\r\nmode=velloc-a\r\nversion=2.0\r\n\r\n[01]\r\nname=Glock 17\r\n\r\n"
                           "[05]\r\nname=.38 Special\r\n\r\n[307]\r\nname=R&S\r\nlname=Spring & Rod\r\n\r\n"
                           "[207]\r\nname=Sil.\r\nlname=Sound Suppressor\r\n\r\n[50]\r\nname=Claw\r\n");
    ui = new platform::ScriptedPlatform("Brackel");
    ui->setWorkingFolder(dir->path());
    ui->setFailureHandler([](const std::string& what) { QFAIL(what.c_str()); });
    editor = new Editor(*ui);
    QVERIFY(editor->readNames());
    window = new MainWindow(*editor, platform::CodePage::system());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void MainWindowTest::cleanup()
{
    QCOMPARE(ui->pendingAnswers(), std::size_t(0));
    delete window;
    delete editor;
    delete ui;
    delete dir;
}

void MainWindowTest::openBrk(const Flags& flags, int remaining)
{
    testsupport::writeFile(dir->file("rules.brk"), platform::joinLines(brkLines(flags, remaining)));
    ui->chooseFile(dir->file("rules.brk"));
    ui->answer(Answer::Ok);
    trigger("mopen");
}

void MainWindowTest::startsWithNoFile()
{
    QCOMPARE(window->objectName(), QString("main"));
    QCOMPARE(window->windowTitle(), QString("Brackel"));
    QCOMPARE(find<QLabel>("lcurfile")->text(), QString("Current File: -None-"));
    QCOMPARE(find<QLabel>("lremaint")->text(), QString("Remaining Entries:"));
    QCOMPARE(count(), QString("182"));
    for (const char* name : {"itemlist", "lremain", "cmdclear", "cmdreset", "cbsilencer", "cbtalon"})
        QVERIFY2(!find<QWidget>(name)->isEnabled(), name);
    for (const char* name : {"msave", "msaveas", "mclose"})
        QVERIFY2(!find<QAction>(name)->isEnabled(), name);
    for (const char* name : {"mopen", "mexit", "minfo"})
        QVERIFY2(find<QAction>(name)->isEnabled(), name);
    QCOMPARE(find<QListWidget>("itemlist")->count(), 0);

    // The boxes in the order the window holds them.
    QStringList order;
    for (QCheckBox* box : find<QWidget>("Frame2")->findChildren<QCheckBox*>())
        order << box->objectName();
    QCOMPARE(order, QStringList({"cbsilencer", "cblaserpointer", "cbduckbill", "cbbipod", "cbfb", "cbzoom", "cblv",
                                 "cbtalon"}));
}

void MainWindowTest::captionsComeFromNamesDef()
{
    QCOMPARE(find<QCheckBox>("cbfb")->text(), QString("Spring && Rod")); // shows one ampersand
    QCOMPARE(find<QCheckBox>("cbtalon")->text(), QString("Claw"));        // from "name="
    QCOMPARE(find<QCheckBox>("cbsilencer")->text(), QString("Sound Suppressor")); // from "lname="
    QCOMPARE(find<QCheckBox>("cblv")->text(), QString("Extender"));       // not in the file: the default
}

void MainWindowTest::openFillsTheListAndSelectingShowsFlags()
{
    Flags flags;
    flags.set(Kind::Silencer, 4, true);
    flags.set(Kind::Bipod, 4, true);
    flags.set(Kind::Talon, 0, true);
    openBrk(flags, 171);

    auto* list = find<QListWidget>("itemlist");
    QCOMPARE(list->count(), 65);
    QCOMPARE(list->item(0)->text(), QString("0: Glock 17"));
    QCOMPARE(list->item(4)->text(), QString("4: .38 Special"));
    QCOMPARE(list->item(64)->text(), QString("64: "));
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(find<QCheckBox>("cbtalon")->isChecked());
    QVERIFY(!find<QCheckBox>("cbsilencer")->isChecked());
    QVERIFY(find<QAction>("msave")->isEnabled());
    QVERIFY(find<QCheckBox>("cbsilencer")->isEnabled());
    QVERIFY(find<QLabel>("lcurfile")->text().endsWith(" [BRK-File]"));
    QCOMPARE(count(), QString("171"));

    list->setCurrentRow(4);
    QVERIFY(find<QCheckBox>("cbsilencer")->isChecked());
    QVERIFY(find<QCheckBox>("cbbipod")->isChecked());
    QVERIFY(!find<QCheckBox>("cbtalon")->isChecked());
    QCOMPARE(count(), QString("171")); // selecting never changes the model
    QCOMPARE(editor->model().currentFlags(), flags);
}

void MainWindowTest::ticksStayWithinTheCapacity()
{
    openBrk(Flags{}, 1);
    auto* silencer = find<QCheckBox>("cbsilencer");
    auto* zoom = find<QCheckBox>("cbzoom");
    QCOMPARE(countColour(), QColor(0, 0, 0));

    click(silencer);
    QVERIFY(silencer->isChecked());
    QCOMPARE(count(), QString("0"));
    QCOMPARE(countColour(), QColor(255, 0, 0));

    click(zoom); // no entry left: the tick is undone
    QVERIFY(!zoom->isChecked());
    QCOMPARE(count(), QString("0"));
    QVERIFY(!editor->model().currentFlags().get(Kind::SniperScope, 0));

    click(silencer);
    QVERIFY(!silencer->isChecked());
    QCOMPARE(count(), QString("1"));
    QCOMPARE(countColour(), QColor(0, 0, 0));
    QCOMPARE(editor->model().currentFlags(), Flags{});
}

void MainWindowTest::clearAllThenResetAll()
{
    Flags flags;
    flags.set(Kind::Duckbill, 0, true);
    openBrk(flags, 0);
    QCOMPARE(countColour(), QColor(255, 0, 0));
    click(find<QCheckBox>("cblv")); // refused: no entry free
    QVERIFY(!find<QCheckBox>("cblv")->isChecked());

    ui->answer(Answer::Yes);
    QTest::mouseClick(find<QPushButton>("cmdclear"), Qt::LeftButton);
    QVERIFY(!find<QCheckBox>("cbduckbill")->isChecked());
    QCOMPARE(count(), QString("182"));
    QCOMPARE(countColour(), QColor(0, 0, 0));

    click(find<QCheckBox>("cblv"));
    QCOMPARE(count(), QString("181"));

    ui->answer(Answer::Yes);
    QTest::mouseClick(find<QPushButton>("cmdreset"), Qt::LeftButton);
    QVERIFY(find<QCheckBox>("cbduckbill")->isChecked());
    QVERIFY(!find<QCheckBox>("cblv")->isChecked());
    QCOMPARE(count(), QString("0"));
    QCOMPARE(editor->model().currentFlags(), flags);
}

void MainWindowTest::closeEmptiesTheWindow()
{
    Flags flags;
    flags.set(Kind::Silencer, 0, true);
    openBrk(flags, 100);
    ui->answer(Answer::Yes);
    trigger("mclose");
    QCOMPARE(find<QListWidget>("itemlist")->count(), 0);
    QCOMPARE(count(), QString("182"));
    QVERIFY(!find<QCheckBox>("cbsilencer")->isChecked());
    QVERIFY(!find<QCheckBox>("cbsilencer")->isEnabled());
    QCOMPARE(find<QLabel>("lcurfile")->text(), QString("Current File: -None-"));
    for (const char* name : {"msave", "msaveas", "mclose"})
        QVERIFY2(!find<QAction>(name)->isEnabled(), name);
}

void MainWindowTest::infoDisablesTheMainWindowUntilClosed()
{
    trigger("minfo");
    widgets::CreditsWindow* credits = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "credits")
            credits = qobject_cast<widgets::CreditsWindow*>(w);
    QVERIFY(credits);
    QCOMPARE(credits->windowTitle(), QString("Info"));
    QVERIFY(credits->isVisible());
    QVERIFY(!window->isEnabled());
    QTest::mouseClick(credits->findChild<QPushButton*>("cmdclose"), Qt::LeftButton);
    QVERIFY(window->isEnabled());

    // Closed another way, it gives the main window back too.
    trigger("minfo");
    QVERIFY(!window->isEnabled());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "credits" && w->isVisible())
            w->close();
    QVERIFY(window->isEnabled());
}

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
