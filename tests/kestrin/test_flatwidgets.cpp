// FlatSpeedButton answers every mouse button, and a press never outlives the
// button's being usable: a stepper must not go on stepping. The flat style
// sheet holds only real colours, and a window given the flat look without
// the sheet draws to the same pixels as one under it.

// standard
#include <memory>

// Qt
#include <QAbstractItemView>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

// ours
#include "kestrin/widgets/flatspeedbutton.h"
#include "kestrin/widgets/flatstyle.h"
#include "kestrin/widgets/headerstrip.h"

using kestrin::flat::FlatSpeedButton;

class FlatWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void rightButtonPressesAndReleases();
    void leftButtonStillClicks();
    void secondButtonDuringAPressIsIgnored();
    void disablingDuringAPressReleasesOnce();
    void accessKeyClicks();
    void styleSheetNamesOnlyColours();
    void windowWithoutTheSheetDrawsTheSame();
};

namespace {

/// A window of every kind of control that windows without the sheet hold,
/// in each state they take; `sheet` chooses how it gets the flat look. The
/// controls are made after the look, as the windows make them.
QWidget* sampleWindow(bool sheet)
{
    auto* window = new QWidget;
    if (sheet)
        kestrin::flat::applyFlatStyle(window);
    else
        kestrin::flat::applyFlatStyleWithoutSheet(window);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(new kestrin::flat::HeaderStrip("Sample", window));
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    auto* heading = new QLabel("Heading:", window);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, 0, 0);
    const char* texts[] = {"50", "read only", "disabled", "focus"};
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(texts[i], window);
        field->setObjectName(texts[i]);
        field->setReadOnly(i == 1);
        field->setEnabled(i != 2);
        grid->addWidget(new QLabel(QString("Field &%1:").arg(i), window), i + 1, 0);
        grid->addWidget(field, i + 1, 1);
    }
    auto* group = new QGroupBox("Voice:", window);
    auto* radios = new QVBoxLayout(group);
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString("&%1 (male)").arg(i + 1), group);
        radio->setChecked(i == 1);
        radio->setEnabled(i != 2);
        radios->addWidget(radio);
    }
    grid->addWidget(group, 5, 0, 1, 2);
    QComboBox* list = sheet ? new QComboBox(window) : new kestrin::flat::FlatComboBox(window);
    list->setObjectName("list");
    list->addItems({"None", "Electronics [*]", "Nightops"});
    grid->addWidget(list, 6, 0, 1, 2);
    grid->addWidget(new kestrin::flat::FlatSpeedButton("&Done", window), 7, 1);
    return window;
}

} // namespace

void FlatWidgetsTest::rightButtonPressesAndReleases()
{
    FlatSpeedButton button(Qt::UpArrow);
    QCOMPARE(button.sizeHint(), QSize(16, 11));
    QSignalSpy pressed(&button, &FlatSpeedButton::pressed);
    QSignalSpy released(&button, &FlatSpeedButton::released);
    QSignalSpy clicked(&button, &FlatSpeedButton::clicked);

    QTest::mousePress(&button, Qt::RightButton);
    QCOMPARE(pressed.count(), 1);
    QVERIFY(button.isDown());
    QCOMPARE(button.heldButton(), Qt::RightButton);
    QTest::mouseRelease(&button, Qt::RightButton);
    QCOMPARE(released.count(), 1);
    QVERIFY(!button.isDown());
    QCOMPARE(clicked.count(), 0);

    QTest::mousePress(&button, Qt::MiddleButton);
    QTest::mouseRelease(&button, Qt::MiddleButton);
    QCOMPARE(pressed.count(), 2);
    QCOMPARE(released.count(), 2);
}

