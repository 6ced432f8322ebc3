// Kestrin: edits the player's custom mercenary in the game's IMP.dat.

// Qt
#include <QApplication>

// ours
#include "kestrin/windows/mainform.h"
#include "kestrin/windows/windowset.h"
#include "platform/codepage.h"
#include "platform/qtplatform.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrin 1.03");
    QApplication::setQuitOnLastWindowClosed(false); // only the quit question ends the program
    platform::QtPlatform platform("Kestrin 1.03");
    kestrin::Application kestrin(platform, platform::CodePage::system());
    kestrin::TMainForm* main = kestrin.windows().main;
    platform.setParentWindow(main);
    kestrin::centreOnScreen(main);
    main->show();
    return QApplication::exec();
}
