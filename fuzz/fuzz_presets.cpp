// Presets.ini: INI lookups and the section listing over any text, every
// section applied as the console program applies it, then the preset list
// and every preset it names loaded into a profile, with a recording
// Inventory window.

// standard
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

// ours
#include "tests/support/memoryfilesystem.h"
#include "kestrin/core/presets.h"
#include "kestrin/core/profilepreset.h"
#include "kestrin/core/profile.h"
#include "platform/ini.h"
#include "tests/support/scriptedplatform.h"

namespace {

class RecordingInventory final : public kestrin::InventorySelect {
public:
    int calls = 0;
    bool selectWeapon(int item) override { return record(item); }
    bool selectModification1(int item) override { return record(item); }
    bool selectModification2(int item) override { return record(item); }
    bool selectHelmet(int item) override { return record(item); }
    bool selectVest(int item) override { return record(item); }
    void setCeramicChecked(bool) override { ++calls; }

private:
    bool record(int item)
    {
        ++calls;
        return item % 2 == 0;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::string_view section : {"Presets", "presets", "Sniper", "", "A"})
        for (std::string_view key : {"Amount", "1", "Health", "", "x"})
            (void)platform::iniLookup(text, section, key);
    // Every section listed is one the lookup finds.
    for (const std::string& section : platform::iniSections(text))
        if (!platform::hasIniSection(text, section))
            __builtin_trap();
    for (const std::string& section : kestrin::presetSections(text)) {
        kestrin::Profile profile;
        kestrin::ProfileChoices choices(profile);
        (void)kestrin::applyPresetSection(text, section, profile, choices);
    }

    fuzz::MemoryFileSystem files;
    files.files["/kestrin/Presets.ini"] = std::string(text);
    platform::ScriptedPlatform platform("Kestrin", platform::LineBreak::CrLf);
    platform.setFileSystem(&files);
    platform.setProgramFolder("/kestrin");
    platform.setFailureHandler([](const std::string&) {});
    const std::string path = kestrin::presetsPath(platform);

    auto listed = kestrin::presetNames(files, path);
    if (!listed)
        return 0;
    // A name listed twice loads the same preset.
    const std::set<std::string> names(listed->begin(), listed->end());
    for (const std::string& name : names) {
        kestrin::Profile profile;
        RecordingInventory window;
        (void)kestrin::loadPreset(platform, path, name, profile, window);
    }
    return 0;
}
