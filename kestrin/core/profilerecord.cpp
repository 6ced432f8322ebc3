#include "kestrin/core/profilerecord.h"

// standard
#include <algorithm>

namespace kestrin::record {

const std::array<int, kAttributeCount> kAttributeOffsets = {
    305, // Health (its copy at 342 is written with it)
    343, // Dexterity
    413, // Agility
    304, // Strength
    363, // Wisdom
    349, // Leadership
    361, // Marksmanship
    347, // Explosives
    269, // Medical
    419, // Mechanic
    360, // Experience level
};

const std::array<int, kHiddenCount> kInventoryOffsets = {
    -1,  // Speech: kVoice
    -1,  // Portrait: kPortrait
    460, // Helmet
    426, // Vest
    428, // Ceramic plates
    434, // Weapon
    -1,  // Ammo: kAmmo, three bytes
    436, // Modification1
    438, // Modification2
};

namespace {

// The colours of the Appearance window's menus, in menu order. Each
// field's limit is the length of its part's longest name, so every name is
// written with its three zeros.
constexpr PaletteEntry kPants[] = {
    {"Beige1", "Beige", "BEIGEPANTS"}, {"Blue2", "Blue", "BLUEPANTS"}, {"Black3", "Black", "BLACKPANTS"},
    {"Green2", "Green", "GREENPANTS"}, {"Jean2", "Jean", "JEANPANTS"}, {"Tan2", "Tan", "TANPANTS"},
};
constexpr PaletteEntry kVest[] = {
    {"Blackshirt1", "Black (shirt)", "BLACKSHIRT"},    {"Blue1", "Blue", "BLUEVEST"},
    {"Brown2", "Brown", "BROWNVEST"},                  {"Green1", "Green", "GREENVEST"},
    {"Grey1", "Grey", "greyVEST"},                     {"Jean1", "Jean", "JEANVEST"},
    {"Purpleshirt1", "Purple (shirt)", "PURPLESHIRT"}, {"Red1", "Red", "REDVEST"},
    {"White2", "White", "WHITEVEST"},                  {"Yellow1", "Yellow", "YELLOWVEST"},
    {"Yellowshirt1", "Yellow (shirt)", "GYELLOWSHIRT"},
};
constexpr PaletteEntry kSkin[] = {
    {"Black2", "Black", "BLACKSKIN"}, {"Dark1", "Dark", "DARKSKIN"},
    {"Pink1", "Pink", "PINKSKIN"},    {"Tan1", "Tan", "TANSKIN"},
};
constexpr PaletteEntry kHair[] = {
    {"Black1", "Black", "BLACKHEAD"}, {"Blondhair1", "Blond", "BLONDHEAD"}, {"Brown1", "Brown", "BROWNHEAD"},
    {"Redhair1", "Red", "REDHEAD"},   {"Redbrown1", "Redbrown", "redbrown"}, {"White1", "White", "WHITEHEAD"},
};

} // namespace

const std::array<PaletteField, kPaletteCount> kPaletteFields = {{
    {Palette::Pants, 117, 10, kPants},
    {Palette::Vest, 147, 12, kVest},
    {Palette::Skin, 177, 9, kSkin},
    {Palette::Hair, 207, 9, kHair},
}};

bool isPaletteName(Palette palette, std::string_view name)
{
    const auto colours = kPaletteFields[static_cast<int>(palette)].colours;
    return std::any_of(colours.begin(), colours.end(), [name](const PaletteEntry& e) { return e.name == name; });
}

const std::array<TraitEntry, 15> kTraits = {{
    {"None", 0},
    {"Lockpicking [*]", 1},
    {"Electronics [*]", 3},
    {"Hand-to-hand", 2},
    {"Martial Arts", 12},
    {"Knifing", 13},
    {"Throwing", 5},
    {"Heavy Weapons", 7},
    {"Auto Weapons", 8},
    {"Ambidextrous [*]", 10},
    {"On-roof to-hit bonus", 14},
    {"Nightops", 4},
    {"Stealthy", 9},
    {"Teaching", 6},
    {"Camouflaged [*]", 15},
}};

int traitPosition(int code)
{
    for (std::size_t i = 0; i < kTraits.size(); ++i)
        if (kTraits[i].code == code)
            return static_cast<int>(i);
    return -1;
}

const std::array<const char*, 8> kPersonalities = {
    "Normal", "Heat sensitive", "Nervous", "Claustrophibic", // spelled so in the list
    "Fear of water", "Fear of insects", "Forgetful", "Psychotic",
};

const std::array<const char*, 9> kAttitudes = {
    "Normal", "Friendly", "Loner", "Optimistic", "Pessimistic", "Aggressive", "Arrogant", "Unfriendly", "Coward",
};

const std::array<ButtonEntry, 3> kBodyTypes = {{
    {"FlatRadioButton1", "male (slim body)", 0},
    {"FlatRadioButton2", "male", 1},
    {"FlatRadioButton3", "female", 3},
}};

const std::array<ButtonEntry, 6> kVoices = {{
    {"FlatRadioButton4", "1 (male)", 51},
    {"FlatRadioButton5", "2 (male)", 52},
    {"FlatRadioButton6", "3 (male)", 53},
    {"FlatRadioButton7", "1  (female)", 54}, // two blanks in the female captions
    {"FlatRadioButton8", "2  (female)", 55},
    {"FlatRadioButton9", "3  (female)", 56},
}};

} // namespace kestrin::record
