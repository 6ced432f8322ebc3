// Velloc: edits the names and descriptions of the game's items.
// "velloc FILE" opens the file at start-up as Open would.

// Qt
#include <QApplication>
#include <QTimer>

// ours
#include "platform/codepage.h"
#include "platform/process.h"
#include "platform/qtplatform.h"
#include "velloc/windows/mainwindow.h"
#include "velloc/core/session.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velloc");
    // Ties the windows to the desktop entry (its icon, its name in the task bar).
    QGuiApplication::setDesktopFileName("io.github.varnhold.Velloc");
    platform::QtPlatform platform("Velloc");
    const auto file = platform::fileArgument(platform::programArguments(argc, argv), platform::currentFolder());
    velloc::Session session(platform);
    velloc::MainWindow window(session, platform::CodePage::system());
    platform.setParentWindow(&window);
    platform::endAfterFirstPaintWhenAsked(window);
    window.show();
    // Opened from the event loop, as the menu command is: the window is up
    // for the progress window and the boxes.
    if (file)
        QTimer::singleShot(0, &window, [&session, path = *file] { session.openPath(path); });
    return QApplication::exec();
}
