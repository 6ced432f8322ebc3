#include "kestrin/core/presets.h"

// standard
#include <array>
#include <string_view>

// ours
#include "kestrin/core/catalogue.h"
#include "kestrin/core/profilerecord.h"
#include "platform/ascii.h"
#include "platform/filesystem.h"
#include "platform/ini.h"
#include "platform/paths.h"
#include "platform/textlines.h"

namespace kestrin {

namespace {

constexpr std::string_view kMissing = "ERROR"; // what a missing key reads as in the window

/// The file's text, read once for all its keys. A missing file reads as
/// empty, so that every key gives kMissing; one that is there but cannot be
/// read, or is larger than any text file of ours, gives the reader's failure.
platform::Result<std::string> presetsText(platform::FileSystem& files, const std::string& iniPath)
{
    if (!files.isFile(iniPath))
        return std::string();
    return platform::readTextFile(files, iniPath);
}

/// A list key's line: a number within the list's lines, or the failure
/// naming the key and the range (the list would otherwise end up with no
/// selection).
platform::Result<int> listLine(const platform::Result<int>& line, const char* key, std::size_t lines)
{
    if (!line)
        return line;
    if (*line < 0 || *line >= int(lines))
        return platform::Result<int>::failure(std::string(key) + " = " + std::to_string(*line) +
                                              " is not a line of its list (0 to " + std::to_string(lines - 1) +
                                              ").");
    return line;
}

/// The attitude code that has no line in the list (the one after its last).
constexpr int kUnlistedAttitude = int(record::kAttitudes.size());

/// The section's values as the reading takes them (see PresetReading).
class PresetValues {
public:
    PresetValues(std::string_view iniText, const std::string& section, PresetReading reading)
        : text_(iniText), section_(section), reading_(reading)
    {
    }
    bool checked() const { return reading_ == PresetReading::Checked; }

    /// The key's text; a checked reading refuses a missing key.
    platform::Result<std::string> text(const char* key) const
    {
        if (auto value = platform::iniLookup(text_, section_, key))
            return std::move(*value);
        if (!checked())
            return std::string(kMissing);
        return platform::Result<std::string>::failure(std::string(key) + " is missing.");
    }

    /// An attribute's text: as it stands, once a checked reading has seen
    /// that it is a number.
    platform::Result<std::string> attribute(const char* key) const
    {
        auto value = text(key);
        if (value && checked())
            if (auto read = number(key, *value); !read)
                return read.status();
        return value;
    }

    platform::Result<int> number(const char* key) const
    {
        const auto value = text(key);
        if (!value)
            return value.status();
        return number(key, *value);
    }

    platform::Result<int> number(const char* key, const std::string& value) const
    {
        return checked() ? presetNumber(key, value) : toInteger(value);
    }

