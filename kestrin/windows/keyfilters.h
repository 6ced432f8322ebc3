#pragma once

// Key filters of Kestrin's text fields: character keys outside the allowed
// set, or past the field's typing limit, are swallowed; keys that type no
// character (arrows, Delete, Home) keep working.

// Qt
#include <QObject>

namespace kestrin {

class KeyFilter final : public QObject {
    Q_OBJECT
public:
    enum class Allow { Digits, Letters };
    /// maxLength > 0: typing stops at that many characters in a line edit.
    /// Unlike QLineEdit's own limit it never cuts a text the program sets.
    KeyFilter(Allow allow, QObject* parent, int maxLength = 0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Allow allow_;
    int maxLength_;
};

} // namespace kestrin
