#pragma once
// The custom mercenary as a preset section, without any window: the read
// of IMP.dat given as the keys a Presets.ini section holds (which the
// Presets window can load), followed by the name, callsign, voice, looks
// and face as further keys that the window's loader passes over; and such
// a section applied to IMP.dat. A dump applied to the file it came from
// leaves the file byte for byte as it was, as a Read followed by a Save:
// every value the dump writes is one the apply takes back.

// standard
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// ours
#include "kestrin/core/presets.h"
#include "kestrin/core/choices.h"
#include "kestrin/core/profile.h"
#include "platform/filesystem.h"

namespace kestrin {

/// The colour keys of a dumped preset section, in the order they are
/// written; the Presets window's loader does not know them.
constexpr std::array<std::pair<const char*, Palette>, kPaletteCount> kPresetColourKeys = {{
    {"PantsColor", Palette::Pants},
    {"VestColor", Palette::Vest},
    {"SkinColor", Palette::Skin},
    {"HairColor", Palette::Hair},
}};

/// The choices of the secondary windows made on the profile alone, as the
/// windows' own choices set its fields: the catalogue's entry for an item
/// number (the weapon's ammunition with it), the face, a palette name of
/// the part, and the plates only when the box's state changes. The preset
/// loader makes its choices through the same object.
class ProfileChoices final : public WindowChoices, public CatalogueSelect {
public:
    explicit ProfileChoices(Profile& profile) : profile_(profile) {}
    void showPortrait(int face) override;
    void selectColor(Palette palette, const std::string& name) override;
    void setCeramicChecked(bool checked) override;

    void ChooseWeapon(const catalogue::WeaponEntry& entry) override;
    void ChooseModification1(const catalogue::AttachmentEntry& entry) override;
    void ChooseModification2(const catalogue::AttachmentEntry& entry) override;
    void ChooseHelmet(const catalogue::ArmourEntry& entry) override;
    void ChooseVest(const catalogue::ArmourEntry& entry) override;

private:
    Profile& profile_;
    bool ceramicChecked_ = false; // the box starts unchecked
};

/// The lines of the preset section for the profile, headed "[name]". A
/// value with a character the INI reader trims (platform::kIniBlanks) at
/// either end is written in double quotes. The failure when the name or
/// callsign holds a line break, which no INI line can carry, or the section
/// name is not one an INI file can hold.
platform::Result<std::vector<std::string>> presetSection(const Profile& profile, const std::string& sectionName);

/// The section name a dump of the profile gets when none is given: the
/// mercenary's name, or "Custom" when that is empty or no section name.
std::string defaultSectionName(const Profile& profile);

/// Reads IMP.dat at path as Read/Reset does and gives it as a preset
/// section; the failure of the read (readProfile's) or of presetSection.
platform::Result<std::vector<std::string>> dumpProfile(platform::FileSystem& files, const std::string& path,
                                                       const std::string& sectionName);

/// The text of a presets file with the preset section (presetSection's
/// lines) put in, as saving a preset there means: the section of that name
/// replaced, or the section added at the end; and when the file has a list
/// [Presets], the name added to it unless listed (withPresetListed). Every
/// other byte stays, line ends and byte order mark included; the new lines
/// take the file's line end. The failure when the text is no presets file
/// that can be changed so: a section other than the list that holds no
/// Health key (no preset: a .brk or .vlc file has such sections), text
/// other than blanks with no section at all, or a list that cannot take the
/// name.
platform::Result<std::string> withPresetSection(std::string_view iniText, const std::vector<std::string>& section);

/// Writes the preset section to the presets file at path through the
/// text-file writer (atomically, never over a game file): a new or empty
/// file holds the section alone; an existing one keeps its other presets
/// (withPresetSection). Returns the failure, which writes nothing: the
/// hold's, the reader's or the writer's, each naming the file; or
/// withPresetSection's refusal, as the message and the reason of a failure
/// of the file (its path), ending "Nothing was written.".
platform::Status savePresetSection(platform::FileSystem& files, const std::string& path,
                                   const std::vector<std::string>& section);

/// The names of the INI text's sections in order, as platform::iniSections
/// lists them, without the list's own section "Presets".
std::vector<std::string> presetSections(std::string_view iniText);

/// Why the text is no presets file ("[head] holds no key Health, so this is
/// no presets file."), or empty: every section but the list and `except`
/// must hold a preset's first key.
std::string notAPresetsFile(std::string_view iniText, std::string_view except = {});
/// Whether the name is among them, as the INI lookup matches section names
/// (blanks around it and ASCII letter case aside).
bool hasSection(const std::vector<std::string>& sections, std::string_view name);

/// Applies the section of the INI text to the profile as the Presets window
/// loads it, read as PresetReading::Checked (an attitude of 9 kept as its
/// code), then the further keys it holds. Returns the failure when the
/// section is missing, and, the message starting "[section]: ", when a key
/// is missing or bad, an item number is unknown, or a further key holds what the profile
/// cannot (an unknown voice, body type, face or palette name; a name over 20
/// or a callsign over 8 characters). The profile is one read from IMP.dat
/// through the same choices, as readProfile does; writeProfile then saves it.
/// After a failure the keys before the bad one stay applied.
platform::Status applyPresetSection(std::string_view iniText, const std::string& section, Profile& profile,
                                    ProfileChoices& choices);

} // namespace kestrin