void FlatWidgetsTest::leftButtonStillClicks()
{
    FlatSpeedButton button(Qt::DownArrow);
    QSignalSpy pressed(&button, &FlatSpeedButton::pressed);
    QSignalSpy released(&button, &FlatSpeedButton::released);
    QSignalSpy clicked(&button, &FlatSpeedButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(released.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(button.heldButton(), Qt::NoButton);
}

void FlatWidgetsTest::secondButtonDuringAPressIsIgnored()
{
    FlatSpeedButton button(Qt::UpArrow);
    QSignalSpy pressed(&button, &FlatSpeedButton::pressed);
    QSignalSpy released(&button, &FlatSpeedButton::released);
    QTest::mousePress(&button, Qt::RightButton);
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(released.count(), 0);
    QVERIFY(button.isDown());
    QTest::mouseRelease(&button, Qt::RightButton);
    QCOMPARE(released.count(), 1);
}

void FlatWidgetsTest::disablingDuringAPressReleasesOnce()
{
    for (Qt::MouseButton mouse : {Qt::LeftButton, Qt::RightButton}) {
        FlatSpeedButton button(Qt::UpArrow);
        QSignalSpy released(&button, &FlatSpeedButton::released);
        QTest::mousePress(&button, mouse);
        button.setEnabled(false);
        QCOMPARE(released.count(), 1);
        QCOMPARE(button.heldButton(), Qt::NoButton);
        button.setEnabled(true);
        QTest::mouseRelease(&button, mouse); // a late release changes nothing
        QCOMPARE(released.count(), 1);
        QVERIFY(!button.isDown());
    }
}

void FlatWidgetsTest::accessKeyClicks()
{
    QWidget window;
    auto* button = new FlatSpeedButton("&Save Custom", &window);
    QSignalSpy clicked(button, &FlatSpeedButton::clicked);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(clicked.count(), 1);
    QVERIFY(button->sizeHint().width() > button->fontMetrics().horizontalAdvance("Save Custom"));
}

void FlatWidgetsTest::styleSheetNamesOnlyColours()
{
    // Colour names that start alike (@border, @borderDisabled) must not
    // leave a stray "#5f625aDisabled" behind.
    const QString sheet = kestrin::flat::flatStyleSheet();
    QVERIFY(!sheet.contains('@'));
    const QRegularExpression colour("#[0-9a-fA-F]{6}(\\w*)");
    for (auto it = colour.globalMatch(sheet); it.hasNext();) {
        const auto match = it.next();
        QVERIFY2(match.captured(1).isEmpty(), qPrintable(match.captured(0)));
    }
}

void FlatWidgetsTest::windowWithoutTheSheetDrawsTheSame()
{
    // The same window under the flat style sheet and without it, drawn at
    // rest, with a field's text selected, and with the list open; then one
    // more field made after the window is up.
    struct Pictures {
        QImage atRest, selected, list, lateField;
    };
    auto draw = [](bool sheet) {
        Pictures pictures;
        std::unique_ptr<QWidget> window(sampleWindow(sheet));
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            return pictures;
        pictures.atRest = window->grab().toImage();
        auto* focus = window->findChild<QLineEdit*>("focus");
        focus->setFocus();
        focus->selectAll();
        pictures.selected = window->grab().toImage();
        auto* list = window->findChild<QComboBox*>("list");
        list->showPopup();
        QWidget* popup = list->view()->window();
        if (QTest::qWaitForWindowExposed(popup))
            pictures.list = popup->grab().toImage();
        list->hidePopup();
        auto* late = new QLineEdit("late", window.get());
        late->resize(late->sizeHint());
        late->show();
        pictures.lateField = late->grab().toImage();
        return pictures;
    };
    const Pictures withSheet = draw(true);
    const Pictures without = draw(false);
    QVERIFY(!withSheet.atRest.isNull() && !withSheet.list.isNull() && !withSheet.lateField.isNull());
    QCOMPARE(without.atRest, withSheet.atRest);
    QCOMPARE(without.selected, withSheet.selected);
    QVERIFY(without.selected != without.atRest);
    QCOMPARE(without.list, withSheet.list);
    QCOMPARE(without.lateField, withSheet.lateField);
}

QTEST_MAIN(FlatWidgetsTest)
#include "test_flatwidgets.moc"
