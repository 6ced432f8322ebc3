#pragma once

// TNameForm: the mercenary's name and callsign. Its fields show and edit
// the editor's model; "&Done" only hides the window.

// Qt
#include <QWidget>

namespace platform {
class CodePage;
}

class QLineEdit;

namespace kestrin {

class Profile;

class TNameForm final : public QWidget {
    Q_OBJECT
public:
    TNameForm(Profile& profile, const platform::CodePage& codePage, QWidget* mainWindow);

    /// Shows the window, over the centre of the main window the first time.
    void showForm();

private:
    Profile& profile_;
    const platform::CodePage& codePage_;
    QWidget* mainWindow_;
    QLineEdit* nameEdit_;
    QLineEdit* callsignEdit_;
    bool placed_ = false;
};

} // namespace kestrin
