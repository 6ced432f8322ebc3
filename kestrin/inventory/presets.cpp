#include "kestrin/inventory/presets.h"

// standard
#include <array>
#include <string_view>

// ours
#include "kestrin/inventory/catalogue.h"
#include "kestrin/profile/profilerecord.h"
#include "platform/filesystem.h"
#include "platform/ini.h"

namespace kestrin {

namespace {

constexpr std::string_view kMissing = "ERROR"; // what a missing key reads as

/// The file's text, read once for all its keys; an unreadable file reads as
/// empty, so that every key gives kMissing.
std::string presetsText(platform::FileSystem& files, const std::string& iniPath)
{
    auto text = files.readAll(iniPath);
    return text ? std::move(*text) : std::string();
}

struct TextKey {
    const char* key;
    Attribute attribute;
};

// In the order they are applied.
constexpr std::array<TextKey, kAttributeCount> kTextKeys = {{
    {"Health", Attribute::Health},
    {"Agility", Attribute::Agility},
    {"Dexterity", Attribute::Dexterity},
    {"Strength", Attribute::Strength},
    {"Leadership", Attribute::Leadership},
    {"Wisdom", Attribute::Wisdom},
    {"Marksmanship", Attribute::Marksmanship},
    {"Mechanic", Attribute::Mechanic},
    {"Explosives", Attribute::Explosives},
    {"Medical", Attribute::Medical},
    {"Experience", Attribute::Experience},
}};

struct SlotKey {
    const char* key;
    Hidden field;
};

constexpr std::array<SlotKey, 6> kSlotKeys = {{
    {"SlotFirstHand", Hidden::Weapon},
    {"SlotAttachment1_1", Hidden::Modification1},
    {"SlotAttachment1_2", Hidden::Modification2},
    {"SlotVest", Hidden::Vest},
    {"SlotHelmet", Hidden::Helmet},
    {"CeramicPlates", Hidden::Ceramic},
}};

/// A list key's line: a number within the list's lines, or Error naming the
/// key and the range (the list would otherwise end up with no selection).
int listLine(const std::string& text, const char* key, std::size_t lines)
{
    const int line = toInteger(text);
    if (line < 0 || line >= int(lines))
        throw Error(std::string(key) + " = " + std::to_string(line) + " is not a line of its list (0 to "
                    + std::to_string(lines - 1) + ").");
    return line;
}

} // namespace

std::string presetsPath(platform::Platform& platform)
{
    return platform::joinPath(platform.programFolder(), "Presets.ini");
}

std::vector<std::string> presetNames(platform::FileSystem& files, const std::string& iniPath)
{
    const std::string text = presetsText(files, iniPath);
    const int amount = toInteger(platform::iniValue(text, "Presets", "Amount", kMissing));
    if (amount > kMostPresets)
        throw Error("Amount = " + std::to_string(amount) + " is more presets than the list takes ("
                    + std::to_string(kMostPresets) + " at most).");
    std::vector<std::string> names;
    for (int i = 1; i <= amount; ++i)
        names.push_back(platform::iniValue(text, "Presets", std::to_string(i), kMissing));
    return names;
}

void loadPreset(platform::Platform& platform, const std::string& iniPath, const std::string& name, Profile& profile,
                InventorySelect& window)
{
    const std::string text = presetsText(platform.files(), iniPath);
    auto value = [&](const char* key) { return platform::iniValue(text, name, key, kMissing); };

    // Each key takes effect as soon as it is read; a bad one ends the preset
    // with the keys before it applied.
    for (const auto& [key, attribute] : kTextKeys)
        profile.setAttributeText(attribute, value(key));

    profile.selectTraitPosition(1, listLine(value("Trait1"), "Trait1", record::kTraits.size()));
    profile.selectTraitPosition(2, listLine(value("Trait2"), "Trait2", record::kTraits.size()));
    profile.selectPersonality(listLine(value("Personality"), "Personality", record::kPersonalities.size()));
    profile.selectAttitude(listLine(value("Attitude"), "Attitude", record::kAttitudes.size()));

    for (const auto& [key, field] : kSlotKeys)
        profile.setHidden(field, toInteger(value(key)));

    auto fail = [&](std::string_view message) {
        (void)platform.message(message, "Failure", platform::Buttons::OkCancel);
    };

    // An unknown number stays in its field; the window keeps its previous
    // choice for that slot.
    if (const auto attached = catalogue::CeramicStateFor(profile.hidden(Hidden::Ceramic)))
        window.setCeramicChecked(*attached);
    else
        fail("Unknown vest.");
    if (!window.selectHelmet(profile.hidden(Hidden::Helmet)))
        fail("Unknown helmet.");
    if (!window.selectVest(profile.hidden(Hidden::Vest)))
        fail("Unknown vest.");
    if (!window.selectModification1(profile.hidden(Hidden::Modification1)))
        fail("Unknown modification.");
    if (!window.selectModification2(profile.hidden(Hidden::Modification2)))
        fail("Unknown modification.");
    if (!window.selectWeapon(profile.hidden(Hidden::Weapon)))
        fail("Unknown weapon.");
}

} // namespace kestrin
