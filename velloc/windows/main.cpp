// Velloc: edits the names and descriptions of the game's items.
// "velloc FILE" opens the file at start-up as Open would.

// standard
#include <string_view>

// Qt
#include <QApplication>
#include <QTimer>

// ours
#include "platform/codepage.h"
#include "platform/process.h"
#include "platform/qtplatform.h"
#include "velloc/windows/mainwindow.h"
#include "velloc/core/session.h"

namespace {

constexpr std::string_view kHelp =
    "Usage: velloc [FILE]\n"
    "Edits the names and descriptions of the game's items in Itemdesc.edt or\n"
    "Braydesc.edt, or in a .vlc or .def text form. FILE is opened at start.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n";

} // namespace

int main(int argc, char* argv[])
{
    // Answered before the application object, which needs a display.
    if (const auto ended = platform::answerDesktopOption(argc, argv, "velloc", kHelp))
        return *ended;
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
