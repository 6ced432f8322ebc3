#pragma once

// The starting kit as a player sees it, table by table, written out once:
// the weapon menu with each weapon's ammunition and the texts of the weapon
// panel, the attachments of both slots, helmets and vests with their armour,
// the sub-menus, the ammunition of each caliber and the ceramic plates. The
// tests hold Kestrin's catalogue and its Inventory window to these rows.

// standard
#include <string_view>

namespace kittables {

/// The ammunition of the entries whose number is the one of the caliber
/// they show (see kCalibers).
inline constexpr int kAmmoOfItsCaliber = -1;

struct Weapon {
    const char* group;   // sub-menu caption; null for the top-level "None"
    const char* entry;   // component name of the menu item
    const char* caption; // menu text; "&&" shows one ampersand
    int item;
    int ammo;
    // The weapon panel's texts: name, caliber, capability, weight (kg),
    // weight (lb), damage, range, AP, burst, AP burst.
    const char* shown[10];
};

struct Attachment {
    const char* entry1;
    const char* caption1;
    const char* entry2;
    const char* caption2;
    const char* shown;
    int item;
};

struct Armour {
    const char* path[3]; // menu path, unused parts null
    const char* entry;
    const char* shown;
    int item;
    int armour;
};

struct MenuGroup {
    const char* caption;
    const char* component; // null where no name is fixed for it
};

struct Caliber {
    const char* caliber;
    int ammo;
};

inline constexpr int kCeramicPlates = 183;
inline constexpr int kCeramicArmour = 19;

inline constexpr MenuGroup kWeaponGroups[] = {
    {"Pistols", "MenuPistols"},
    {"Sub machine guns", nullptr},
    {"Sniper rifles", nullptr},
    {"Assault rifles", nullptr},
    {"Shotguns", nullptr},
    {"Rifles", nullptr},
    {"Light machine guns", nullptr},
    {"Misc. weapons", "Rocketrifles1"},
};
inline constexpr MenuGroup kHelmetGroups[] = {
    {"Improved helmets", "Improvedhelmets1"},
    {"Comp. 18", "Comp181"},
    {"Coated", "Treated1"},
};
inline constexpr MenuGroup kVestGroups[] = {
    {"Improved vests", "Improvedvests1"},
    {"Comp. 18", "Comp182"},
    {"Coated", "Treated2"},
};

inline constexpr Caliber kCalibers[] = {
    {"9mm", 74},        {".38", 78},    {".357", 89},        {".45", 83},          {"5.56mm", 94},
    {"5.45mm", 92},     {"5.7mm", 105}, {"7.62mm WP", 97},   {"7.62mm NATO", 101}, {"4.7mm", 104},
    {"12 Gauge", 107},  {"CAWS", 109},  {"Mini-rockets", 113}, {"Dart", 114},
};

// clang-format off
inline constexpr Weapon kWeapons[] = {
    {nullptr, "None5", "None", 0, 0, {"None", "", "", "", "", "", "", "", "", ""}},
    {"Pistols", "Glock171", "Glock 17", 1, 74, {"Glock 17", "9mm", "15", "0.8", "1.8", "21", "12", "7", "N/A", "N/A"}},
    {"Pistols", "Glock181", "Glock 18", 2, 74, {"Glock 18", "9mm", "15", "0.8", "1.8", "21", "12", "7", "5 rounds", "11"}},
    {"Pistols", "Beretta92F1", "Beretta 92F", 3, 74, {"Beretta 92F", "9mm", "15", "1.3", "2.9", "22", "12", "6", "N/A", "N/A"}},
    {"Pistols", "Beretta93R1", "Beretta 93R", 4, 74, {"Beretta 93R", "9mm", "15", "1.3", "2.9", "22", "12", "7", "5 rounds", "11"}},
    {"Pistols", "N38Specail1", ".38 Special", 5, 78, {".38 Special", ".38", "6", "1.2", "2.6", "22", "13", "11", "N/A", "N/A"}},
    {"Pistols", "Barracuda1", "Barracuda", 6, 89, {"Barracuda", ".357", "6", "1.1", "2.4", "24", "13", "11", "N/A", "N/A"}},
    {"Pistols", "DesertEagle1", "Desert  Eagle", 7, 89, {"Desert Eagle", ".357", "9", "2.0", "4.4", "24", "13", "11", "N/A", "N/A"}},
    {"Pistols", "Colt451", "Colt .45", 8, 83, {"Colt .45", ".45", "7", "1.3", "2.9", "23", "12", "7", "N/A", "N/A"}},
    {"Pistols", "AutomagIII1", "Automag III", 56, 101, {"Automag III", "7.62mm NATO", "5", "1.3", "2.9", "29", "22", "10", "N/A", "N/A"}},
    {"Pistols", "DartGun1", "Dart Gun", 61, 114, {"Dart Gun", "Dart", "1", "1.3", "2.9", "2", "20", "7", "N/A", "N/A"}},
    {"Sub machine guns", "HKMP5K1", "H&&K MP5K", 9, 74, {"H&&K MP5K", "9mm", "30", "2.4", "5.3", "23", "20", "6", "5 rounds", "10"}},
    {"Sub machine guns", "MAC101", "MAC-10", 10, 83, {"MAC-10", ".45", "30", "3.8", "8.4", "27", "20", "7", "5 rounds", "11"}},
    {"Sub machine guns", "ThompsonM1A11", "Thompson M1A1", 11, 83, {"Thompson M1A1", ".45", "30", "5.8", "12.8", "24", "20", "9", "4 rounds", "13"}},
    {"Sub machine guns", "ColtCommando1", "Colt Commando", 12, 94, {"Colt Commando", "5.56mm", "30", "3.1", "6.8", "29", "20", "6", "4 rounds", "10"}},
    {"Sub machine guns", "HKMP531", "H&&K MP53", 13, 94, {"H&&K MP53", "5.56mm", "30", "3.6", "7.6", "25", "20", "7", "3 rounds", "11"}},
    {"Sub machine guns", "AKSU741", "AKSU-74", 14, 92, {"AKSU-74", "5.45mm", "30", "4.5", "9.9", "20", "26", "5", "4 rounds", "9"}},
    {"Sub machine guns", "FNP901", "FN-P90", 15, 105, {"FN-P90", "5.7mm", "50", "3.7", "8.1", "30", "22", "6", "5 rounds", "10"}},
    {"Sub machine guns", "Type851", "Type 85", 16, 97, {"Type 85", "7.62mm WP", "30", "2.7", "5.9", "23", "20", "9", "4 rounds", "13"}},
    {"Sniper rifles", "Dragunov1", "Dragunov", 18, 97, {"Dragunov", "7.62mm WP", "10", "4.6", "10.1", "33", "75", "13", "N/A", "N/A"}},
    {"Sniper rifles", "M241", "M-24", 19, 101, {"M-24", "7.62mm NATO", "5", "6.7", "14.7", "32", "80", "13", "N/A", "N/A"}},
    {"Assault rifles", "SteyrAUG1", "Steyr AUG", 20, 94, {"Steyr AUG", "5.56mm", "30", "4.1", "9.0", "30", "50", "7", "3 rounds", "11"}},
    {"Assault rifles", "HKG411", "H&&K G41", 21, 94, {"H&&K G41", "5.56mm", "30", "4.1", "10.1", "29", "30", "7", "4 rounds", "11"}},
    {"Assault rifles", "C7M16A21", "C-7 / M16A2", 23, 94, {"C-7 / M16A2", "5.56mm", "30", "4.1", "9.0", "30", "40", "6", "5 rounds", "10"}},
    {"Assault rifles", "FAMAS1", "FA-MAS", 24, 94, {"FA-MAS", "5.56mm", "30", "4.1", "9.0", "30", "25", "5", "5 rounds", "9"}},
    {"Assault rifles", "AK741", "AK-74", 25, 92, {"AK-74", "5.45mm", "30", "4.2", "9.2", "28", "35", "5", "3 rounds", "9"}},
    {"Assault rifles", "AKM1", "AKM", 26, 92, {"AKM", "5.45mm", "30", "5.1", "11.2", "29", "25", "5", "3 rounds", "10"}},
    {"Assault rifles", "M141", "M-14", 27, 101, {"M-14", "7.62mm NATO", "20", "3.7", "8.1", "33", "33", "7", "4 rounds", "11"}},
    {"Assault rifles", "FNFAL1", "FN-FAL", 28, 101, {"FN-FAL", "7.62mm NATO", "20", "5.1", "11.2", "32", "42", "5", "3 rounds", "9"}},
    {"Assault rifles", "HKG3A31", "H&&K G3A3", 29, kAmmoOfItsCaliber, {"H&&K G3A3", "7.62mm NATO", "20", "5.2", "11.4", "31", "30", "7", "3 rounds", "11"}},
    {"Assault rifles", "HKG111", "H&&K G11", 30, 104, {"H&&K G11", "4.7mm", "50", "4.3", "9.5", "27", "25", "7", "3 rounds", "8"}},
    {"Shotguns", "RemingtonM8701", "Remington M870", 31, 107, {"Remington M870", "12 Gauge", "7", "4.1", "9.0", "32", "13", "13", "N/A", "N/A"}},
    {"Shotguns", "SPAS151", "SPAS-15", 32, 107, {"SPAS-15", "12 Gauge", "7", "4.3", "9.5", "32", "13", "9", "N/A", "N/A"}},
    {"Shotguns", "CAWS1", "CAWS", 33, 109, {"CAWS", "CAWS", "10", "5.1", "11.2", "40", "13", "9", "3 rounds", "13"}},
    {"Rifles", "SKS1", "SKS", 17, kAmmoOfItsCaliber, {"SKS", "7.62mm WP", "10", "4.2", "9.2", "31", "30", "7", "N/A", "N/A"}},
    {"Rifles", "RugerMini141", "Ruger Mini-14", 22, 94, {"Ruger Mini-14", "5.56mm", "30", "3.4", "7.5", "30", "25", "7", "N/A", "N/A"}},
    {"Light machine guns", "FNMinimi1", "FN Minimi", 34, 94, {"FN Minimi", "5.56mm", "30", "7.3", "16.1", "28", "50", "7", "6 rounds", "11"}},
    {"Light machine guns", "RPK741", "RPK-74", 35, 92, {"RPK-74", "5.45mm", "30", "5.9", "12.9", "30", "50", "7", "5 rounds", "11"}},
    {"Light machine guns", "HK211", "H&&K 21", 36, 101, {"H&&K 21", "7.62mm NATO", "20", "10.1", "22.2", "32", "50", "7", "5 rounds", "11"}},
    {"Misc. weapons", "normal1", "Rocket Rifle", 55, 113, {"Rocket Rifle", "Mini-rockets", "5", "5.0", "11.0", "50", "60", "9", "N/A", "N/A"}},
    {"Misc. weapons", "auto1", "Auto Rocket Rifle", 65, 113, {"Auto Rocket Rifle", "Mini-rockets", "5", "5.0", "11.0", "50", "60", "7", "5 rounds", "11"}},
    {"Misc. weapons", "LAw1", "LAW", 51, 0, {"LAW", "", "1", "2.3", "5.0", "", "50", "18", "N/A", "N/A"}},
    {"Misc. weapons", "Mortar1", "Mortar", 41, 140, {"Mortar", "", "1", "8.5", "18.6", "", "55", "18", "N/A", "N/A"}},
};
inline constexpr Attachment kAttachments[] = {
    {"None4", "None", "None3", "None", "None", 0},
    {"Laserpointer1", "Laser Sight", "Lasersight1", "Lasersight", "Laser Sight", 241},
    {"SniperScope1", "Sniper Scope", "SniperScope2", "Sniper Scope", "Sniper Scope", 208},
    {"Silencer1", "Silencer", "Silencer2", "Silencer", "Silencer", 207},
    {"Bipod1", "Bipod", "Bipod2", "Bipod", "Bipod", 209},
    {"Duckbill1", "Duckbill", "Duckbill2", "Duckbill", "Duckbill", 244},
    {"Talon1", "Talon", "Talon2", "Talon", "Talon", 50},
};
inline constexpr Armour kHelmets[] = {
    {{"None", nullptr, nullptr}, "None2", "None", 0, 0},
    {{"Steelhelmet", nullptr, nullptr}, "Steelhelmet1", "Steelhelmet", 176, 4},
    {{"Kevlarhelmet", nullptr, nullptr}, "Kevlarhelmet1", "Kevlarhelmet", 177, 6},
    {{"Spectrahelmet", nullptr, nullptr}, "Spectrahelmet1", "Spectrahelmet", 180, 12},
    {{"Improved helmets", "Comp. 18", "Kevlarhelmet"}, "KevlarHelmet2", "Comp. 18 Kevlarhelmet", 178, 7},
    {{"Improved helmets", "Comp. 18", "Spectrahelmet"}, "Spectrahelmet2", "Comp. 18 Spectrahelmet", 181, 15},
    {{"Improved helmets", "Coated", "Kevlarhelmet"}, "Kevlarhelmet3", "Coated Kevlarhelmet", 179, 10},
    {{"Improved helmets", "Coated", "Spectrahelmet"}, "Spectrahelmet3", "Coated Spectrahelmet", 182, 17},
};
inline constexpr Armour kVests[] = {
    {{"None", nullptr, nullptr}, "None1", "None", 0, 0},
    {{"Flak jacket", nullptr, nullptr}, "Splitterschutzweste1", "Flak jacket", 161, 12},
    {{"Kevlarvest", nullptr, nullptr}, "Kevlarvest1", "Kevlarvest", 164, 19},
    {{"Guardianvest", nullptr, nullptr}, "GuardianVest1", "Guardianvest", 197, 28},
    {{"Spectravest", nullptr, nullptr}, "Spectravest1", "Spectravest", 167, 38},
    {{"Improved vests", "Comp. 18", "Flak jacket"}, "Splitterschutzweste2", "Comp. 18 Flak jacket", 162, 16},
    {{"Improved vests", "Comp. 18", "Kevlarvest"}, "Kevlarweste1", "Comp. 18 Kevlarvest", 165, 24},
    {{"Improved vests", "Comp. 18", "Guardianvest"}, "Gu1", "Comp. 18 Guardianvest", 198, 34},
    {{"Improved vests", "Comp. 18", "Spectravest"}, "Spectravest2", "Comp. 18 Spectravest", 168, 45},
    {{"Improved vests", "Coated", "Flak jacket"}, "Splitterschutzweste3", "Coated Flak jacket", 163, 20},
    {{"Improved vests", "Coated", "Kevlarvest"}, "Kevlarvest2", "Coated Kevlarvest", 166, 30},
    {{"Improved vests", "Coated", "Guardianvest"}, "Guardianvest2", "Coated Guardianvest", 199, 40},
    {{"Improved vests", "Coated", "Spectravest"}, "Spectravest3", "Coated Spectravest", 169, 53},
};

// clang-format on

/// The ammunition a weapon takes: its own number, or the one of its caliber.
inline int ammoOf(const Weapon& weapon)
{
    if (weapon.ammo != kAmmoOfItsCaliber)
        return weapon.ammo;
    for (const Caliber& c : kCalibers)
        if (std::string_view(c.caliber) == weapon.shown[1])
            return c.ammo;
    return kAmmoOfItsCaliber;
}

} // namespace kittables
