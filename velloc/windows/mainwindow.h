#pragma once

// Velloc's main window: the item list (short or full), the three text boxes
// that edit the selected item's texts keystroke by keystroke, the File and
// Help menus, and the progress window shown while a file is read or written.

// Qt
#include <QMainWindow>
#include <QPointer>
#include <QString>

// ours
#include "velloc/core/session.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace platform {
class CodePage;
}

namespace widgets {
class CreditsWindow;
}

namespace velloc {

class MainWindow final : public QMainWindow, public SessionView {
    Q_OBJECT
public:
    /// The session must outlive the window.
    MainWindow(Session& session, const platform::CodePage& codePage, QWidget* parent = nullptr);
    ~MainWindow() override;

    int currentItem() const { return currentItem_; }
    /// The progress window; null while none is shown.
    QWidget* progressWindow() const { return progress_; }

    void showProgress(const char* text) override;
    void hideProgress() override;
    void fileLoaded() override;
    void fileLabelChanged() override;
    void fileClosed() override;

private:
    void buildMenus();
    void buildControls();
    bool showingAll() const;
    void rebuildList();
    void selectionMade(int position);
    void showItem();
    /// tbdesc's text with every line break as one LF and nothing else changed.
    QString descriptionBoxText() const;
    void adaptToFileType();
    void setEditingEnabled(bool enabled);
    /// Takes a line box's text into the model's text of the field unless it
    /// grows past the field's typing limit, which puts the box back; false
    /// when nothing was taken.
    bool takeTypedText(QLineEdit* box, Field field, std::string& text);
    void shortNameChanged();
    void fullNameChanged();
    void descriptionChanged();
    void showInfo();

    Session& session_;
    const platform::CodePage& codePage_;
    int currentItem_ = 0;
    bool loading_ = false;       // the boxes are being filled from the model
    QString shownDescription_;   // tbdesc's text as last shown or accepted
    int descriptionEditAt_ = 0;  // where the last change of tbdesc happened

    QListWidget* itemlist_ = nullptr;
    QCheckBox* cball_ = nullptr;
    QLineEdit* tbshortname_ = nullptr;
    QLabel* llongname_ = nullptr;
    QLineEdit* tblongname_ = nullptr;
    QLabel* ldesc_ = nullptr;
    QPlainTextEdit* tbdesc_ = nullptr;
    QLabel* lcurfile_ = nullptr;
    QAction* msave_ = nullptr;
    QAction* msaveas_ = nullptr;
    QAction* mclosefile_ = nullptr;
    QPointer<QWidget> progress_;
    QPointer<widgets::CreditsWindow> credits_;
};

} // namespace velloc
