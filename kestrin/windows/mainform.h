#pragma once

// TMainForm: Kestrin's main window. It shows the editing model (attributes
// with their steppers, traits, personality, attitude, body type and voice),
// opens the other windows, and runs the file buttons. A failure a handler
// gets back from the core ends the action and is shown in a box
// (showFailure), and the window goes on; so does anything Qt or the
// standard library throws, which the safety net (runGuarded) shows.

// standard
#include <array>
#include <functional>
#include <string>

// Qt
#include <QTimer>
#include <QWidget>

// ours
#include "kestrin/core/profile.h"
#include "kestrin/core/profilefile.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace platform {
class CodePage;
class Platform;
}

namespace kestrin {

namespace flat {
class FlatSpeedButton;
}

class WindowSet;

class TMainForm final : public QWidget {
    Q_OBJECT
public:
    TMainForm(Profile& profile, WindowSet& windows, platform::Platform& platform);

    /// Runs an action under the safety net: a std::exception it throws is
    /// shown in a box, and the window goes on. The action shows the failures
    /// it gets back from the core itself (showFailure).
    void guarded(const std::function<void()>& action);

    const std::string& impDatPath() const { return impDatPath_; }

    /// The address the banner opens.
    static constexpr const char* kBannerAddress = "https://varnhold.example.org/kestrin";

    // The file buttons, as their clicks run them.
    void selectPath();
    /// Takes a file named on the command line as the IMP.dat path, as if it
    /// had been chosen with "S&et IMP.dat path": the buttons come on and
    /// nothing is read. A file that does not exist is reported and no path
    /// is taken.
    void takeImpDatPath(const std::string& path);
    void readCustom();
    void saveCustom();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildAttributes();
    QWidget* buildLists();
    QWidget* buildRadioGroups();
    QWidget* buildButtons();
    QWidget* buildCredits();
    QWidget* buildBanner();
    void showField(Field field);
    void startRepeat(Attribute target, QTimer* timer);
    void repeatTick(int delta);
    bool askQuit();
    void setImpDatPath(const std::string& path);

    Profile& profile_;
    WindowSet& windows_;
    platform::Platform& platform_;
    std::string impDatPath_;
    /// IMP.dat's record as Read/Reset or Save Custom last left it: what a
    /// save merges another program's changes against.
    RecordBase recordBase_;

    std::array<QLineEdit*, kAttributeCount> attributeEdits_{};
    QComboBox* trait1_ = nullptr;
    QComboBox* trait2_ = nullptr;
    QComboBox* personality_ = nullptr;
    QComboBox* attitude_ = nullptr;
    std::array<QRadioButton*, 3> bodyButtons_{};
    std::array<QRadioButton*, 6> voiceButtons_{};
    std::array<flat::FlatSpeedButton*, 6> pathButtons_{}; // enabled once a path is chosen
    QLabel* banner_ = nullptr;

    Attribute repeatTarget_ = Attribute::Health;
    QTimer* timer1_; // step up
    QTimer* timer2_; // step down
    bool quitting_ = false;
};

} // namespace kestrin
