// Kestrin: edits the player's custom mercenary in the game's IMP.dat.
// "kestrin FILE" takes the file as the IMP.dat path, as "S&et IMP.dat path"
// would; it is read when the user asks for it.

// standard
#include <string_view>

// Qt
#include <QApplication>
#include <QTimer>

// ours
#include "kestrin/windows/mainform.h"
#include "kestrin/windows/windowset.h"
#include "platform/codepage.h"
#include "platform/process.h"
#include "platform/qtplatform.h"

namespace {

constexpr std::string_view kHelp =
    "Usage: kestrin [IMP.DAT]\n"
    "Edits the player's custom mercenary in the game's IMP.dat. IMP.DAT is taken\n"
    "as the file to read and save.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n";

} // namespace

int main(int argc, char* argv[])
{
    // Answered before the application object, which needs a display.
    if (const auto ended = platform::answerDesktopOption(argc, argv, "kestrin", kHelp))
        return *ended;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrin 1.03");
    // Ties the windows to the desktop entry (its icon, its name in the task bar).
    QGuiApplication::setDesktopFileName("io.github.varnhold.Kestrin");
    QApplication::setQuitOnLastWindowClosed(false); // only the quit question ends the program
    platform::QtPlatform platform("Kestrin 1.03", platform::LineBreak::CrLf);
    const auto file = platform::fileArgument(platform::programArguments(argc, argv), platform::currentFolder());
    kestrin::Application kestrin(platform, platform::CodePage::system());
    kestrin::TMainForm* main = kestrin.windows().main();
    platform.setParentWindow(main);
    kestrin::centreOnScreen(main);
    platform::endAfterFirstPaintWhenAsked(*main);
    main->show();
    // From the event loop, so that a box about a missing file stands over
    // the main window.
    if (file)
        QTimer::singleShot(0, main, [main, path = *file] { main->takeImpDatPath(path); });
    return QApplication::exec();
}
