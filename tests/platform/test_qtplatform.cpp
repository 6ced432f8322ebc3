// QtPlatform's boxes and dialogs, answered by a timer as a user would.

// standard
#include <functional>
#include <memory>

// Qt
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

// ours
#include "platform/qtplatform.h"
#include "tests/support/tempdir.h"

using namespace platform;

Q_DECLARE_METATYPE(platform::Buttons)
Q_DECLARE_METATYPE(platform::Answer)

namespace {

/// Acts on the next modal window once it shows, polling every 10 ms. A window
/// the action leaves open is closed, and after five seconds without one the
/// polling stops, so a test never hangs.
void whenModal(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer, &QTimer::timeout, [timer, started, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            const QPointer<QWidget> guard(modal);
            act(modal);
            if (guard && guard->isVisible()) // the action failed half-way
                guard->close();
        } else if (started->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            if (modal)
                modal->close();
        }
    });
    timer->start(10);
}

/// The patterns of a Qt name filter, "Desc (a b)" giving {"a", "b"}.
QStringList patternsOf(const QString& filter)
{
    static const QRegularExpression details(QStringLiteral("\\(([^()]*)\\)$"));
    return details.match(filter).captured(1).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

class QtPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("pairs") << "Programs (*.exe)|*.exe|All files|*.*"
                               << QStringList{"Programs (*.exe) (*.[eE][xX][eE])", "All files (*.*)"};
        QTest::newRow("several patterns, blanks, trailing bars")
            << "Data| *.brk ; names.txt ;||" << QStringList{"Data (*.[bB][rR][kK] [nN][aA][mM][eE][sS].[tT][xX][tT])"};
        QTest::newRow("sets and ranges") << "C|*.[ch];*.[!a-c]1" << QStringList{"C (*.[chCH] *.[!a-cA-C]1)"};
        QTest::newRow("no description") << "|*.ini" << QStringList{"*.ini (*.[iI][nN][iI])"};
        QTest::newRow("no pattern") << "Anything|" << QStringList{"Anything (*)"};
        QTest::newRow("unpaired description") << "Text|*.txt|Odd" << QStringList{"Text (*.[tT][xX][tT])"};
        QTest::newRow("blank and foreign characters")
            << "F|my file.\xC3\xA4" << QStringList{"F ([mM][yY]?[fF][iI][lL][eE].?)"};
    }

    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(qtNameFilters(filter.toStdString()), expected);
    }

    void patternsMatchEitherCase()
    {
        testsupport::TempDir dir;
        for (const char* name : {"VRN.EXE", "vrn.exe", "Setup.Exe", "exe", "notes.txt", "a.c", "B.H", "x.d"})
            testsupport::writeFile(dir.file(name), "");
        const QStringList filters = qtNameFilters("Programs|*.exe|Sources|*.[ch]");
        const QDir folder(QString::fromStdString(dir.path()));
        const auto shown = [&](int i) {
            return folder.entryList(patternsOf(filters.at(i)), QDir::Files | QDir::CaseSensitive, QDir::Name);
        };
        QCOMPARE(shown(0), (QStringList{"Setup.Exe", "VRN.EXE", "vrn.exe"}));
        QCOMPARE(shown(1), (QStringList{"B.H", "a.c"}));
    }

    void messageBox_data()
    {
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<QString>("action");
        QTest::addColumn<Answer>("expected");
        QTest::newRow("ok/click") << Buttons::Ok << "Ok" << Answer::Ok;
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
        const QMap<Buttons, QMessageBox::StandardButtons> shownButtons{
            {Buttons::Ok, QMessageBox::Ok},
            {Buttons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel},
            {Buttons::YesNo, QMessageBox::Yes | QMessageBox::No}};

        QString title, text;
        QMessageBox::StandardButtons standard;
        whenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) {
                w->close();
                return;
            }
            title = box->windowTitle();
            text = box->text();
            standard = box->standardButtons();
            if (action == "escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (action == "enter")
                QTest::keyClick(box, Qt::Key_Return);
            else if (action == "close")
                box->close();
            else
                box->button(named.value(action))->click();
        });
        QtPlatform platform("Velloc");
        QCOMPARE(platform.message("One <b>\r\nTwo\rThree\nFour", "", buttons), expected);
        QCOMPARE(title, QStringLiteral("Velloc"));
        QCOMPARE(text, QStringLiteral("One <b>\nTwo\nThree\nFour"));
        QCOMPARE(standard, shownButtons.value(buttons));
    }

    void openDialog()
    {
        testsupport::TempDir dir;
        testsupport::writeFile(dir.file("VRN.EXE"), "MZ");
        const QString folder = QString::fromStdString(dir.path());
        FileDialogOptions options{"Open program", "Programs (*.exe)|*.exe|Text|*.txt;*.log|All files|*.*",
                                  "VRN.EXE", dir.path(), 2, "exe", true};
        QFileDialog* seen = nullptr;
        QStringList shownFilters;
        QString selectedAtStart;
        whenModal([&](QWidget* w) {
            seen = qobject_cast<QFileDialog*>(w);
            if (!seen) {
                w->close();
                return;
            }
            if (auto* combo = seen->findChild<QComboBox*>("fileTypeCombo"))
                for (int i = 0; i < combo->count(); ++i)
                    shownFilters += combo->itemText(i);
            selectedAtStart = seen->selectedNameFilter();
            QCOMPARE_EQ(seen->windowTitle(), QStringLiteral("Open program"));
            QVERIFY(seen->testOption(QFileDialog::DontUseNativeDialog));
            QCOMPARE_EQ(seen->fileMode(), QFileDialog::ExistingFile);
            QCOMPARE_EQ(seen->acceptMode(), QFileDialog::AcceptOpen);
            QCOMPARE_EQ(seen->defaultSuffix(), QStringLiteral("exe"));
            QCOMPARE_EQ(seen->directory().absolutePath(), folder);
            seen->selectNameFilter(seen->nameFilters().at(2));
            seen->selectFile(folder + "/VRN.EXE");
            static_cast<QDialog*>(seen)->accept(); // QFileDialog hides it
        });
        QtPlatform platform("Velloc");
        auto choice = platform.openFileDialog(options);
        QVERIFY(seen);
        QCOMPARE(shownFilters, (QStringList{"Programs (*.exe)", "Text", "All files"}));
        QVERIFY(selectedAtStart.startsWith("Text"));
        QVERIFY(choice);
        QCOMPARE(QString::fromStdString(choice->path), folder + "/VRN.EXE");
        QCOMPARE(choice->filterIndex, 3);
    }

    void saveDialog()
    {
        testsupport::TempDir dir;
        const QString folder = QString::fromStdString(dir.path());
        for (bool cancel : {false, true}) {
            bool checked = false;
            whenModal([&](QWidget* w) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                if (!dialog) {
                    w->close();
                    return;
                }
                QCOMPARE_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
                QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
                QVERIFY(dialog->defaultSuffix().isEmpty());
                checked = true;
                if (cancel)
                    dialog->reject();
                else {
                    dialog->selectFile(folder + "/out");
                    static_cast<QDialog*>(dialog)->accept();
                }
            });
            QtPlatform platform("Velloc");
            auto choice = platform.saveFileDialog({"Save", "Names|*.txt", "names.txt", dir.path(), 1, "txt", false});
            QVERIFY(checked);
            if (cancel) {
                QVERIFY(!choice);
            } else {
                QVERIFY(choice);
                QCOMPARE(QString::fromStdString(choice->path), folder + "/out");
                QCOMPARE(choice->filterIndex, 1);
            }
        }
    }
};

QTEST_MAIN(QtPlatformTest)
#include "test_qtplatform.moc"
