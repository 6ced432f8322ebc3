#include "kestrin/core/catalogue.h"

// standard
#include <algorithm>

namespace kestrin::catalogue {

namespace {

constexpr MenuGroup kWeaponGroups[] = {
    {"Pistols", "MenuPistols"},
    {"Sub machine guns", "Submachineguns1"},
    {"Sniper rifles", "Sniperrifles1"},
    {"Assault rifles", "Assaultrifles1"},
    {"Shotguns", "Shotguns1"},
    {"Rifles", "Rifles1"},
    {"Light machine guns", "Lightmachineguns1"},
    {"Misc. weapons", "Rocketrifles1"},
};

constexpr MenuGroup kHelmetGroups[] = {
    {"Improved helmets", "Improvedhelmets1"},
    {"Comp. 18", "Comp181"},
    {"Coated", "Treated1"},
};

constexpr MenuGroup kVestGroups[] = {
    {"Improved vests", "Improvedvests1"},
    {"Comp. 18", "Comp182"},
    {"Coated", "Treated2"},
};

// Ammunition by caliber: 9mm 74, .38 78, .357 89, .45 83, 5.56mm 94,
// 5.45mm 92, 5.7mm 105, 7.62mm WP 97, 7.62mm NATO 101, 4.7mm 104,
// 12 Gauge 107, CAWS 109, Mini-rockets 113, Dart 114. The LAW carries its
// own rocket (0); the mortar takes 140.
constexpr const char* kPistols = "Pistols";
constexpr const char* kSmgs = "Sub machine guns";
constexpr const char* kSnipers = "Sniper rifles";
constexpr const char* kAssault = "Assault rifles";
constexpr const char* kShotguns = "Shotguns";
constexpr const char* kRifles = "Rifles";
constexpr const char* kLmgs = "Light machine guns";
constexpr const char* kMisc = "Misc. weapons";

// clang-format off
constexpr WeaponEntry kWeapons[] = {
    // group     component          caption              item ammo  name                 caliber        cap   kg      lb      dmg   range ap    burst       apBurst
    {nullptr,   "None5",            "None",               0,   0, {"None",               "",            "",   "",     "",     "",   "",   "",   "",         ""}},
    {kPistols,  "Glock171",         "Glock 17",           1,  74, {"Glock 17",           "9mm",         "15", "0.8",  "1.8",  "21", "12", "7",  "N/A",      "N/A"}},
    {kPistols,  "Glock181",         "Glock 18",           2,  74, {"Glock 18",           "9mm",         "15", "0.8",  "1.8",  "21", "12", "7",  "5 rounds", "11"}},
    {kPistols,  "Beretta92F1",      "Beretta 92F",        3,  74, {"Beretta 92F",        "9mm",         "15", "1.3",  "2.9",  "22", "12", "6",  "N/A",      "N/A"}},
    {kPistols,  "Beretta93R1",      "Beretta 93R",        4,  74, {"Beretta 93R",        "9mm",         "15", "1.3",  "2.9",  "22", "12", "7",  "5 rounds", "11"}},
    {kPistols,  "N38Specail1",      ".38 Special",        5,  78, {".38 Special",        ".38",         "6",  "1.2",  "2.6",  "22", "13", "11", "N/A",      "N/A"}},
    {kPistols,  "Barracuda1",       "Barracuda",          6,  89, {"Barracuda",          ".357",        "6",  "1.1",  "2.4",  "24", "13", "11", "N/A",      "N/A"}},
    // The menu caption has two spaces, the shown name one.
    {kPistols,  "DesertEagle1",     "Desert  Eagle",      7,  89, {"Desert Eagle",       ".357",        "9",  "2.0",  "4.4",  "24", "13", "11", "N/A",      "N/A"}},
    {kPistols,  "Colt451",          "Colt .45",           8,  83, {"Colt .45",           ".45",         "7",  "1.3",  "2.9",  "23", "12", "7",  "N/A",      "N/A"}},
    {kPistols,  "AutomagIII1",      "Automag III",       56, 101, {"Automag III",        "7.62mm NATO", "5",  "1.3",  "2.9",  "29", "22", "10", "N/A",      "N/A"}},
    {kPistols,  "DartGun1",         "Dart Gun",          61, 114, {"Dart Gun",           "Dart",        "1",  "1.3",  "2.9",  "2",  "20", "7",  "N/A",      "N/A"}},
    {kSmgs,     "HKMP5K1",          "H&&K MP5K",          9,  74, {"H&&K MP5K",          "9mm",         "30", "2.4",  "5.3",  "23", "20", "6",  "5 rounds", "10"}},
    {kSmgs,     "MAC101",           "MAC-10",            10,  83, {"MAC-10",             ".45",         "30", "3.8",  "8.4",  "27", "20", "7",  "5 rounds", "11"}},
    {kSmgs,     "ThompsonM1A11",    "Thompson M1A1",     11,  83, {"Thompson M1A1",      ".45",         "30", "5.8",  "12.8", "24", "20", "9",  "4 rounds", "13"}},
    {kSmgs,     "ColtCommando1",    "Colt Commando",     12,  94, {"Colt Commando",      "5.56mm",      "30", "3.1",  "6.8",  "29", "20", "6",  "4 rounds", "10"}},
    {kSmgs,     "HKMP531",          "H&&K MP53",         13,  94, {"H&&K MP53",          "5.56mm",      "30", "3.6",  "7.6",  "25", "20", "7",  "3 rounds", "11"}},
    {kSmgs,     "AKSU741",          "AKSU-74",           14,  92, {"AKSU-74",            "5.45mm",      "30", "4.5",  "9.9",  "20", "26", "5",  "4 rounds", "9"}},
    {kSmgs,     "FNP901",           "FN-P90",            15, 105, {"FN-P90",             "5.7mm",       "50", "3.7",  "8.1",  "30", "22", "6",  "5 rounds", "10"}},
    {kSmgs,     "Type851",          "Type 85",           16,  97, {"Type 85",            "7.62mm WP",   "30", "2.7",  "5.9",  "23", "20", "9",  "4 rounds", "13"}},
    {kSnipers,  "Dragunov1",        "Dragunov",          18,  97, {"Dragunov",           "7.62mm WP",   "10", "4.6",  "10.1", "33", "75", "13", "N/A",      "N/A"}},
    {kSnipers,  "M241",             "M-24",              19, 101, {"M-24",               "7.62mm NATO", "5",  "6.7",  "14.7", "32", "80", "13", "N/A",      "N/A"}},
    {kAssault,  "SteyrAUG1",        "Steyr AUG",         20,  94, {"Steyr AUG",          "5.56mm",      "30", "4.1",  "9.0",  "30", "50", "7",  "3 rounds", "11"}},
    {kAssault,  "HKG411",           "H&&K G41",          21,  94, {"H&&K G41",           "5.56mm",      "30", "4.1",  "10.1", "29", "30", "7",  "4 rounds", "11"}},
    {kAssault,  "C7M16A21",         "C-7 / M16A2",       23,  94, {"C-7 / M16A2",        "5.56mm",      "30", "4.1",  "9.0",  "30", "40", "6",  "5 rounds", "10"}},
    {kAssault,  "FAMAS1",           "FA-MAS",            24,  94, {"FA-MAS",             "5.56mm",      "30", "4.1",  "9.0",  "30", "25", "5",  "5 rounds", "9"}},
    {kAssault,  "AK741",            "AK-74",             25,  92, {"AK-74",              "5.45mm",      "30", "4.2",  "9.2",  "28", "35", "5",  "3 rounds", "9"}},
    {kAssault,  "AKM1",             "AKM",               26,  92, {"AKM",                "5.45mm",      "30", "5.1",  "11.2", "29", "25", "5",  "3 rounds", "10"}},
    {kAssault,  "M141",             "M-14",              27, 101, {"M-14",               "7.62mm NATO", "20", "3.7",  "8.1",  "33", "33", "7",  "4 rounds", "11"}},
    {kAssault,  "FNFAL1",           "FN-FAL",            28, 101, {"FN-FAL",             "7.62mm NATO", "20", "5.1",  "11.2", "32", "42", "5",  "3 rounds", "9"}},
    {kAssault,  "HKG3A31",          "H&&K G3A3",         29, 101, {"H&&K G3A3",          "7.62mm NATO", "20", "5.2",  "11.4", "31", "30", "7",  "3 rounds", "11"}},
    {kAssault,  "HKG111",           "H&&K G11",          30, 104, {"H&&K G11",           "4.7mm",       "50", "4.3",  "9.5",  "27", "25", "7",  "3 rounds", "8"}},
    {kShotguns, "RemingtonM8701",   "Remington M870",    31, 107, {"Remington M870",     "12 Gauge",    "7",  "4.1",  "9.0",  "32", "13", "13", "N/A",      "N/A"}},
    {kShotguns, "SPAS151",          "SPAS-15",           32, 107, {"SPAS-15",            "12 Gauge",    "7",  "4.3",  "9.5",  "32", "13", "9",  "N/A",      "N/A"}},
    {kShotguns, "CAWS1",            "CAWS",              33, 109, {"CAWS",               "CAWS",        "10", "5.1",  "11.2", "40", "13", "9",  "3 rounds", "13"}},
    {kRifles,   "SKS1",             "SKS",               17,  97, {"SKS",                "7.62mm WP",   "10", "4.2",  "9.2",  "31", "30", "7",  "N/A",      "N/A"}},
    {kRifles,   "RugerMini141",     "Ruger Mini-14",     22,  94, {"Ruger Mini-14",      "5.56mm",      "30", "3.4",  "7.5",  "30", "25", "7",  "N/A",      "N/A"}},
    {kLmgs,     "FNMinimi1",        "FN Minimi",         34,  94, {"FN Minimi",          "5.56mm",      "30", "7.3",  "16.1", "28", "50", "7",  "6 rounds", "11"}},
    {kLmgs,     "RPK741",           "RPK-74",            35,  92, {"RPK-74",             "5.45mm",      "30", "5.9",  "12.9", "30", "50", "7",  "5 rounds", "11"}},
    {kLmgs,     "HK211",            "H&&K 21",           36, 101, {"H&&K 21",            "7.62mm NATO", "20", "10.1", "22.2", "32", "50", "7",  "5 rounds", "11"}},
    {kMisc,     "normal1",          "Rocket Rifle",      55, 113, {"Rocket Rifle",       "Mini-rockets", "5", "5.0",  "11.0", "50", "60", "9",  "N/A",      "N/A"}},
    {kMisc,     "auto1",            "Auto Rocket Rifle", 65, 113, {"Auto Rocket Rifle",  "Mini-rockets", "5", "5.0",  "11.0", "50", "60", "7",  "5 rounds", "11"}},
    {kMisc,     "LAw1",             "LAW",               51,   0, {"LAW",                "",            "1",  "2.3",  "5.0",  "",   "50", "18", "N/A",      "N/A"}},
    {kMisc,     "Mortar1",          "Mortar",            41, 140, {"Mortar",             "",            "1",  "8.5",  "18.6", "",   "55", "18", "N/A",      "N/A"}},
};

constexpr AttachmentEntry kAttachments[] = {
    // slot 1 component, caption          slot 2 component, caption        shown            item
    {"None4",         "None",         "None3",        "None",         "None",         0},
    {"Laserpointer1", "Laser Sight",  "Lasersight1",  "Lasersight",   "Laser Sight",  241},
    {"SniperScope1",  "Sniper Scope", "SniperScope2", "Sniper Scope", "Sniper Scope", 208},
    {"Silencer1",     "Silencer",     "Silencer2",    "Silencer",     "Silencer",     207},
    {"Bipod1",        "Bipod",        "Bipod2",       "Bipod",        "Bipod",        209},
    {"Duckbill1",     "Duckbill",     "Duckbill2",    "Duckbill",     "Duckbill",     244},
    {"Talon1",        "Talon",        "Talon2",       "Talon",        "Talon",        50},
};

// Item numbers do not follow menu order: the improved grades lie between
// the plain ones.
constexpr ArmourEntry kHelmets[] = {
    {{"None", nullptr, nullptr},                                "None2",          "None",                   0,   0},
    {{"Steelhelmet", nullptr, nullptr},                         "Steelhelmet1",   "Steelhelmet",            176, 4},
    {{"Kevlarhelmet", nullptr, nullptr},                        "Kevlarhelmet1",  "Kevlarhelmet",           177, 6},
    {{"Spectrahelmet", nullptr, nullptr},                       "Spectrahelmet1", "Spectrahelmet",          180, 12},
    {{"Improved helmets", "Comp. 18", "Kevlarhelmet"},          "KevlarHelmet2",  "Comp. 18 Kevlarhelmet",  178, 7},
    {{"Improved helmets", "Comp. 18", "Spectrahelmet"},         "Spectrahelmet2", "Comp. 18 Spectrahelmet", 181, 15},
    {{"Improved helmets", "Coated", "Kevlarhelmet"},            "Kevlarhelmet3",  "Coated Kevlarhelmet",    179, 10},
    {{"Improved helmets", "Coated", "Spectrahelmet"},           "Spectrahelmet3", "Coated Spectrahelmet",   182, 17},
};

constexpr ArmourEntry kVests[] = {
    {{"None", nullptr, nullptr},                                "None1",                "None",                  0,   0},
    {{"Flak jacket", nullptr, nullptr},                         "Splitterschutzweste1", "Flak jacket",           161, 12},
    {{"Kevlarvest", nullptr, nullptr},                          "Kevlarvest1",          "Kevlarvest",            164, 19},
    {{"Guardianvest", nullptr, nullptr},                        "GuardianVest1",        "Guardianvest",          197, 28},
    {{"Spectravest", nullptr, nullptr},                         "Spectravest1",         "Spectravest",           167, 38},
    {{"Improved vests", "Comp. 18", "Flak jacket"},             "Splitterschutzweste2", "Comp. 18 Flak jacket",  162, 16},
    {{"Improved vests", "Comp. 18", "Kevlarvest"},              "Kevlarweste1",         "Comp. 18 Kevlarvest",   165, 24},
    {{"Improved vests", "Comp. 18", "Guardianvest"},            "Gu1",                  "Comp. 18 Guardianvest", 198, 34},
    {{"Improved vests", "Comp. 18", "Spectravest"},             "Spectravest2",         "Comp. 18 Spectravest",  168, 45},
    {{"Improved vests", "Coated", "Flak jacket"},               "Splitterschutzweste3", "Coated Flak jacket",    163, 20},
    {{"Improved vests", "Coated", "Kevlarvest"},                "Kevlarvest2",          "Coated Kevlarvest",     166, 30},
    {{"Improved vests", "Coated", "Guardianvest"},              "Guardianvest2",        "Coated Guardianvest",   199, 40},
    {{"Improved vests", "Coated", "Spectravest"},               "Spectravest3",         "Coated Spectravest",    169, 53},
};
// clang-format on

/// The entry whose number (as `number` reads it) is item; null when none.
template <typename Entry, std::size_t N, typename Number>
const Entry* find(const Entry (&entries)[N], int item, Number number)
{
    const auto it = std::find_if(std::begin(entries), std::end(entries),
                                 [&](const Entry& e) { return number(e) == item; });
    return it == std::end(entries) ? nullptr : it;
}

} // namespace

std::span<const MenuGroup> weaponGroups() { return kWeaponGroups; }
std::span<const MenuGroup> helmetGroups() { return kHelmetGroups; }
std::span<const MenuGroup> vestGroups() { return kVestGroups; }

std::span<const WeaponEntry> weapons() { return kWeapons; }
std::span<const AttachmentEntry> attachments() { return kAttachments; }
std::span<const ArmourEntry> helmets() { return kHelmets; }
std::span<const ArmourEntry> vests() { return kVests; }

const WeaponEntry* WeaponEntryFor(int item)
{
    return find(kWeapons, item, [](const WeaponEntry& e) { return e.weapon; });
}

const AttachmentEntry* ModificationEntryFor(int item)
{
    return find(kAttachments, item, [](const AttachmentEntry& e) { return e.item; });
}

const ArmourEntry* HelmetEntryFor(int item)
{
    return find(kHelmets, item, [](const ArmourEntry& e) { return e.item; });
}

const ArmourEntry* VestEntryFor(int item)
{
    return find(kVests, item, [](const ArmourEntry& e) { return e.item; });
}

std::optional<bool> CeramicStateFor(int item)
{
    if (item == 0)
        return false;
    if (item == kCeramicPlates)
        return true;
    return std::nullopt;
}

} // namespace kestrin::catalogue
