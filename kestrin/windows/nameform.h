#pragma once

// TNameForm: the mercenary's name and callsign. Its fields show and edit
// the editor's model; "&Done" only hides the window.

// standard
#include <string>

// Qt
#include <QWidget>

// ours
#include "kestrin/profile/profile.h"

namespace platform {
class CodePage;
}

class QLineEdit;

namespace kestrin {

class TNameForm final : public QWidget {
    Q_OBJECT
public:
    TNameForm(Profile& profile, const platform::CodePage& codePage);

private:
    /// Keeps the field and the model's text (read by get, written by set)
    /// the same in both directions.
    void bindToModel(QLineEdit* edit, Field field, const std::string& (Profile::*get)() const,
                     void (Profile::*set)(std::string));

    Profile& profile_;
    const platform::CodePage& codePage_;
    QLineEdit* nameEdit_;
    QLineEdit* callsignEdit_;
};

} // namespace kestrin
