#pragma once

// The named controls of a window, for the tests of the windows.

// Qt
#include <QObject>
#include <QtGlobal>

namespace testsupport {

/// The control of type T named `name` among the children of `window`; a
/// missing one stops the test program, naming the control.
template <class T>
T* control(const QObject* window, const char* name)
{
    T* child = window->findChild<T*>(name);
    if (!child)
        qFatal("no control named %s", name);
    return child;
}

} // namespace testsupport
