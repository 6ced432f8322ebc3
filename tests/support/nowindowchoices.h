#pragma once

// For flows run without windows (benchmarks, fuzzing): a WindowChoices that
// changes nothing.

#include "kestrin/core/choices.h"

namespace kestrin {

/// The choices while the windows that make them are not there: nothing
/// changes, the fields keep their start values, and no entry is chosen.
class NoWindowChoices final : public WindowChoices {
public:
    void showPortrait(int) override {}
    void selectColor(Palette, const std::string&) override {}
    bool selectVest(int) override { return false; }
    bool selectWeapon(int) override { return false; }
    bool selectModification1(int) override { return false; }
    bool selectModification2(int) override { return false; }
    bool selectHelmet(int) override { return false; }
    void setCeramicChecked(bool) override {}
};

} // namespace kestrin
