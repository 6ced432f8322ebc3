#pragma once

// The choice operations of Kestrin's secondary windows that a read of the
// profile and a preset perform, exactly as a user's click on the entry
// would.

// standard
#include <string>

// ours
#include "kestrin/core/catalogue.h"
#include "kestrin/core/profile.h"

namespace kestrin {

/// The select operations of the Inventory window: each performs the choice
/// of the catalogue entry with the item number and reports whether there is
/// one; a number the catalogue lacks changes nothing. A preset reports the
/// numbers the catalogue lacks; a read of IMP.dat passes over them.
class InventorySelect {
public:
    virtual ~InventorySelect() = default;
    virtual bool selectWeapon(int item) = 0; // sets the ammunition too
    virtual bool selectModification1(int item) = 0;
    virtual bool selectModification2(int item) = 0;
    virtual bool selectHelmet(int item) = 0;
    virtual bool selectVest(int item) = 0;
    /// Checks or clears "Ceramic plates attached"; its action runs only on a
    /// change of state.
    virtual void setCeramicChecked(bool checked) = 0;
};

/// Every choice a read of the profile makes: the Inventory window's, and
/// the face and colours of the Portrait and Appearance windows.
class WindowChoices : public virtual InventorySelect {
public:
    /// Shows face k (0..15) and sets the portrait field.
    virtual void showPortrait(int face) = 0;
    /// Chooses the colour entry whose palette name equals the name exactly;
    /// a name that matches none changes nothing.
    virtual void selectColor(Palette palette, const std::string& name) = 0;
};

/// The select operations as the catalogue answers them: the entry with the
/// stored number is looked up in its slot's list and, when there is one,
/// chosen as a click on it in the slot's menu chooses it. The Inventory
/// window and the profile alone differ only in what a choice does. It and
/// WindowChoices share InventorySelect as a virtual base, so that the
/// choices of the profile alone are both with one set of selects.
class CatalogueSelect : public virtual InventorySelect {
public:
    bool selectWeapon(int item) final { return choose(catalogue::WeaponEntryFor(item), &CatalogueSelect::ChooseWeapon); }
    bool selectModification1(int item) final
    {
        return choose(catalogue::ModificationEntryFor(item), &CatalogueSelect::ChooseModification1);
    }
    bool selectModification2(int item) final
    {
        return choose(catalogue::ModificationEntryFor(item), &CatalogueSelect::ChooseModification2);
    }
    bool selectHelmet(int item) final { return choose(catalogue::HelmetEntryFor(item), &CatalogueSelect::ChooseHelmet); }
    bool selectVest(int item) final { return choose(catalogue::VestEntryFor(item), &CatalogueSelect::ChooseVest); }

    /// The choice of an entry of each slot's menu.
    virtual void ChooseWeapon(const catalogue::WeaponEntry& entry) = 0; // with its ammunition
    virtual void ChooseModification1(const catalogue::AttachmentEntry& entry) = 0;
    virtual void ChooseModification2(const catalogue::AttachmentEntry& entry) = 0;
    virtual void ChooseHelmet(const catalogue::ArmourEntry& entry) = 0;
    virtual void ChooseVest(const catalogue::ArmourEntry& entry) = 0;

private:
    template <typename Entry>
    bool choose(const Entry* entry, void (CatalogueSelect::*choice)(const Entry&))
    {
        if (entry)
            (this->*choice)(*entry);
        return entry != nullptr;
    }
};

} // namespace kestrin
