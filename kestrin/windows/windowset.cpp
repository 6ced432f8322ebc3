#include "kestrin/windows/windowset.h"

// Qt
#include <QGuiApplication>
#include <QScreen>

// ours
#include "kestrin/core/choices.h"
#include "kestrin/core/profile.h"
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
    void showPortrait(int face) override { w_.portrait()->ShowPortrait(face); }
    void selectColor(Palette palette, const std::string& name) override { w_.appearance()->selectColor(palette, name); }
    bool selectVest(int item) override { return w_.presets()->selectVest(item); }
    bool selectWeapon(int item) override { return w_.presets()->selectWeapon(item); }
    bool selectModification1(int item) override { return w_.presets()->selectModification1(item); }
    bool selectModification2(int item) override { return w_.presets()->selectModification2(item); }
    bool selectHelmet(int item) override { return w_.presets()->selectHelmet(item); }
    void setCeramicChecked(bool checked) override { w_.presets()->setCeramicChecked(checked); }

private:
    WindowSet& w_;
};

} // namespace

WindowSet::WindowSet(Profile& profile, platform::Platform& platform, const platform::CodePage& codePage)
    : profile_(profile), platform_(platform), choices_(std::make_unique<FormChoices>(*this))
{
    // The first one is the main window.
    main_ = new TMainForm(profile, *this, platform);
    name_ = new TNameForm(profile, codePage);
}

WindowSet::~WindowSet()
{
    for (QWidget* window : std::initializer_list<QWidget*>{presets_, help_, appearance_, name_, portrait_})
        delete window;
    delete main_;
}

TPortraitForm* WindowSet::portrait()
{
    if (!portrait_)
        portrait_ = new TPortraitForm(profile_);
    return portrait_;
}

TAppearanceForm* WindowSet::appearance()
{
    if (!appearance_)
        appearance_ = new TAppearanceForm(profile_);
    return appearance_;
}

THelpForm* WindowSet::help()
{
    if (!help_)
        help_ = new THelpForm; // centred on the desktop
    return help_;
}

TPresetsForm* WindowSet::presets()
{
    if (!presets_) {
        presets_ = new TPresetsForm(profile_, platform_);
        centreOnScreen(presets_);
    }
    return presets_;
}

Application::Application(platform::Platform& platform, const platform::CodePage& codePage)
    : profile_(std::make_unique<Profile>()), windows_(std::make_unique<WindowSet>(*profile_, platform, codePage))
{
}

Application::~Application() = default;

void centreOnScreen(QWidget* window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void showOverMainWindow(QWidget* window, QWidget* mainWindow)
{
    // move() gives the window an explicit position (Qt::WA_Moved), so this
    // placing happens once, and never for the windows centred on the desktop
    // when they are made.
    if (mainWindow && !window->testAttribute(Qt::WA_Moved))
        window->move(mainWindow->geometry().center() - window->rect().center());
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace kestrin
