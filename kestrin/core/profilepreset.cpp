#include "kestrin/core/profilepreset.h"

// standard
#include <algorithm>
#include <array>
#include <chrono>
#include <optional>

// ours
#include "kestrin/core/catalogue.h"
#include "kestrin/core/profilefile.h"
#include "kestrin/core/profilerecord.h"
#include "platform/ascii.h"
#include "platform/ini.h"
#include "platform/textlines.h"

namespace kestrin {

namespace {

/// A character the INI reader trims from either end of a name or value.
bool isIniBlank(char c) { return platform::kIniBlanks.find(c) != std::string_view::npos; }

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

/// A value as an INI line carries it: in double quotes when it has at either
/// end a character the reader trims, or is itself quoted.
std::string quoted(const std::string& value)
{
    if (!value.empty() && (isIniBlank(value.front()) || isIniBlank(value.back()) ||
                           (value.size() >= 2 && value.front() == '"' && value.back() == '"')))
        return '"' + value + '"';
    return value;
}

std::string unquoted(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

bool isListSection(std::string_view name) { return platform::sameIniName(name, "Presets"); }

/// A name an INI section header carries as it is (the reader trims nothing
/// from it) that is not the list's own section.
bool validSectionName(std::string_view name)
{
    return !name.empty() && name.find_first_of("[]\r\n") == std::string_view::npos && !isIniBlank(name.front()) &&
           !isIniBlank(name.back()) && !isListSection(name);
}

/// A further key's number within its range, or the failure naming the key.
platform::Result<int> furtherNumber(const std::string& text, const char* key, int lowest, int highest)
{
    const auto value = presetNumber(key, text);
    if (value && (*value < lowest || *value > highest))
        return platform::Result<int>::failure(std::string(key) + " = " + std::to_string(*value) + " is not one of " +
                                              std::to_string(lowest) + " to " + std::to_string(highest) + ".");
    return value;
}

/// Applies the section's keys; its failures are worded without the section.
platform::Status applySectionKeys(std::string_view iniText, const std::string& section, Profile& profile,
                                  ProfileChoices& choices)
{
    const auto failures = applyPreset(iniText, section, profile, choices, PresetReading::Checked);
    if (!failures)
        return failures.status();
    if (!failures->empty()) {
        std::string text;
        for (const std::string& failure : *failures)
            text += (text.empty() ? "" : " ") + failure;
        return platform::Status::failure(text);
    }

    auto further = [&](const char* key) { return platform::iniLookup(iniText, section, key); };
    // Name and callsign: a text that fits its cells, or nothing when absent.
    auto cellText = [&](const char* key, int cells) -> platform::Result<std::optional<std::string>> {
        const auto value = further(key);
        if (!value)
            return std::optional<std::string>();
        std::string text = unquoted(*value);
        if (text.size() > std::size_t(cells))
            return platform::Status::failure(std::string(key) + " is " + std::to_string(text.size()) +
                                             " characters long; at most " + std::to_string(cells) + " fit.");
        return std::optional<std::string>(std::move(text));
    };
    const auto name = cellText("Name", record::kNameCells);
    if (!name)
        return name.status();
    if (*name)
        profile.setName(**name);
    const auto callsign = cellText("Callsign", record::kCallsignCells);
    if (!callsign)
        return callsign.status();
    if (*callsign)
        profile.setCallsign(**callsign);
    if (const auto voice = further("Voice")) {
        const auto code = furtherNumber(*voice, "Voice", 51, 56);
        if (!code)
            return code.status();
        profile.checkVoice(*code);
    }
    if (const auto body = further("BodyType")) {
        const auto code = furtherNumber(*body, "BodyType", 0, 3);
        if (!code)
            return code.status();
        if (*code == 2)
            return platform::Status::failure("BodyType = 2 is not a body type (0, 1 or 3).");
        profile.checkBodyType(*code);
    }
    if (const auto face = further("Portrait")) {
        const auto number = furtherNumber(*face, "Portrait", 0, 15);
        if (!number)
            return number.status();
        choices.showPortrait(*number);
    }
    for (const auto& [key, palette] : kPresetColourKeys) {
        const auto colour = further(key);
        if (!colour)
            continue;
        if (!record::isPaletteName(palette, *colour))
            return platform::Status::failure(std::string(key) + " = " + platform::printableAscii(*colour) +
                                             " is no palette name of its part.");
        profile.setPalette(palette, *colour);
    }
    return platform::Status::success();
}

} // namespace

void ProfileChoices::showPortrait(int face)
{
    if (face >= 0 && face <= 15)
        profile_.setHidden(Hidden::Portrait, face);
}

void ProfileChoices::selectColor(Palette palette, const std::string& name)
{
    if (record::isPaletteName(palette, name))
        profile_.setPalette(palette, name);
}

void ProfileChoices::setCeramicChecked(bool checked)
{
    if (checked == ceramicChecked_)
        return;
    ceramicChecked_ = checked;
    profile_.setHidden(Hidden::Ceramic, checked ? catalogue::kCeramicPlates : 0);
}

void ProfileChoices::ChooseWeapon(const catalogue::WeaponEntry& entry)
{
    profile_.setHidden(Hidden::Weapon, entry.weapon);
    profile_.setHidden(Hidden::Ammo, entry.ammo);
}

void ProfileChoices::ChooseModification1(const catalogue::AttachmentEntry& entry)
{
    profile_.setHidden(Hidden::Modification1, entry.item);
}

void ProfileChoices::ChooseModification2(const catalogue::AttachmentEntry& entry)
{
    profile_.setHidden(Hidden::Modification2, entry.item);
}

void ProfileChoices::ChooseHelmet(const catalogue::ArmourEntry& entry) { profile_.setHidden(Hidden::Helmet, entry.item); }

void ProfileChoices::ChooseVest(const catalogue::ArmourEntry& entry) { profile_.setHidden(Hidden::Vest, entry.item); }

std::string defaultSectionName(const Profile& profile)
{
    return validSectionName(profile.name()) ? profile.name() : "Custom";
}

platform::Result<std::vector<std::string>> presetSection(const Profile& profile, const std::string& sectionName)
{
    if (!validSectionName(sectionName))
        return platform::Status::failure("\"" + sectionName + "\" cannot be the name of a preset section.");
    if (hasLineBreak(profile.name()) || hasLineBreak(profile.callsign()))
        return platform::Status::failure("The name or callsign holds a line break, which a preset cannot hold.");

    std::vector<std::string> lines{"[" + sectionName + "]"};
    auto add = [&lines](std::string_view key, const std::string& value) {
        lines.push_back(std::string(key) + "=" + value);
    };
    for (const auto& [key, attribute] : kPresetTextKeys)
        add(key, profile.attributeText(attribute));
    add("Trait1", std::to_string(profile.trait1Position()));
    add("Trait2", std::to_string(profile.trait2Position()));
    add("Personality", std::to_string(profile.personalityPosition()));
    // A stored attitude of 9 has no line in the list; its code is given. The
    // Presets window refuses it rather than choosing another attitude; the
    // apply keeps it as Read/Reset does.
    add("Attitude", std::to_string(profile.attitudePosition() >= 0 ? profile.attitudePosition()
                                                                     : profile.attitudeCode()));
    for (const auto& [key, field] : kPresetSlotKeys)
        add(key, std::to_string(profile.hidden(field)));

    add("Name", quoted(profile.name()));
    add("Callsign", quoted(profile.callsign()));
    if (profile.voiceButton() != 0)
        add("Voice", std::to_string(profile.hidden(Hidden::Speech)));
    if (profile.bodyTypeButton() >= 0)
        add("BodyType", std::to_string(profile.bodyTypeCode()));
    add("Portrait", std::to_string(profile.hidden(Hidden::Portrait)));
    for (const auto& [key, palette] : kPresetColourKeys)
        if (record::isPaletteName(palette, profile.palette(palette)))
            add(key, profile.palette(palette));
    return lines;
}

platform::Result<std::vector<std::string>> dumpProfile(platform::FileSystem& files, const std::string& path,
                                                       const std::string& sectionName)
{
    Profile profile;
    ProfileChoices choices(profile);
    if (auto read = readProfile(files, path, profile, choices); !read)
        return read;
    return presetSection(profile, sectionName.empty() ? defaultSectionName(profile) : sectionName);
}

platform::Result<std::string> withPresetSection(std::string_view iniText, const std::vector<std::string>& section)
{
    const std::vector<std::string> named = section.empty() ? std::vector<std::string>{}
                                                           : platform::iniSections(section.front());
    if (named.empty())
        return platform::Status::failure("The preset has no section header.");
    const std::string& name = named.front();

    // Only a file of presets is changed. The section to be replaced may be
    // anything; it goes as a whole.
    if (const std::string why = notAPresetsFile(iniText, name); !why.empty())
        return platform::Status::failure(why);
    std::string_view body = iniText;
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    if (platform::iniSections(iniText).empty() && body.find_first_not_of(platform::kIniBlanks) != body.npos)
        return platform::Status::failure("The file holds no section, so it is no presets file.");

    std::string text = platform::replaceIniSection(iniText, name, section);
    if (platform::hasIniSection(text, "Presets"))
        return withPresetListed(text, name);
    return text;
}

platform::Status savePresetSection(platform::FileSystem& files, const std::string& path,
                                   const std::vector<std::string>& section)
{
    // Read, merged and replaced under one hold, so that a second program
    // merging its own section meanwhile waits its turn and neither section
    // is lost. A merge takes milliseconds; one still held after seconds is
    // stuck, and this one gives up.
    constexpr std::chrono::seconds kWaitForOtherMerge{5};
    auto hold = files.holdUpdates(path, kWaitForOtherMerge);
    if (!hold)
        return hold.status().nothingWritten();
    if (!files.isFile(path))
        return platform::writeTextLines(files, path, section);
    // A game file is refused as the writer refuses it, before it is read.
    if (auto refused = platform::checkReplaceable(files, path); !refused)
        return refused;
    auto text = platform::readTextFile(files, path);
    if (!text)
        return text.status();
    const auto changed = withPresetSection(*text, section);
    if (!changed)
        return platform::Status::failure(platform::Message(path).append(changed.message()), changed.reason(), path)
            .nothingWritten();
    return platform::writeTextFile(files, path, *changed);
}

std::string notAPresetsFile(std::string_view iniText, std::string_view except)
{
    // Each section of another kind of file of ours (.brk, .vlc, names.def)
    // holds keys, but no preset's.
    const char* const firstKey = kPresetTextKeys.front().key;
    for (const std::string& preset : presetSections(iniText))
        if (!platform::sameIniName(preset, except) && !platform::iniLookup(iniText, preset, firstKey))
            return "[" + platform::printableAscii(preset) + "] holds no key " + firstKey + ", so this is no presets file.";
    return {};
}

std::vector<std::string> presetSections(std::string_view iniText)
{
    std::vector<std::string> names = platform::iniSections(iniText);
    std::erase_if(names, [](const std::string& name) { return isListSection(name); });
    return names;
}

bool hasSection(const std::vector<std::string>& sections, std::string_view name)
{
    return std::ranges::any_of(sections, [&](const std::string& s) { return platform::sameIniName(s, name); });
}

platform::Status applyPresetSection(std::string_view iniText, const std::string& section, Profile& profile,
                                    ProfileChoices& choices)
{
    const std::string shown = "[" + platform::printableAscii(section) + "]";
    if (!hasSection(presetSections(iniText), section))
        return platform::Status::failure("There is no preset section " + shown + ".");
    if (auto applied = applySectionKeys(iniText, section, profile, choices); !applied)
        return platform::Status::failure(shown + ": " + applied.error());
    return platform::Status::success();
}

} // namespace kestrin
