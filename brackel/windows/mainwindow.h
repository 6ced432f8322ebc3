#pragma once

// Brackel's main window: the weapon list, the eight attachment boxes, the
// count of free table entries and the File and Help menus. It shows the
// editor's state and forwards the user's actions to it.

// standard
#include <array>

// Qt
#include <QMainWindow>
#include <QPointer>

// ours
#include "brackel/core/editor.h"

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace platform {
class CodePage;
}

namespace widgets {
class CreditsWindow;
}

namespace brackel {

class MainWindow final : public QMainWindow, public EditorView {
    Q_OBJECT
public:
    /// The editor must outlive the window; its names must have been read.
    MainWindow(Editor& editor, const platform::CodePage& codePage, QWidget* parent = nullptr);
    ~MainWindow() override;

    QCheckBox* box(Kind kind) const { return boxes_[static_cast<int>(kind)]; }

    void fileStateChanged() override;
    void modelLoaded() override;
    void flagsChanged() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void refresh();
    void showCount();
    void boxToggled(Kind kind, bool ticked);
    void showInfo();

    Editor& editor_;
    const platform::CodePage& codePage_;
    std::array<QCheckBox*, kKindCount> boxes_{};
    QListWidget* itemlist_ = nullptr;
    QLabel* lremain_ = nullptr;
    QLabel* lcurfile_ = nullptr;
    QPushButton* cmdclear_ = nullptr;
    QPushButton* cmdreset_ = nullptr;
    QAction* msave_ = nullptr;
    QAction* msaveas_ = nullptr;
    QAction* mclose_ = nullptr;
    QPointer<widgets::CreditsWindow> credits_;
};

} // namespace brackel
