#pragma once

// Key filters of Kestrin's text fields: character keys outside the allowed
// set are swallowed; keys that type no character (arrows, Delete, Home)
// keep working.

// Qt
#include <QObject>

namespace kestrin {

class KeyFilter final : public QObject {
    Q_OBJECT
public:
    enum class Allow { Digits, Letters };
    KeyFilter(Allow allow, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Allow allow_;
};

} // namespace kestrin
