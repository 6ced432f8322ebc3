#pragma once

// Gives a widget, menu or action its object name as it is created, so that
// tests and scripts find every control by the name the program gives it.

// Qt
#include <QString>

namespace widgets {

template <class T>
T* named(T* object, const char* name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

} // namespace widgets
