#pragma once

// TPresetsForm ("Kestrin - Inventory"): the starting kit around a soldier
// figure, each slot chosen from a pop-up menu of the catalogue and written
// at once into the editor's model; the weapon, helmet and vest data and the
// armour total; and the presets of Presets.ini, applied with one click.

// standard
#include <array>

// Qt
#include <QWidget>

// ours
#include "kestrin/core/catalogue.h"
#include "kestrin/core/presets.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;

namespace platform {
class Platform;
}

namespace kestrin {

namespace flat {
class FlatSpeedButton;
}

class TPresetsForm final : public QWidget, public CatalogueSelect {
    Q_OBJECT
public:
    TPresetsForm(Profile& profile, platform::Platform& platform);

    // The choice operations, as a click on a menu entry runs them; the
    // select operations (stored number in) find the entry and run its choice.
    void ChooseWeapon(const catalogue::WeaponEntry& entry) override;
    void ChooseModification1(const catalogue::AttachmentEntry& entry) override;
    void ChooseModification2(const catalogue::AttachmentEntry& entry) override;
    void ChooseHelmet(const catalogue::ArmourEntry& entry) override;
    void ChooseVest(const catalogue::ArmourEntry& entry) override;
    void setCeramicChecked(bool checked) override;

    /// Refills the preset list from Presets.ini; a failure (presetNames's)
    /// is shown in a box and leaves the list empty.
    void FillPresetList();
    /// Applies the preset (loadPreset); a failure is shown in a box.
    void LoadPreset(const QString& name);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* valueLabel(const char* name, QWidget* parent);
    QWidget* buildKit();
    QWidget* buildData();
    QMenu* weaponMenu();
    QMenu* attachmentMenu(int slot);
    QMenu* armourMenu(bool helmet);
    void RefreshArmorTotal();

    Profile& profile_;
    platform::Platform& platform_;
    QListWidget* presetList_ = nullptr;
    QCheckBox* ceramic_ = nullptr;
    QLabel* armorPanel_ = nullptr;
    QLabel* armorHelmet_ = nullptr;
    QLabel* armorVest_ = nullptr;
    flat::FlatSpeedButton* weaponPanel_ = nullptr;
    flat::FlatSpeedButton* modificationPanel_[2] = {};
    flat::FlatSpeedButton* helmetPanel_ = nullptr;
    flat::FlatSpeedButton* vestPanel_ = nullptr;
    std::array<QLabel*, 10> weaponFields_{};
    QLabel* weaponModification_[2] = {};
    QLabel* helmetName_ = nullptr;
    QLabel* helmetArmor_ = nullptr;
    QLabel* vestName_ = nullptr;
    QLabel* vestArmor_ = nullptr;
};

} // namespace kestrin
