// The floor for any program of ours: Qt Core loaded, a QCoreApplication
// made, and nothing done. The console program's subcommands are measured
// against it.

// Qt
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return 0;
}
