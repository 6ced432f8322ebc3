// QtPlatform's filters, boxes and dialogs, answered by a timer as a user would.

// standard
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

// Qt
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

// ours
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/qtplatform.h"
#include "tests/support/tempdir.h"

using namespace platform;

Q_DECLARE_METATYPE(platform::Buttons)
Q_DECLARE_METATYPE(platform::Answer)

namespace {

/// Acts on the next modal window once it shows, polling every 10 ms. A window
/// the action leaves open is closed, and after five seconds without one the
/// polling stops, so a test never hangs.
template <class Window>
void whenModal(std::function<void(Window*)> act)
{
    auto* timer = new QTimer;
    QElapsedTimer started;
    started.start();
    QObject::connect(timer, &QTimer::timeout, [timer, started, act = std::move(act)] {
        const QPointer<QWidget> modal = QApplication::activeModalWidget();
        if ((modal && modal->isVisible()) || started.elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            if (auto* window = qobject_cast<Window*>(modal.data()); window && window->isVisible())
                act(window);
            if (modal && modal->isVisible())
                modal->close();
        }
    });
    timer->start(10);
}

} // namespace

class QtPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void nameFilters()
    {
        const std::pair<const char*, QStringList> cases[] = {
            {"", {}},
            {"Programs (*.exe)|*.exe|All files|*.*", {"Programs (*.exe) (*.[eE][xX][eE])", "All files (*.*)"}},
            {"Data| *.brk ; names.txt ;||", {"Data (*.[bB][rR][kK] [nN][aA][mM][eE][sS].[tT][xX][tT])"}},
            {"C|*.[ch];*.[!a-c]1", {"C (*.[chCH] *.[!a-cA-C]1)"}},
            {"|*.ini|Anything||Odd", {"*.ini (*.[iI][nN][iI])", "Anything (*)"}},
            {"F|my file.\xC3\xA4", {"F ([mM][yY]?[fF][iI][lL][eE].?)"}}, // Qt splits at blanks
        };
        for (const auto& [filter, expected] : cases)
            QCOMPARE(qtNameFilters(filter), expected);

        // Qt's own wildcard matching shows names of either case.
        testsupport::TempDir dir;
        for (const char* name : {"VRN.EXE", "Setup.Exe", "exe", "a.c", "B.H", "x.d"})
            testsupport::writeFile(dir.file(name), "");
        QStringList patterns;
        for (const QString& filter : qtNameFilters("Programs|*.exe|Sources|*.[ch]"))
            patterns += QRegularExpression("\\((.*)\\)$").match(filter).captured(1).split(u' ');
        QStringList listed = QDir(QString::fromStdString(dir.path())).entryList(patterns, QDir::Files | QDir::CaseSensitive);
        listed.sort();
        QCOMPARE(listed, (QStringList{"B.H", "Setup.Exe", "VRN.EXE", "a.c"}));
    }

    void messageBox_data()
    {
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<QString>("action");
        QTest::addColumn<Answer>("expected");
        QTest::newRow("ok/escape") << Buttons::Ok << "escape" << Answer::Ok;
        QTest::newRow("okcancel/ok") << Buttons::OkCancel << "Ok" << Answer::Ok;
        QTest::newRow("okcancel/cancel") << Buttons::OkCancel << "Cancel" << Answer::Cancel;
        QTest::newRow("okcancel/escape") << Buttons::OkCancel << "escape" << Answer::Cancel;
        QTest::newRow("okcancel/close") << Buttons::OkCancel << "close" << Answer::Cancel;
        QTest::newRow("yesno/yes") << Buttons::YesNo << "Yes" << Answer::Yes;
        QTest::newRow("yesno/no") << Buttons::YesNo << "No" << Answer::No;
        QTest::newRow("yesno/escape") << Buttons::YesNo << "escape" << Answer::No;
        QTest::newRow("yesno/close") << Buttons::YesNo << "close" << Answer::No;
        QTest::newRow("yesno/enter") << Buttons::YesNo << "enter" << Answer::Yes;
    }

    void messageBox()
    {
        QFETCH(Buttons, buttons);
        QFETCH(QString, action);
        QFETCH(Answer, expected);
        const QMap<QString, QMessageBox::StandardButton> named{
            {"Ok", QMessageBox::Ok}, {"Cancel", QMessageBox::Cancel}, {"Yes", QMessageBox::Yes}, {"No", QMessageBox::No}};
        QString title, text;
        QMessageBox::StandardButtons shown;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            shown = box->standardButtons();
            if (action == "escape" || action == "enter")
                QTest::keyClick(box, action == "escape" ? Qt::Key_Escape : Qt::Key_Return);
            else if (action == "close")
                box->close();
            else
                box->button(named.value(action))->click();
        });
        QCOMPARE(QtPlatform("Velloc").message("One <b>\r\nTwo\rThree\nFour", "", buttons), expected);
        QCOMPARE(title, QStringLiteral("Velloc"));
        QCOMPARE(text, QStringLiteral("One <b>\nTwo\nThree\nFour"));
        const QMap<Buttons, QMessageBox::StandardButtons> expectedButtons{
            {Buttons::Ok, QMessageBox::Ok},
            {Buttons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel},
            {Buttons::YesNo, QMessageBox::Yes | QMessageBox::No}};
        QCOMPARE(shown, expectedButtons.value(buttons));
    }

    void fileArgumentAndConfigFolder()
    {
        testsupport::TempDir dir;
        auto file = [](const std::vector<std::string>& arguments, const std::string& working) {
            return fileArgument(arguments, working).value_or("(none)");
        };
        QCOMPARE(file({}, dir.path()), std::string("(none)"));
        QCOMPARE(file({""}, dir.path()), std::string("(none)"));
        // Relative to the working folder; later arguments ignored.
        QCOMPARE(file({"vrn.exe", "other.brk"}, dir.path()), dir.file("vrn.exe"));
        QCOMPARE(file({dir.file("Itemdesc.edt")}, folderOf(dir.path())), dir.file("Itemdesc.edt"));

        const std::string config = QtPlatform("Kestrin").configFolder();
        QVERIFY(!config.empty());
        QVERIFY(QDir::isAbsolutePath(QString::fromStdString(config)));
        QVERIFY(config.size() == 1 || (config.back() != '/' && config.back() != '\\'));

        // ".." is the file system's to resolve: through a link to real/sub,
        // lnk/../vrn.exe is real/vrn.exe, not the vrn.exe beside lnk.
        std::filesystem::create_directories(dir.file("real") + "/sub");
        testsupport::writeFile(dir.file("vrn.exe"), "beside the link");
        testsupport::writeFile(joinPath(dir.file("real"), "vrn.exe"), "beside the target");
        std::error_code linked;
        std::filesystem::create_directory_symlink(joinPath(dir.file("real"), "sub"), dir.file("lnk"), linked);
        if (linked || !std::filesystem::is_symlink(dir.file("lnk")))
            QSKIP("this system made no symbolic link");
        const std::string through = file({"lnk/../vrn.exe"}, dir.path());
        QCOMPARE(testsupport::readFile(through), std::string("beside the target"));
    }

    void namesThatAreNotUtf8()
    {
        if (kPathSeparator != '/')
            QSKIP("file names here are UTF-16 text, not bytes");
        // A folder and a file whose names hold the byte 0xE9 (e with an acute
        // accent in Latin-1), which is no UTF-8: through QString both would
        // become U+FFFD and name nothing.
        testsupport::TempDir dir;
        const std::string folder = dir.file("game\xE9");
        std::filesystem::create_directory(folder);
        testsupport::writeFile(joinPath(folder, "names.def"), "names");
        testsupport::writeFile(joinPath(folder, "out\xE9.brk"), "rules");
        const auto before = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        QtPlatform platform("Brackel");
        const std::string working = platform.workingFolder();
        std::filesystem::current_path(before);

        QCOMPARE(working, std::filesystem::canonical(folder).string());
        QCOMPARE(testsupport::readFile(joinPath(working, "names.def")), std::string("names"));
        const std::string named = fileArgument({"out\xE9.brk"}, working).value_or("");
        QCOMPARE(testsupport::readFile(named), std::string("rules"));
        QVERIFY(std::filesystem::exists(joinPath(platform.programFolder(), "test_platform_qt")));
    }

    void fileDialogs()
    {
        testsupport::TempDir dir;
        testsupport::writeFile(dir.file("VRN.EXE"), "MZ");
        const QString folder = QString::fromStdString(dir.path());
        QStringList shownFilters;
        QString selectedAtStart;
        whenModal<QFileDialog>([&](QFileDialog* dialog) {
            for (auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo"); combo && shownFilters.size() < combo->count();)
                shownFilters += combo->itemText(shownFilters.size());
            selectedAtStart = dialog->selectedNameFilter();
            QCOMPARE_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
            QCOMPARE_EQ(QDir::toNativeSeparators(dialog->directory().absolutePath()), folder);
            dialog->selectNameFilter(dialog->nameFilters().at(2));
            // Typed as a user would: selectFile() leaves a focused name field alone.
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("VRN.EXE");
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides accept()
        });
        QtPlatform platform("Velloc");
        auto choice = platform.openFileDialog({"Open program", "Programs (*.exe)|*.exe|Text|*.txt;*.log|All files|*.*",
                                               "VRN.EXE", dir.path(), 2, "exe", true});
        QCOMPARE(shownFilters, (QStringList{"Programs (*.exe)", "Text", "All files"}));
        QVERIFY(selectedAtStart.startsWith("Text"));
        QVERIFY(choice);
        QCOMPARE(choice->path, dir.file("VRN.EXE")); // native separators
        QCOMPARE(choice->filterIndex, 3);

        whenModal<QFileDialog>([&](QFileDialog* dialog) {
            QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite) && dialog->defaultSuffix().isEmpty());
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("out");
            static_cast<QDialog*>(dialog)->accept();
        });
        choice = platform.saveFileDialog({"Save", "Names|*.txt", "names.txt", dir.path(), 1, "txt", false});
        QVERIFY(choice);
        QCOMPARE(choice->path, dir.file("out")); // no extension added
        whenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QVERIFY(!platform.saveFileDialog({}));
    }
};

QTEST_MAIN(QtPlatformTest)
#include "test_qtplatform.moc"
