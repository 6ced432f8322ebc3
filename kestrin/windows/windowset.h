#pragma once

// Kestrin's six windows. Each window reaches the others through this set.
// The main window and the Name window, whose fields follow the model's name
// and callsign, are made at start-up. The Portrait, Appearance, Help and
// Presets windows are made the first time anything needs one: its button, a
// read that shows what it read there, a preset. A window that is made late
// starts exactly as it would have at start-up, and nothing but the window
// itself changes what it shows, so every read, save and preset has the same
// outcome either way; start-up only saves their pictures, menus and help
// texts until they are wanted. Every window lives until the program ends.

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

class WindowSet {
public:
    /// Makes the main window and the Name window.
    WindowSet(Profile& profile, platform::Platform& platform, const platform::CodePage& codePage);
    /// Closes every window.
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    TMainForm* main() const { return main_; }
    TNameForm* name() const { return name_; }
    // Each makes its window on the first call.
    TPortraitForm* portrait();
    TAppearanceForm* appearance();
    THelpForm* help();
    TPresetsForm* presets();

    /// The choice operations of the secondary windows, for the read pass;
    /// each makes the window that performs it.
    WindowChoices& choices() { return *choices_; }

    /// Whether the window that makes itself on first need is there yet.
    bool portraitMade() const { return portrait_; }
    bool appearanceMade() const { return appearance_; }
    bool helpMade() const { return help_; }
    bool presetsMade() const { return presets_; }

private:
    Profile& profile_;
    platform::Platform& platform_;
    TMainForm* main_ = nullptr;
    TPortraitForm* portrait_ = nullptr;
    TNameForm* name_ = nullptr;
    TAppearanceForm* appearance_ = nullptr;
    THelpForm* help_ = nullptr;
    TPresetsForm* presets_ = nullptr;
    std::unique_ptr<WindowChoices> choices_;
};

/// Everything a running Kestrin owns: the model and the windows. Destroying
/// it closes every window.
class Application {
public:
    Application(platform::Platform& platform, const platform::CodePage& codePage);
    ~Application();

    Profile& profile() { return *profile_; }
    WindowSet& windows() { return *windows_; }

private:
    std::unique_ptr<Profile> profile_;
    std::unique_ptr<WindowSet> windows_;
};

/// Moves the window to the centre of the desktop.
void centreOnScreen(QWidget* window);

/// Shows a secondary window without blocking and brings it forward. A window
/// that has no position of its own yet (it was never moved) is first put
/// over the main window's centre; one that has, such as a window centred on
/// the desktop when it was made or one placed by an earlier showing, stays
/// where it is. Without a main window it is only shown and brought forward.
void showOverMainWindow(QWidget* window, QWidget* mainWindow);

} // namespace kestrin
