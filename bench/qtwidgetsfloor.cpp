// The floor for the windowed programs: Qt Widgets loaded, a QApplication
// made and one empty window shown. With VARNHOLD_EXIT_AFTER_FIRST_PAINT set
// it ends once that window has been painted, as the editors then do, so
// that bench_startup can time a whole start against it.

// Qt
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class ExitAfterFirstPaint final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    ExitAfterFirstPaint exitAfterFirstPaint;
    if (qEnvironmentVariableIsSet("VARNHOLD_EXIT_AFTER_FIRST_PAINT"))
        window.installEventFilter(&exitAfterFirstPaint);
    window.show();
    return QApplication::exec();
}
