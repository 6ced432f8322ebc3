#pragma once

// The choice operations of Kestrin's secondary windows that a read of the
// profile performs, exactly as a user's click on the entry would.

// standard
#include <string>

// ours
#include "kestrin/core/profile.h"

namespace kestrin {

class WindowChoices {
public:
    virtual ~WindowChoices() = default;
    /// Shows face k (0..15) and sets the portrait field.
    virtual void showPortrait(int face) = 0;
    /// Chooses the colour entry whose palette name equals the name exactly;
    /// a name that matches none changes nothing.
    virtual void selectColor(Palette palette, const std::string& name) = 0;
    /// Each chooses the catalogue entry with the item number; a number the
    /// catalogue lacks changes nothing.
    virtual void selectVest(int item) = 0;
    virtual void selectWeapon(int item) = 0; // sets the ammunition too
    virtual void selectModification1(int item) = 0;
    virtual void selectModification2(int item) = 0;
    virtual void selectHelmet(int item) = 0;
    /// Checks or clears "Ceramic plates attached"; its action runs only on a
    /// change of state.
    virtual void setCeramicChecked(bool checked) = 0;
};

} // namespace kestrin
