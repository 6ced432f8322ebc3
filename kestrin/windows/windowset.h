#pragma once

// Kestrin's six windows, created once at start-up in a fixed order and
// living until the program ends. Each window reaches the others through
// this set.

// standard
#include <memory>

class QWidget;

namespace platform {
class CodePage;
class Platform;
}

namespace kestrin {

class Profile;
class TAppearanceForm;
class THelpForm;
class TMainForm;
class TNameForm;
class TPortraitForm;
class TPresetsForm;
class WindowChoices;

struct WindowSet {
    TMainForm* main = nullptr;             // 1, the main window
    TPortraitForm* portrait = nullptr;     // 2
    TNameForm* name = nullptr;             // 3
    TAppearanceForm* appearance = nullptr; // 4
    THelpForm* help = nullptr;             // 5
    TPresetsForm* presets = nullptr;       // 6
    /// The choice operations of the secondary windows, for the read pass.
    WindowChoices* choices = nullptr;
};

/// Everything a running Kestrin owns: the model, the windows and the choices
/// that a read performs. Destroying it closes every window.
class Application {
public:
    Application(platform::Platform& platform, const platform::CodePage& codePage);
    ~Application();

    Profile& profile() { return *profile_; }
    WindowSet& windows() { return windows_; }

private:
    std::unique_ptr<Profile> profile_;
    std::unique_ptr<WindowChoices> choices_;
    WindowSet windows_;
};

/// Moves the window to the centre of the desktop.
void centreOnScreen(QWidget* window);

/// Shows a secondary window without blocking and brings it forward. A window
/// that has no position of its own yet (it was never moved) is first put
/// over the main window's centre; one that has, such as a window centred on
/// the desktop at start-up or one placed by an earlier showing, stays where
/// it is. Without a main window it is only shown and brought forward.
void showOverMainWindow(QWidget* window, QWidget* mainWindow);

} // namespace kestrin
