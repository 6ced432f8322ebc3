#include "kestrin/windows/keyfilters.h"

// Qt
#include <QKeyEvent>
#include <QLineEdit>

namespace kestrin {

KeyFilter::KeyFilter(Allow allow, QObject* parent, int maxLength)
    : QObject(parent), allow_(allow), maxLength_(maxLength)
{
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.isEmpty())
        return false; // no character: navigation and editing keys pass
    for (QChar c : text) {
        if (c == QChar('\b'))
            continue;
        const bool digit = c >= QChar('0') && c <= QChar('9');
        const bool letter = (c >= QChar('A') && c <= QChar('Z')) || (c >= QChar('a') && c <= QChar('z')) ||
                            c == QChar(' ');
        if (allow_ == Allow::Digits ? !digit : !letter)
            return true; // swallowed
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (maxLength_ > 0 && edit && edit->text().size() - edit->selectedText().size() >= maxLength_)
            return true; // the field is full
    }
    return false;
}

} // namespace kestrin
