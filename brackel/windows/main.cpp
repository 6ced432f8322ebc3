// Brackel: edits which attachments each of the game's weapons accepts.
// "brackel FILE" opens the file at start-up as Open would.

// standard
#include <string_view>

// Qt
#include <QApplication>
#include <QTimer>

// ours
#include "brackel/core/editor.h"
#include "brackel/windows/mainwindow.h"
#include "platform/codepage.h"
#include "platform/process.h"
#include "platform/qtplatform.h"

namespace {

constexpr std::string_view kHelp =
    "Usage: brackel [FILE]\n"
    "Edits which attachments each of the game's weapons accepts, in the attachment\n"
    "table of the game executable vrn.exe or in a .brk file. FILE is opened at start.\n"
    "names.def is read from the working folder.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n";

} // namespace

int main(int argc, char* argv[])
{
    // Answered before the application object, which needs a display.
    if (const auto ended = platform::answerDesktopOption(argc, argv, "brackel", kHelp))
        return *ended;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Brackel");
    // Ties the windows to the desktop entry (its icon, its name in the task bar).
    QGuiApplication::setDesktopFileName("io.github.varnhold.Brackel");
    platform::QtPlatform platform("Brackel");
    const auto file = platform::fileArgument(platform::programArguments(argc, argv), platform::currentFolder());
    brackel::Editor editor(platform);
    if (!editor.readNames(file.value_or(std::string())))
        return 1;
    brackel::MainWindow window(editor, platform::CodePage::system());
    platform.setParentWindow(&window);
    platform::endAfterFirstPaintWhenAsked(window);
    window.show();
    // Opened from the event loop, as the menu command is: the window is up,
    // and the outcome's box stands over it showing the file.
    if (file)
        QTimer::singleShot(0, &window, [&editor, path = *file] { editor.openPath(path); });
    return QApplication::exec();
}
