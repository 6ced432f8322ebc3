#pragma once

// TPortraitForm: the sixteen faces in a 4 x 4 grid; a click chooses one,
// a gold frame marks it, and the editor's portrait field takes its number.

// standard
#include <array>

// Qt
#include <QWidget>

class QLabel;

namespace kestrin {

class Profile;

class TPortraitForm final : public QWidget {
    Q_OBJECT
public:
    explicit TPortraitForm(Profile& profile);

    /// Shows only frame k + 1 and sets the portrait field to k (0..15;
    /// other numbers are ignored).
    void ShowPortrait(int face);
    QLabel* face(int face) const { return faces_[face]; }
    QLabel* frame(int face) const { return frames_[face]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Profile& profile_;
    std::array<QLabel*, 16> faces_{};
    std::array<QLabel*, 16> frames_{};
};

} // namespace kestrin
