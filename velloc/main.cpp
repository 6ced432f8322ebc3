// Velloc: edits the names and descriptions of the game's items.

// Qt
#include <QApplication>

// ours
#include "platform/codepage.h"
#include "platform/qtplatform.h"
#include "velloc/mainwindow.h"
#include "velloc/session.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velloc");
    platform::QtPlatform platform("Velloc");
    velloc::Session session(platform);
    velloc::MainWindow window(session, platform::CodePage::system());
    platform.setParentWindow(&window);
    window.show();
    return QApplication::exec();
}
