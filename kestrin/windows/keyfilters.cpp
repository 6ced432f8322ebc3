#include "kestrin/windows/keyfilters.h"

// Qt
#include <QKeyEvent>

namespace kestrin {

KeyFilter::KeyFilter(Allow allow, QObject* parent) : QObject(parent), allow_(allow) {}

bool KeyFilter::eventFilter(QObject*, QEvent* event)
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
    }
    return false;
}

} // namespace kestrin
