#pragma once

// TNameForm: the mercenary's name and callsign. Its fields show and edit
// the editor's model; "&Done" only hides the window.

// standard
#include <string>

// Qt
#include <QWidget>

// ours
#include "kestrin/core/profile.h"

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
    /// Keeps the box and the model's name or callsign the same in both
    /// directions.
    void bindToModel(QLineEdit* edit, Field field);
    const std::string& modelText(Field field) const;

    Profile& profile_;
    const platform::CodePage& codePage_;
    QLineEdit* nameEdit_;
    QLineEdit* callsignEdit_;
};

} // namespace kestrin
