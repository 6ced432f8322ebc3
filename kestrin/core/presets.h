#pragma once

// Presets.ini: named sets of attributes, traits, personality, attitude and
// kit, read from the first Presets.ini found beside the program file, in the
// user's configuration folder or with the installed data, and applied to the
// editor in one go.

// standard
#include <array>
#include <string>
#include <string_view>
#include <vector>

// ours
#include "kestrin/core/choices.h"
#include "kestrin/core/profile.h"
#include "platform/platform.h"

namespace kestrin {

/// The keys of a preset section that set attribute texts, and those that
/// set the kit's item numbers, each in the order the loader applies them.
struct PresetTextKey {
    const char* key;
    Attribute attribute;
};
struct PresetSlotKey {
    const char* key;
    Hidden field;
};
extern const std::array<PresetTextKey, kAttributeCount> kPresetTextKeys;
extern const std::array<PresetSlotKey, 6> kPresetSlotKeys;

/// The file the presets come from, the first Presets.ini that exists of:
/// the folder of the program file; "varnhold" in the user's configuration
/// folder; share/varnhold beside the program's folder (where an installation
/// puts the demo presets). When there is none, the one beside the program.
std::string presetsPath(platform::Platform& platform);

/// The preset names in the file's order ("ERROR" for a missing name key).
/// The failure when "Amount" is missing, not a number, or above
/// kMostPresets (a list that long would never finish filling), and, as
/// loadPreset's, when the file exists but cannot be read.
inline constexpr int kMostPresets = 1000;
platform::Result<std::vector<std::string>> presetNames(platform::FileSystem& files, const std::string& iniPath);

/// The text of a presets file with the name in its list [Presets]:
/// unchanged when one of the names the list counts is that name (as section
/// names match: blanks around it and ASCII letter case aside); otherwise
/// with Amount one higher and the key of that number naming it, every other
/// byte kept. The failure ("[Presets]: ...") when the text has no list, or
/// its Amount is missing, not a number, below 0 or already kMostPresets.
platform::Result<std::string> withPresetListed(std::string_view iniText, const std::string& name);

/// How a preset's keys are read.
/// Window: as the Presets window has always read them; a missing key reads
/// "ERROR" (which then fails as no number), and the attitude must be a line
/// of its list.
/// Checked: for a section applied to IMP.dat without the window. A missing
/// key is refused naming it, a value that is no number naming its key (the
/// value shown with its unprintable bytes as \xNN), and an unknown item
/// number naming its key. An attitude of 9, which has no line in the list,
/// is kept as its code, as Read/Reset keeps a stored 9: so whatever a dump
/// of the profile writes applies back.
enum class PresetReading { Window, Checked };

/// The key's value as a number, or the failure naming the key and the value
/// (its unprintable bytes as \xNN): "Health = 'abc' is not a valid integer
/// value."
platform::Result<int> presetNumber(std::string_view key, const std::string& value);

/// Applies the preset's keys in order. A text key goes into its attribute
/// field as typed text would (a missing one reads "ERROR"); a list key
/// selects that line. A numeric key that is missing, not a number, or a list
/// line outside its list, and an attribute text the change rule cannot read
/// (Health, Experience), end the preset there: the keys before it stay
/// applied, the rest is not, and the failure is returned. Unknown item
/// numbers show "Unknown helmet." (vest, modification, weapon) in a
/// "Failure" box and loading goes on.
/// The same on INI text already read; returns the failure messages of the
/// unknown item numbers in order instead of showing them, or the failure
/// that ended the preset.
platform::Result<std::vector<std::string>> applyPreset(std::string_view iniText, const std::string& name,
                                                       Profile& profile, InventorySelect& window,
                                                       PresetReading reading = PresetReading::Window);
/// Reads the file through platform::readTextFile. A missing file reads as
/// empty, as the window has always taken it (every key then reads "ERROR");
/// a file that cannot be read, or is over the text-file size limit, gives
/// the reader's failure. Returns applyPreset's failure too, before any
/// "Failure" box is shown.
platform::Status loadPreset(platform::Platform& platform, const std::string& iniPath, const std::string& name,
                            Profile& profile, InventorySelect& window);

} // namespace kestrin
