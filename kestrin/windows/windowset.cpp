#include "kestrin/windows/windowset.h"

// Qt
#include <QGuiApplication>
#include <QScreen>

// ours
#include "kestrin/profile/choices.h"
#include "kestrin/profile/profile.h"
#include "kestrin/windows/mainform.h"
#include "kestrin/windows/nameform.h"

namespace kestrin {

Application::Application(platform::Platform& platform, const platform::CodePage& codePage)
    : profile_(std::make_unique<Profile>()), choices_(std::make_unique<NoWindowChoices>())
{
    // The windows in their order; the first one is the main window. The
    // choices forward to the Portrait, Appearance and Inventory windows as
    // those join the set.
    windows_.choices = choices_.get();
    windows_.main = new TMainForm(*profile_, windows_, platform);
    windows_.name = new TNameForm(*profile_, codePage, windows_.main);
}

Application::~Application()
{
    for (QWidget* window : {windows_.presets, windows_.help, windows_.appearance,
                            static_cast<QWidget*>(windows_.name), windows_.portrait})
        delete window;
    delete windows_.main;
}

void centreOnScreen(QWidget* window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

} // namespace kestrin
