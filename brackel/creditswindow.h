#pragma once

// The Info window: the program's name, edition and version, who made it and
// whom it thanks, with two pictures. It deletes itself when closed, by its
// Close button or otherwise, and says so through closed().

// Qt
#include <QWidget>

namespace brackel {

class CreditsWindow final : public QWidget {
    Q_OBJECT
public:
    explicit CreditsWindow(QWidget* parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace brackel
