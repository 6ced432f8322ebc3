// FlatSpeedButton answers every mouse button, and a press never outlives the
// button's being usable: a stepper must not go on stepping. And the flat
// style sheet holds only real colours.

// Qt
#include <QSignalSpy>
#include <QtTest>

// ours
#include "widgets/flatspeedbutton.h"
#include "widgets/flatstyle.h"

using widgets::FlatSpeedButton;

class FlatWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void rightButtonPressesAndReleases();
    void leftButtonStillClicks();
    void secondButtonDuringAPressIsIgnored();
    void disablingDuringAPressReleasesOnce();
    void accessKeyClicks();
    void styleSheetNamesOnlyColours();
};

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
    const QString sheet = widgets::flatStyleSheet();
    QVERIFY(!sheet.contains('@'));
    const QRegularExpression colour("#[0-9a-fA-F]{6}(\\w*)");
    for (auto it = colour.globalMatch(sheet); it.hasNext();) {
        const auto match = it.next();
        QVERIFY2(match.captured(1).isEmpty(), qPrintable(match.captured(0)));
    }
}

QTEST_MAIN(FlatWidgetsTest)
#include "test_flatwidgets.moc"
