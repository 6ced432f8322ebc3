#include "kestrin/windows/windowset.h"

// Qt
#include <QGuiApplication>
#include <QScreen>

// ours
#include "kestrin/profile/choices.h"
#include "kestrin/profile/profile.h"
#include "kestrin/windows/appearanceform.h"
#include "kestrin/windows/helpform.h"
#include "kestrin/windows/mainform.h"
#include "kestrin/windows/nameform.h"
#include "kestrin/windows/portraitform.h"
#include "kestrin/windows/presetsform.h"

namespace kestrin {

namespace {

// The read pass's choices, performed by the windows that make them.
class FormChoices final : public WindowChoices {
public:
    explicit FormChoices(WindowSet& windows) : w_(windows) {}
    void showPortrait(int face) override { w_.portrait->ShowPortrait(face); }
    void selectColor(Palette palette, const std::string& name) override { w_.appearance->selectColor(palette, name); }
    void selectVest(int item) override { w_.presets->selectVest(item); }
    void selectWeapon(int item) override { w_.presets->selectWeapon(item); }
    void selectModification1(int item) override { w_.presets->selectModification1(item); }
    void selectModification2(int item) override { w_.presets->selectModification2(item); }
    void selectHelmet(int item) override { w_.presets->selectHelmet(item); }
    void setCeramicChecked(bool checked) override { w_.presets->setCeramicChecked(checked); }

private:
    WindowSet& w_;
};

} // namespace

Application::Application(platform::Platform& platform, const platform::CodePage& codePage)
    : profile_(std::make_unique<Profile>())
{
    // The windows in their order; the first one is the main window.
    windows_.main = new TMainForm(*profile_, windows_, platform);
    windows_.portrait = new TPortraitForm(*profile_);
    windows_.name = new TNameForm(*profile_, codePage);
    windows_.appearance = new TAppearanceForm(*profile_);
    windows_.help = new THelpForm;
    windows_.presets = new TPresetsForm(*profile_, platform);
    centreOnScreen(windows_.presets);
    choices_ = std::make_unique<FormChoices>(windows_);
    windows_.choices = choices_.get();
}

Application::~Application()
{
    for (QWidget* window : std::initializer_list<QWidget*>{windows_.presets, windows_.help, windows_.appearance,
                                                           windows_.name, windows_.portrait})
        delete window;
    delete windows_.main;
}

void centreOnScreen(QWidget* window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void showOverMainWindow(QWidget* window, QWidget* mainWindow)
{
    // move() gives the window an explicit position (Qt::WA_Moved), so this
    // placing happens once, and never for the windows centred at start-up.
    if (mainWindow && !window->testAttribute(Qt::WA_Moved))
        window->move(mainWindow->geometry().center() - window->rect().center());
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace kestrin
