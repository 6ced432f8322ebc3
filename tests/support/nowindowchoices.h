#pragma once

// For flows run without windows (benchmarks, fuzzing): a WindowChoices that
// changes nothing.

#include "kestrin/core/choices.h"

namespace kestrin {

/// The choices while the windows that make them are not there: nothing
/// changes, the fields keep their start values.
class NoWindowChoices final : public WindowChoices {
public:
    void showPortrait(int) override {}
    void selectColor(Palette, const std::string&) override {}
    void selectVest(int) override {}
    void selectWeapon(int) override {}
    void selectModification1(int) override {}
    void selectModification2(int) override {}
    void selectHelmet(int) override {}
    void setCeramicChecked(bool) override {}
};

} // namespace kestrin
