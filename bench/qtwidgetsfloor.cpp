// The floor for the windowed programs: Qt Widgets loaded, a QApplication
// made and one empty window shown. With VARNHOLD_EXIT_AFTER_FIRST_PAINT set
// it ends once that window has been painted, as the editors then do, so
// that bench_startup can time a whole start against it.

// Qt
#include <QApplication>
#include <QWidget>

// ours
#include "platform/qtplatform.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    platform::endAfterFirstPaintWhenAsked(window);
    window.show();
    return QApplication::exec();
}
