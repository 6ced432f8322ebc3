#pragma once

// The Info window of a program: its title, edition and version, lines about
// its makers, two headed lists of thanks, two pictures and a Close button.
// It is a window of its own (not a child of the main window, so that
// disabling the main window leaves it usable), deletes itself when closed,
// by its button or otherwise, and says so through closed().

// standard
#include <vector>

// Qt
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace widgets {

struct Credits {
    QString title;   // "Brackel"
    QString edition; // "BRACKEL"
    QString version; // "ver. 2.0"
    std::vector<QString> makers;
    std::vector<QString> thanks; // under "Thanks to:"
    std::vector<QString> beta;   // under "The Beta Testers:"
    QPixmap picture1;
    QPixmap picture2;
};

class CreditsWindow final : public QWidget {
    Q_OBJECT
public:
    explicit CreditsWindow(const Credits& credits);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace widgets
