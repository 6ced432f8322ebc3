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

const std::array<PresetTextKey, kAttributeCount> kPresetTextKeys = {{
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

const std::array<PresetSlotKey, 6> kPresetSlotKeys = {{
    {"SlotFirstHand", Hidden::Weapon},
    {"SlotAttachment1_1", Hidden::Modification1},
    {"SlotAttachment1_2", Hidden::Modification2},
    {"SlotVest", Hidden::Vest},
    {"SlotHelmet", Hidden::Helmet},
    {"CeramicPlates", Hidden::Ceramic},
}};

std::string presetsPath(platform::Platform& platform)
{
    using platform::joinPath;
    const std::string programFolder = platform.programFolder();
    const std::string beside = joinPath(programFolder, "Presets.ini");
    // The user's own presets come before the demo ones an installation puts
    // under share/, beside the folder of the program file.
    std::vector<std::string> places{beside};
    if (const std::string config = platform.configFolder(); !config.empty())
        places.push_back(joinPath(joinPath(config, "varnhold"), "Presets.ini"));
    if (const std::string prefix = platform::folderOf(programFolder); !prefix.empty())
        places.push_back(joinPath(joinPath(joinPath(prefix, "share"), "varnhold"), "Presets.ini"));
    for (const std::string& place : places)
        if (platform.files().exists(place))
            return place;
    // None there: the file beside the program, whose absence the window
    // reports as it always has.
    return beside;
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

std::vector<std::string> applyPreset(std::string_view iniText, const std::string& name, Profile& profile,
                                     InventorySelect& window)
{
    auto value = [&](const char* key) { return platform::iniValue(iniText, name, key, kMissing); };

    // Each key takes effect as soon as it is read; a bad one ends the preset
    // with the keys before it applied.
    for (const auto& [key, attribute] : kPresetTextKeys)
        profile.setAttributeText(attribute, value(key));

    profile.selectTraitPosition(1, listLine(value("Trait1"), "Trait1", record::kTraits.size()));
    profile.selectTraitPosition(2, listLine(value("Trait2"), "Trait2", record::kTraits.size()));
    profile.selectPersonality(listLine(value("Personality"), "Personality", record::kPersonalities.size()));
    profile.selectAttitude(listLine(value("Attitude"), "Attitude", record::kAttitudes.size()));

    for (const auto& [key, field] : kPresetSlotKeys)
        profile.setHidden(field, toInteger(value(key)));

    // An unknown number stays in its field; the window keeps its previous
    // choice for that slot.
    std::vector<std::string> failures;
    if (const auto attached = catalogue::CeramicStateFor(profile.hidden(Hidden::Ceramic)))
        window.setCeramicChecked(*attached);
    else
        failures.emplace_back("Unknown vest.");
    if (!window.selectHelmet(profile.hidden(Hidden::Helmet)))
        failures.emplace_back("Unknown helmet.");
    if (!window.selectVest(profile.hidden(Hidden::Vest)))
        failures.emplace_back("Unknown vest.");
    if (!window.selectModification1(profile.hidden(Hidden::Modification1)))
        failures.emplace_back("Unknown modification.");
    if (!window.selectModification2(profile.hidden(Hidden::Modification2)))
        failures.emplace_back("Unknown modification.");
    if (!window.selectWeapon(profile.hidden(Hidden::Weapon)))
        failures.emplace_back("Unknown weapon.");
    return failures;
}

void loadPreset(platform::Platform& platform, const std::string& iniPath, const std::string& name, Profile& profile,
                InventorySelect& window)
{
    const std::string text = presetsText(platform.files(), iniPath);
    for (const std::string& failure : applyPreset(text, name, profile, window))
        (void)platform.message(failure, "Failure", platform::Buttons::OkCancel);
}

} // namespace kestrin
