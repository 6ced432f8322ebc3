// Velloc's main window driven as a user drives it: the short and the full
// item list, the header line, keystrokes renewing list entries, the typing
// limits, the Bobby Ray layout, and closing the file.

// Qt
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QtTest>

// ours
#include "platform/codepage.h"
#include "tests/support/controls.h"
#include "tests/support/scriptedplatform.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"
#include "velloc/windows/mainwindow.h"
#include "velloc/core/session.h"
#include "velloc/core/textform.h"

using namespace velloc;
using platform::Answer;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsWithNothingOpen();
    void shortListMapsPositionsToItems();
    void headerLineSelectsTheFirstAmmunition();
    void showAllKeepsTheCurrentItem();
    void typingRenewsTheEntryAndTheModel();
    void typingLimitsLeaveLongerFileTextsWhole();
    void keystrokeChangesOnlyWhatWasTyped();
    void bobbyRayHidesTheFullName();
    void closeEmptiesTheWindowButKeepsTheItem();

private:
    template <class T>
    T* find(const char* name) const { return testsupport::control<T>(window, name); }
    QListWidget* list() const { return find<QListWidget>("itemlist"); }
    void open(FileType type);

    testsupport::TempDir* dir = nullptr;
    platform::ScriptedPlatform* ui = nullptr;
    Session* session = nullptr;
    MainWindow* window = nullptr;
};

void MainWindowTest::init()
{
    dir = new testsupport::TempDir;
    ui = new platform::ScriptedPlatform("Velloc");
    ui->setWorkingFolder(dir->path());
    ui->setFailureHandler([](const std::string& what) { QFAIL(what.c_str()); });
    session = new Session(*ui);
    window = new MainWindow(*session, platform::CodePage::system());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void MainWindowTest::cleanup()
{
    QCOMPARE(ui->pendingAnswers(), std::size_t(0));
    delete window;
    delete session;
    delete ui;
    delete dir;
}

void MainWindowTest::open(FileType type)
{
    ItemTexts texts;
    texts.fileType = type;
    for (int n = 0; n < kItemCount; ++n) {
        texts.shortNames[n] = "S" + std::to_string(n);
        texts.fullNames[n] = "F" + std::to_string(n);
        texts.descriptions[n] = "D" + std::to_string(n);
    }
    texts.shortNames[12] = "";
    texts.shortNames[5] = std::string(45, 'n'); // longer than the typing limit
    testsupport::writeFile(dir->file("texts.vlc"), platform::joinLines(textFormLines(texts)));
    ui->chooseFile(dir->file("texts.vlc"));
    ui->answer(Answer::Ok);
    find<QAction>("mopen")->trigger();
    QVERIFY(!window->progressWindow());
    QVERIFY(window->centralWidget()->isEnabled());
}

void MainWindowTest::startsWithNothingOpen()
{
    QCOMPARE(find<QLabel>("lcurfile")->text(), QString("Current File: -None-"));
    QVERIFY(!find<QCheckBox>("cball")->isChecked());
    for (const char* name : {"itemlist", "cball", "tbshortname", "tblongname", "tbdesc"})
        QVERIFY2(!find<QWidget>(name)->isEnabled(), name);
    for (const char* name : {"msave", "msaveas", "mclosefile"})
        QVERIFY2(!find<QAction>(name)->isEnabled(), name);
    QCOMPARE(find<QAction>("msaveas")->text(), QString("Save &As..."));
}

void MainWindowTest::shortListMapsPositionsToItems()
{
    open(FileType::Items);
    QCOMPARE(list()->count(), 111);
    QCOMPARE(list()->item(12)->text(), QString("12: "));
    QCOMPARE(list()->item(65)->text(), QString("65: S65"));
    QCOMPARE(list()->item(66)->text(), QString("--- Ammo ---"));
    QCOMPARE(list()->item(67)->text(), QString("71: S71"));
    QCOMPARE(list()->item(110)->text(), QString("114: S114"));
    QVERIFY(find<QLabel>("lcurfile")->text().endsWith("texts.vlc (Items)"));

    list()->setCurrentRow(70);
    QCOMPARE(window->currentItem(), 74);
    QCOMPARE(find<QLineEdit>("tbshortname")->text(), QString("S74"));
    QCOMPARE(find<QLineEdit>("tblongname")->text(), QString("F74"));
    QCOMPARE(find<QPlainTextEdit>("tbdesc")->toPlainText(), QString("D74"));
}

void MainWindowTest::headerLineSelectsTheFirstAmmunition()
{
    open(FileType::Items);
    list()->setCurrentRow(65);
    QTest::keyClick(list(), Qt::Key_Down); // onto the header line
    QCOMPARE(list()->currentRow(), 67);
    QCOMPARE(window->currentItem(), 71);
    list()->setCurrentRow(66);
    QCOMPARE(list()->currentRow(), 67);
}

void MainWindowTest::showAllKeepsTheCurrentItem()
{
    open(FileType::Items);
    auto* all = find<QCheckBox>("cball");
    list()->setCurrentRow(96);
    QCOMPARE(window->currentItem(), 100);
    all->setChecked(true);
    QCOMPARE(list()->count(), 351);
    QCOMPARE(list()->currentRow(), 100);
    QCOMPARE(window->currentItem(), 100);
    all->setChecked(false);
    QCOMPARE(list()->currentRow(), 96);

    all->setChecked(true);
    list()->setCurrentRow(300);
    all->setChecked(false);
    QCOMPARE(list()->currentRow(), 110);
    QCOMPARE(window->currentItem(), 114);

    all->setChecked(true);
    list()->setCurrentRow(68); // not in the short list: lands on the first ammunition
    all->setChecked(false);
    QCOMPARE(window->currentItem(), 71);
}

void MainWindowTest::typingRenewsTheEntryAndTheModel()
{
    open(FileType::Items);
    find<QCheckBox>("cball")->setChecked(true);
    list()->setCurrentRow(200);
    auto* name = find<QLineEdit>("tbshortname");
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "x");
    QCOMPARE(list()->item(200)->text(), QString("200: S200x"));
    QCOMPARE(list()->currentRow(), 200);
    QCOMPARE(session->texts().shortNames[200], std::string("S200x"));

    QTest::keyClicks(find<QLineEdit>("tblongname"), "!");
    QCOMPARE(session->texts().fullNames[200], std::string("F200!"));
    auto* desc = find<QPlainTextEdit>("tbdesc");
    desc->moveCursor(QTextCursor::End);
    QTest::keyClick(desc, Qt::Key_Return);
    QTest::keyClicks(desc, "y");
    QCOMPARE(session->texts().descriptions[200], std::string("D200\r\ny")); // stored as on Windows
}

