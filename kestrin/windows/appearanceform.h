#pragma once

// TAppearanceForm: the colours of the mercenary's hair, skin, shirt ("vest")
// and trousers ("pants"), each a palette name chosen from a pop-up menu and
// written at once into the editor's model.

// standard
#include <array>
#include <string>
#include <string_view>

// Qt
#include <QWidget>

// ours
#include "kestrin/core/profile.h"

class QLabel;
class QMenu;

namespace kestrin {

class TAppearanceForm final : public QWidget {
    Q_OBJECT
public:
    explicit TAppearanceForm(Profile& profile);

    /// Performs the choice of the part's entry whose palette name equals the
    /// name exactly; false (nothing changed) when none does.
    bool selectColor(Palette part, const std::string& name);
    /// The value label of a part (for tests and the read pass's display).
    QLabel* valueLabel(Palette part) const { return values_[int(part)]; }
    QMenu* popup(Palette part) const { return popups_[int(part)]; }

private:
    void choose(Palette part, std::string_view name);

    Profile& profile_;
    std::array<QLabel*, kPaletteCount> values_{};
    std::array<QMenu*, kPaletteCount> popups_{};
};

} // namespace kestrin