    /// A kit slot's failure as the window words it; a checked reading names
    /// the key and its number first.
    std::string kitFailure(const char* key, int item, const char* message) const
    {
        return checked() ? std::string(key) + " = " + std::to_string(item) + ": " + message : message;
    }

private:
    std::string_view text_;
    const std::string& section_;
    PresetReading reading_;
};

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

platform::Result<int> presetNumber(std::string_view key, const std::string& value)
{
    auto number = toInteger(value);
    if (!number)
        return platform::Result<int>::failure(std::string(key) + " = '" + platform::printableAscii(value) +
                                              "' is not a valid integer value.");
    return number;
}

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
        if (platform.files().isFile(place))
            return place;
    // None there: the file beside the program, whose absence the window
    // reports as it always has.
    return beside;
}

platform::Result<std::vector<std::string>> presetNames(platform::FileSystem& files, const std::string& iniPath)
{
    const auto text = presetsText(files, iniPath);
    if (!text)
        return text.status();
    const auto amount = toInteger(platform::iniValue(*text, "Presets", "Amount", kMissing));
    if (!amount)
        return amount.status();
    if (*amount > kMostPresets)
        return platform::Status::failure("Amount = " + std::to_string(*amount) +
                                         " is more presets than the list takes (" + std::to_string(kMostPresets) +
                                         " at most).");
    std::vector<std::string> names;
    for (int i = 1; i <= *amount; ++i)
        names.push_back(platform::iniValue(*text, "Presets", std::to_string(i), kMissing));
    return names;
}

platform::Result<std::string> withPresetListed(std::string_view iniText, const std::string& name)
{
    constexpr std::string_view list = "Presets";
    const auto amountText = platform::iniLookup(iniText, list, "Amount");
    if (!amountText)
        return platform::Status::failure("[Presets]: Amount is missing, so the list cannot take another preset.");
    const auto number = presetNumber("Amount", *amountText);
    if (!number)
        return platform::Status::failure("[Presets]: " + number.error());
    const int amount = *number;
    if (amount < 0 || amount >= kMostPresets)
        return platform::Status::failure("[Presets]: Amount = " + std::to_string(amount) +
                                         ", and the list takes 0 to " + std::to_string(kMostPresets) +
                                         " presets, so it cannot take another.");
    for (int i = 1; i <= amount; ++i)
        if (const auto listed = platform::iniLookup(iniText, list, std::to_string(i));
            listed && platform::sameIniName(*listed, name))
            return std::string(iniText);
    const std::string counted = *platform::setIniValue(iniText, list, "Amount", std::to_string(amount + 1));
    return *platform::setIniValue(counted, list, std::to_string(amount + 1), name);
}

platform::Result<std::vector<std::string>> applyPreset(std::string_view iniText, const std::string& name,
                                                       Profile& profile, InventorySelect& window,
                                                       PresetReading reading)
{
    const PresetValues values(iniText, name, reading);

    // Each key takes effect as soon as it is read; a bad one ends the preset
    // with the keys before it applied.
    for (const auto& [key, attribute] : kPresetTextKeys) {
        auto text = values.attribute(key);
        if (!text)
            return text.status();
        if (auto set = profile.setAttributeText(attribute, std::move(*text)); !set)
            return set;
    }

    const auto trait1 = listLine(values.number("Trait1"), "Trait1", record::kTraits.size());
    if (!trait1)
        return trait1.status();
    profile.selectTraitPosition(1, *trait1);
    const auto trait2 = listLine(values.number("Trait2"), "Trait2", record::kTraits.size());
    if (!trait2)
        return trait2.status();
    profile.selectTraitPosition(2, *trait2);
    const auto personality = listLine(values.number("Personality"), "Personality", record::kPersonalities.size());
    if (!personality)
        return personality.status();
    profile.selectPersonality(*personality);
    const auto attitude = values.number("Attitude");
    if (attitude && values.checked() && *attitude == kUnlistedAttitude) {
        profile.selectAttitude(*attitude); // no line selected; the code is kept
    } else {
        const auto line = listLine(attitude, "Attitude", record::kAttitudes.size());
        if (!line)
            return line.status();
        profile.selectAttitude(*line);
    }

    for (const auto& [key, field] : kPresetSlotKeys) {
        const auto number = values.number(key);
        if (!number)
            return number.status();
        profile.setHidden(field, *number);
    }

    // An unknown number stays in its field; the window keeps its previous
    // choice for that slot.
    std::vector<std::string> failures;
    auto check = [&](bool known, const char* key, Hidden field, const char* message) {
        if (!known)
            failures.push_back(values.kitFailure(key, profile.hidden(field), message));
    };
    if (const auto attached = catalogue::CeramicStateFor(profile.hidden(Hidden::Ceramic)))
        window.setCeramicChecked(*attached);
    else
        check(false, "CeramicPlates", Hidden::Ceramic, "Unknown vest.");
    check(window.selectHelmet(profile.hidden(Hidden::Helmet)), "SlotHelmet", Hidden::Helmet, "Unknown helmet.");
    check(window.selectVest(profile.hidden(Hidden::Vest)), "SlotVest", Hidden::Vest, "Unknown vest.");
    check(window.selectModification1(profile.hidden(Hidden::Modification1)), "SlotAttachment1_1",
          Hidden::Modification1, "Unknown modification.");
    check(window.selectModification2(profile.hidden(Hidden::Modification2)), "SlotAttachment1_2",
          Hidden::Modification2, "Unknown modification.");
    check(window.selectWeapon(profile.hidden(Hidden::Weapon)), "SlotFirstHand", Hidden::Weapon, "Unknown weapon.");
    return failures;
}

platform::Status loadPreset(platform::Platform& platform, const std::string& iniPath, const std::string& name,
                            Profile& profile, InventorySelect& window)
{
    const auto text = presetsText(platform.files(), iniPath);
    if (!text)
        return text.status();
    const auto failures = applyPreset(*text, name, profile, window);
    if (!failures)
        return failures.status();
    for (const std::string& failure : *failures)
        (void)platform.message(failure, "Failure", platform::Buttons::OkCancel);
    return platform::Status::success();
}

} // namespace kestrin