void MainWindowTest::typingLimitsLeaveLongerFileTextsWhole()
{
    open(FileType::Items);
    list()->setCurrentRow(5);
    auto* name = find<QLineEdit>("tbshortname");
    QCOMPARE(name->text().size(), 45); // shown whole
    name->end(false);
    QTest::keyClicks(name, "z");
    QCOMPARE(name->text().size(), 45); // no growth past the limit
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(session->texts().shortNames[5], std::string(44, 'n'));

    list()->setCurrentRow(6);
    name->end(false);
    QTest::keyClicks(name, QString(40, 'a'));
    QCOMPARE(name->text().size(), 30);

    auto* desc = find<QPlainTextEdit>("tbdesc");
    desc->moveCursor(QTextCursor::End);
    QTest::keyClicks(desc, QString(230, 'b'));
    QCOMPARE(session->texts().descriptions[6].size(), std::size_t(220));
    desc->insertPlainText(QString(QChar(0x4E00))); // pasted: no byte in the code page
    QCOMPARE(session->texts().descriptions[6].size(), std::size_t(220));
}

void MainWindowTest::keystrokeChangesOnlyWhatWasTyped()
{
    open(FileType::Items);
    list()->setCurrentRow(8);
    // Lone LF and CR and a no-break space, as an item text file may hold them.
    const std::string stored = "a\nb\rc\r\nd\xA0";
    session->texts().descriptions[8] = stored;
    list()->setCurrentRow(9);
    list()->setCurrentRow(8);
    auto* desc = find<QPlainTextEdit>("tbdesc");
    QCOMPARE(desc->blockCount(), 4);

    desc->moveCursor(QTextCursor::End);
    QTest::keyClicks(desc, "e");
    QCOMPARE(session->texts().descriptions[8], stored + "e");
    desc->moveCursor(QTextCursor::Start);
    desc->moveCursor(QTextCursor::Down);
    QTest::keyClick(desc, Qt::Key_Return); // a new line break is stored as CR LF
    QTest::keyClick(desc, Qt::Key_Backspace);
    QTest::keyClick(desc, Qt::Key_Backspace); // and a removed one takes its bytes
    QCOMPARE(session->texts().descriptions[8], std::string("ab\rc\r\nd\xA0" "e"));
}

void MainWindowTest::bobbyRayHidesTheFullName()
{
    open(FileType::Items);
    const int itemsTop = find<QPlainTextEdit>("tbdesc")->y();
    const int itemsHeight = find<QPlainTextEdit>("tbdesc")->height();
    open(FileType::BobbyRay);
    QVERIFY(find<QLabel>("lcurfile")->text().endsWith("texts.vlc (Bobby Ray)"));
    QVERIFY(!find<QLineEdit>("tblongname")->isVisible());
    QVERIFY(!find<QLabel>("llongname")->isVisible());
    auto* desc = find<QPlainTextEdit>("tbdesc");
    QCOMPARE(desc->y(), find<QLineEdit>("tblongname")->y());
    QCOMPARE(desc->y() + desc->height(), itemsTop + itemsHeight);
    desc->moveCursor(QTextCursor::End);
    QTest::keyClicks(desc, QString(310, 'c'));
    QCOMPARE(session->texts().descriptions[0].size(), std::size_t(300));
}

void MainWindowTest::closeEmptiesTheWindowButKeepsTheItem()
{
    open(FileType::Items);
    find<QCheckBox>("cball")->setChecked(true);
    list()->setCurrentRow(222);
    ui->answer(Answer::Yes);
    find<QAction>("mclosefile")->trigger();
    QCOMPARE(list()->count(), 0);
    QVERIFY(find<QLineEdit>("tbshortname")->text().isEmpty());
    QCOMPARE(session->texts().shortNames[222], std::string("S222")); // emptying the box is no edit
    QVERIFY(find<QCheckBox>("cball")->isChecked());
    QVERIFY(!find<QCheckBox>("cball")->isEnabled());
    QCOMPARE(find<QLabel>("lcurfile")->text(), QString("Current File: -None-"));

    open(FileType::Items);
    QCOMPARE(list()->currentRow(), 222);
    QCOMPARE(find<QLineEdit>("tbshortname")->text(), QString("S222"));
}

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
