// Brackel: edits which attachments each of the game's weapons accepts.

// Qt
#include <QApplication>

// ours
#include "brackel/editor.h"
#include "brackel/mainwindow.h"
#include "platform/codepage.h"
#include "platform/qtplatform.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Brackel");
    platform::QtPlatform platform("Brackel");
    brackel::Editor editor(platform);
    if (!editor.readNames())
        return 1;
    brackel::MainWindow window(editor, platform::CodePage::system());
    platform.setParentWindow(&window);
    window.show();
    return QApplication::exec();
}
