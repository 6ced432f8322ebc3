#pragma once

// The closed catalogue of the starting kit: every weapon with its
// ammunition and display data, the attachments of both slots, helmets,
// vests and the ceramic plates, and the lookups from stored item numbers
// back to entries.

// standard
#include <optional>
#include <span>

namespace kestrin::catalogue {

/// The data the weapon panel shows (texts exactly as shown; empty where
/// none). The name may hold "&&", which shows as one ampersand.
struct WeaponDisplay {
    const char* name;
    const char* caliber;
    const char* capability; // magazine capacity
    const char* weightKg;
    const char* weightLb;
    const char* damage;
    const char* range;
    const char* ap;
    const char* burst;
    const char* apBurst;
};

struct WeaponEntry {
    const char* group;     // sub-menu caption, "Pistols"; null for the top-level "None"
    const char* component; // menu item name, "Glock171"
    const char* caption;   // menu text, "H&&K MP5K"
    int weapon;            // weapon item number
    int ammo;              // ammunition item number
    WeaponDisplay display;
};

struct AttachmentEntry {
    const char* component1; // "Laserpointer1" in the first slot's menu
    const char* caption1;   // "Laser Sight"
    const char* component2; // "Lasersight1" in the second slot's menu
    const char* caption2;   // "Lasersight"
    const char* shown;      // "Laser Sight"
    int item;
};

struct ArmourEntry {
    const char* path[3]; // menu path: {"Improved vests", "Comp. 18", "Kevlarvest"}, unused parts null
    const char* component;
    const char* shown; // "Comp. 18 Kevlarvest"
    int item;
    int armour;
};

/// Sub-menu captions of the weapon menu in order, and their component names.
struct MenuGroup {
    const char* caption;
    const char* component;
};
std::span<const MenuGroup> weaponGroups();
std::span<const MenuGroup> helmetGroups(); // "Improved helmets" Improvedhelmets1, "Comp. 18" Comp181, "Coated" Treated1
std::span<const MenuGroup> vestGroups();   // "Improved vests" Improvedvests1, "Comp. 18" Comp182, "Coated" Treated2

/// In menu order; the first entry of each is "None" (item 0).
std::span<const WeaponEntry> weapons();
std::span<const AttachmentEntry> attachments();
std::span<const ArmourEntry> helmets();
std::span<const ArmourEntry> vests();

inline constexpr int kCeramicPlates = 183;
inline constexpr int kCeramicArmour = 19;

const WeaponEntry* WeaponEntryFor(int item);
const AttachmentEntry* ModificationEntryFor(int item); // the same entries serve both slots
const ArmourEntry* HelmetEntryFor(int item);
const ArmourEntry* VestEntryFor(int item);
/// 0 gives not attached, 183 attached; any other number has no state.
std::optional<bool> CeramicStateFor(int item);

} // namespace kestrin::catalogue
