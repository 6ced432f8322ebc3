// Loading Presets.ini: the names list, a preset applied key by key in its
// order, unknown item numbers reported one box each, the ceramic plates box
// of the Presets window and of the profile alone, and the keys that end a
// preset (missing section, bad numbers, list lines outside their list).

// standard
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// Qt
#include <QApplication>
#include <QCheckBox>
#include <QLabel>

// ours
#include "kestrin/core/catalogue.h"
#include "kestrin/core/presets.h"
#include "kestrin/core/profilepreset.h"
#include "kestrin/core/profilerecord.h"
#include "kestrin/windows/presetsform.h"
#include "platform/ascii.h"
#include "platform/paths.h"
#include "tests/support/scriptedplatform.h"
#include "platform/textlines.h"
#include "tests/support/tempdir.h"

namespace kestrin {
namespace {

using platform::Answer;
using platform::Buttons;
using Box = platform::ScriptedPlatform::Box;

/// The Inventory window's select operations, logged; each knows the numbers
/// the catalogue knows. The check box's action runs only on a change.
class RecordingWindow final : public InventorySelect {
public:
    explicit RecordingWindow(Profile& profile) : profile_(profile) {}
    std::vector<std::string> calls;
    bool checked = false;

    bool selectWeapon(int n) override { return log("weapon", n, catalogue::WeaponEntryFor(n)); }
    bool selectModification1(int n) override { return log("modification1", n, catalogue::ModificationEntryFor(n)); }
    bool selectModification2(int n) override { return log("modification2", n, catalogue::ModificationEntryFor(n)); }
    bool selectHelmet(int n) override { return log("helmet", n, catalogue::HelmetEntryFor(n)); }
    bool selectVest(int n) override { return log("vest", n, catalogue::VestEntryFor(n)); }
    void setCeramicChecked(bool on) override
    {
        calls.push_back(on ? "ceramic on" : "ceramic off");
        if (on == checked)
            return;
        checked = on;
        calls.push_back("choose ceramic");
        profile_.setHidden(Hidden::Ceramic, on ? catalogue::kCeramicPlates : 0);
    }

private:
    bool log(const std::string& slot, int n, const void* entry)
    {
        calls.push_back(slot + " " + std::to_string(n));
        return entry != nullptr;
    }
    Profile& profile_;
};

/// The preset's keys in the order they apply, with the field each changes
/// and a value that differs from the field's start value.
struct Key {
    const char* name;
    Field field;
    const char* value;
};
const std::vector<Key> kKeys = {
    {"Health", fieldOf(Attribute::Health), "80"},         {"Agility", fieldOf(Attribute::Agility), "81"},
    {"Dexterity", fieldOf(Attribute::Dexterity), "82"},   {"Strength", fieldOf(Attribute::Strength), "83"},
    {"Leadership", fieldOf(Attribute::Leadership), "84"}, {"Wisdom", fieldOf(Attribute::Wisdom), "85"},
    {"Marksmanship", fieldOf(Attribute::Marksmanship), "86"}, {"Mechanic", fieldOf(Attribute::Mechanic), "87"},
    {"Explosives", fieldOf(Attribute::Explosives), "88"}, {"Medical", fieldOf(Attribute::Medical), "89"},
    {"Experience", fieldOf(Attribute::Experience), "3"},  {"Trait1", Field::Trait1, "2"},
    {"Trait2", Field::Trait2, "5"},                        {"Personality", Field::Personality, "3"},
    {"Attitude", Field::Attitude, "4"},                    {"SlotFirstHand", fieldOf(Hidden::Weapon), "29"},
    {"SlotAttachment1_1", fieldOf(Hidden::Modification1), "209"},
    {"SlotAttachment1_2", fieldOf(Hidden::Modification2), "244"},
    {"SlotVest", fieldOf(Hidden::Vest), "162"},            {"SlotHelmet", fieldOf(Hidden::Helmet), "178"},
    {"CeramicPlates", fieldOf(Hidden::Ceramic), "183"},
};

/// Presets.ini with one preset "Scout"; a key mapped to nullopt is left out.
std::string presetFile(const std::map<std::string, std::optional<std::string>>& changes = {})
{
    std::string text = "[Presets]\r\nAmount=1\r\n1=Scout\r\n\r\n[Scout]\r\n";
    for (const auto& key : kKeys) {
        const auto change = changes.find(key.name);
        if (change == changes.end())
            text += std::string(key.name) + "=" + key.value + "\r\n";
        else if (change->second)
            text += std::string(key.name) + "=" + *change->second + "\r\n";
    }
    return text;
}

class Presets : public ::testing::Test {
protected:
    Presets()
    {
        ui.setProgramFolder(dir.path());
        QObject::connect(&profile, &Profile::changed, [this](Field f) { fields.push_back(f); });
    }
    void write(const std::string& text) { testsupport::writeFile(presetsPath(ui), text); }
    void load(const std::string& name = "Scout")
    {
        const platform::Status loaded = loadPreset(ui, presetsPath(ui), name, profile, window);
        EXPECT_TRUE(loaded.ok()) << loaded.error();
    }
    /// The fields of the keys before the one named, in order.
    static std::vector<Field> fieldsBefore(const std::string& key)
    {
        std::vector<Field> out;
        for (auto k = kKeys.begin(); k != kKeys.end() && k->name != key; ++k)
            out.push_back(k->field);
        return out;
    }

    testsupport::TempDir dir;
    platform::ScriptedPlatform ui{"Kestrin 1.03", platform::LineBreak::CrLf};
    Profile profile;
    RecordingWindow window{profile};
    std::vector<Field> fields;
};

TEST_F(Presets, AppliesEveryKeyInOrderThenSelectsTheKit)
{
    write(presetFile());
    load();
    EXPECT_EQ(fields, fieldsBefore("")); // every key, each once, in order
    EXPECT_EQ(profile.attributeText(Attribute::Health), "80");
    EXPECT_EQ(profile.attributeText(Attribute::Experience), "3");
    EXPECT_EQ(profile.trait1Code(), record::kTraits[2].code); // a line, not a code
    EXPECT_EQ(profile.trait2Code(), record::kTraits[5].code);
    EXPECT_EQ(profile.personalityCode(), 3);
    EXPECT_EQ(profile.attitudeCode(), 4);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"ceramic on", "choose ceramic", "helmet 178", "vest 162",
                                                      "modification1 209", "modification2 244", "weapon 29"}));
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(Presets, SectionAndKeyNamesIgnoreCase)
{
    write(platform::asciiLower(presetFile()));
    load("SCOUT");
    EXPECT_EQ(fields, fieldsBefore(""));
    EXPECT_EQ(window.calls.back(), "weapon 29");
}

TEST_F(Presets, UnknownItemsAreReportedInTurnAndKeepTheirNumbers)
{
    write(presetFile({{"CeramicPlates", "5"}, {"SlotHelmet", "183"}, {"SlotVest", "170"},
                      {"SlotAttachment1_1", "242"}, {"SlotAttachment1_2", "1"}, {"SlotFirstHand", "40"}}));
    for (auto a : {Answer::Ok, Answer::Cancel, Answer::Ok, Answer::Cancel, Answer::Ok, Answer::Cancel})
        ui.answer(a); // the answer changes nothing
    load();
    auto box = [](const char* text) { return Box{text, "Failure", Buttons::OkCancel}; };
    EXPECT_EQ(ui.boxes(), (std::vector<Box>{box("Unknown vest."), box("Unknown helmet."), box("Unknown vest."),
                                            box("Unknown modification."), box("Unknown modification."),
                                            box("Unknown weapon.")}));
    EXPECT_TRUE(ui.failures().empty());
    EXPECT_EQ(window.calls, (std::vector<std::string>{"helmet 183", "vest 170", "modification1 242",
                                                      "modification2 1", "weapon 40"}));
    EXPECT_FALSE(window.checked);
    const std::vector<int> kept{profile.hidden(Hidden::Ceramic), profile.hidden(Hidden::Helmet),
                                profile.hidden(Hidden::Vest), profile.hidden(Hidden::Modification1),
                                profile.hidden(Hidden::Modification2), profile.hidden(Hidden::Weapon)};
    EXPECT_EQ(kept, (std::vector<int>{5, 183, 170, 242, 1, 40}));
}

/// The application object the Presets window needs, made once for the run.
void needApplication()
{
    static int argc = 3;
    static char name[] = "kestrin_inventory_tests", option[] = "-platform", value[] = "offscreen";
    static char* argv[] = {name, option, value, nullptr};
    static QApplication application(argc, argv);
}

TEST_F(Presets, CeramicBoxActsOnlyOnAChange)
{
    // The kit's two real choosers: the Presets window, loading the preset as
    // a click on it does, and the choices made on the profile alone (the
    // console program's). Each box is first set by the chooser's own action.
    needApplication();
    struct Row {
        bool checkedBefore;
        const char* value;
        bool checkedAfter;
        int changes; // of the plates field
    };
    const Row rows[] = {
        {true, "183", true, 0}, // already checked: the box stays, the field holds 183
        {false, "183", true, 1},
        {true, "0", false, 1},
        {false, "0", false, 0},
        {true, "5", true, 1}, // no plates: the box stays, the field holds 5
    };
    const int kit = catalogue::HelmetEntryFor(178)->armour + catalogue::VestEntryFor(162)->armour;
    for (const Row& row : rows) {
        for (const bool window : {true, false}) {
            SCOPED_TRACE(std::string(row.value) + (row.checkedBefore ? " checked" : " unchecked") +
                         (window ? ", Presets window" : ", profile alone"));
            write(presetFile({{"CeramicPlates", row.value}}));
            Profile fresh;
            ProfileChoices choices(fresh);
            TPresetsForm form(fresh, ui);
            auto* box = form.findChild<QCheckBox*>("CheckBox1");
            ASSERT_TRUE(box);
            if (window)
                box->setChecked(row.checkedBefore);
            else
                choices.setCeramicChecked(row.checkedBefore);
            ASSERT_EQ(fresh.hidden(Hidden::Ceramic), row.checkedBefore ? catalogue::kCeramicPlates : 0);
            int changes = 0;
            QObject::connect(&fresh, &Profile::changed, [&changes](Field f) {
                changes += f == fieldOf(Hidden::Ceramic);
            });
            const bool unknown = std::string(row.value) == "5";
            if (unknown)
                ui.answer(Answer::Ok);
            if (window)
                form.LoadPreset("Scout");
            else
                EXPECT_TRUE(loadPreset(ui, presetsPath(ui), "Scout", fresh, choices).ok());

            EXPECT_EQ(fresh.hidden(Hidden::Ceramic), std::stoi(row.value));
            EXPECT_EQ(changes, row.changes);
            const std::vector<Box> shown{{"Unknown vest.", "Failure", Buttons::OkCancel}};
            EXPECT_EQ(ui.boxes(), unknown ? shown : std::vector<Box>{});
            if (window) {
                EXPECT_EQ(box->isChecked(), row.checkedAfter);
                const int total = kit + (row.checkedAfter ? catalogue::kCeramicArmour : 0);
                EXPECT_EQ(form.findChild<QLabel*>("ArmorPanel")->text(), QString("  Armor: %1%").arg(total));
            }
            ui.clearRecord();
        }
    }
    EXPECT_TRUE(ui.failures().empty());
}

// The window and the profile alone find entries through the same lookup:
// for every number a stored byte can hold, and outside it, each select of
// either knows the same numbers and sets the kit's fields alike (the
// weapon's ammunition with it); an unknown number changes nothing.
TEST(KitSelects, TheWindowAndTheProfileAloneKnowTheSameNumbersAndSetTheSameFields)
{
    needApplication();
    platform::ScriptedPlatform ui{"Kestrin 1.03", platform::LineBreak::CrLf};
    const Hidden kit[] = {Hidden::Weapon, Hidden::Ammo, Hidden::Modification1, Hidden::Modification2,
                          Hidden::Helmet, Hidden::Vest};
    auto fields = [&](const Profile& p) {
        std::vector<int> values;
        for (Hidden h : kit)
            values.push_back(p.hidden(h));
        return values;
    };
    const std::pair<const char*, bool (InventorySelect::*)(int)> selects[] = {
        {"weapon", &InventorySelect::selectWeapon},   {"modification 1", &InventorySelect::selectModification1},
        {"modification 2", &InventorySelect::selectModification2}, {"helmet", &InventorySelect::selectHelmet},
        {"vest", &InventorySelect::selectVest},
    };
    Profile inWindow, alone;
    TPresetsForm form(inWindow, ui);
    ProfileChoices choices(alone);
    for (const auto& [slot, select] : selects) {
        int known = 0;
        for (int item = -1; item <= 256; ++item) {
            SCOPED_TRACE(std::string(slot) + " " + std::to_string(item));
            for (Hidden h : kit) { // a start that no entry's choice leaves
                inWindow.setHidden(h, 99);
                alone.setHidden(h, 99);
            }
            const bool found = (form.*select)(item);
            EXPECT_EQ((choices.*select)(item), found);
            EXPECT_EQ(fields(alone), fields(inWindow));
            EXPECT_EQ(fields(inWindow) == std::vector<int>(std::size(kit), 99), !found);
            known += found;
        }
        EXPECT_GT(known, 1) << slot;
    }
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(Presets, MissingSectionOrFileFailsAtHealth)
{
    for (bool fileThere : {true, false}) {
        SCOPED_TRACE(fileThere ? "no section" : "no file");
        if (fileThere)
            write(presetFile());
        Profile fresh;
        RecordingWindow freshWindow{fresh};
        const platform::Status loaded =
            loadPreset(ui, fileThere ? presetsPath(ui) : dir.file("Missing.ini"), "Nobody", fresh, freshWindow);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error(), "'ERROR' is not a valid integer value");
        EXPECT_EQ(loaded.path(), "");
        // Health took the text before its rule failed; nothing after it ran.
        EXPECT_EQ(fresh.attributeText(Attribute::Health), "ERROR");
        EXPECT_EQ(fresh.attributeText(Attribute::Agility), "50");
        EXPECT_TRUE(freshWindow.calls.empty());
    }
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(Presets, BadNumericKeyEndsThePresetThere)
{
    struct Row {
        const char* key;
        std::optional<std::string> value;
        const char* error;
    };
    const Row rows[] = {
        {"Trait1", "20", "Trait1 = 20 is not a line of its list (0 to 14)."},
        {"Trait2", "-1", "Trait2 = -1 is not a line of its list (0 to 14)."},
        {"Personality", "8", "Personality = 8 is not a line of its list (0 to 7)."},
        {"Attitude", "9", "Attitude = 9 is not a line of its list (0 to 8)."},
        {"Attitude", "-1", "Attitude = -1 is not a line of its list (0 to 8)."},
        {"Trait1", std::nullopt, "'ERROR' is not a valid integer value"},
        {"SlotVest", "abc", "'abc' is not a valid integer value"},
        {"CeramicPlates", "", "'' is not a valid integer value"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        Profile fresh;
        std::vector<Field> changed;
        QObject::connect(&fresh, &Profile::changed, [&changed](Field f) { changed.push_back(f); });
        RecordingWindow freshWindow{fresh};
        write(presetFile({{row.key, row.value}}));
        const platform::Status loaded = loadPreset(ui, presetsPath(ui), "Scout", fresh, freshWindow);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error(), row.error);
        EXPECT_EQ(changed, fieldsBefore(row.key));
        EXPECT_TRUE(freshWindow.calls.empty());
    }
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(Presets, AFileOverTheTextLimitIsRefusedNamingTheLimit)
{
    write(presetFile() + std::string(platform::kMaxTextFileLength, ';'));
    for (int step = 0; step < 2; ++step) {
        const platform::Status read = step == 0 ? presetNames(ui.files(), presetsPath(ui)).status()
                                                : loadPreset(ui, presetsPath(ui), "Scout", profile, window);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.error(), presetsPath(ui) + " is " +
                                    std::to_string(presetFile().size() + platform::kMaxTextFileLength) +
                                    " bytes long; no text file of ours is larger than 4 MiB.");
        EXPECT_EQ(read.path(), presetsPath(ui)); // the reader's failure, its file named
    }
    EXPECT_TRUE(fields.empty());
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(Presets, FoundBesideTheProgramThenInTheUsersFolderThenWithTheInstalledData)
{
    using platform::joinPath;
    const std::string bin = dir.file("bin");
    const std::string mine = joinPath(dir.file("config"), "varnhold");
    const std::string demo = joinPath(joinPath(dir.file("share"), "varnhold"), "Presets.ini");
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(mine);
    std::filesystem::create_directories(joinPath(dir.file("share"), "varnhold"));
    ui.setProgramFolder(bin);
    ui.setConfigFolder(dir.file("config"));
    auto names = [&] {
        const auto listed = presetNames(ui.files(), presetsPath(ui));
        EXPECT_TRUE(listed.ok()) << listed.error();
        return listed.ok() ? *listed : std::vector<std::string>{"(failed)"};
    };
    auto presets = [](const char* name) { return std::string("[Presets]\r\nAmount=1\r\n1=") + name + "\r\n"; };

    // None anywhere: the one beside the program, missing as before.
    EXPECT_EQ(presetsPath(ui), joinPath(bin, "Presets.ini"));

    testsupport::writeFile(demo, presets("Demo"));
    EXPECT_EQ(names(), std::vector<std::string>{"Demo"});
    ui.setConfigFolder(""); // a system that names no configuration folder
    EXPECT_EQ(names(), std::vector<std::string>{"Demo"});

    ui.setConfigFolder(dir.file("config"));
    testsupport::writeFile(joinPath(mine, "Presets.ini"), presets("Mine"));
    EXPECT_EQ(names(), std::vector<std::string>{"Mine"});

    testsupport::writeFile(joinPath(bin, "Presets.ini"), presets("Beside"));
    EXPECT_EQ(names(), std::vector<std::string>{"Beside"});
}

TEST_F(Presets, NamesListedInFileOrder)
{
    EXPECT_EQ(presetsPath(ui), dir.file("Presets.ini"));
    struct Row {
        std::optional<std::string> file;
        std::vector<std::string> names;
        const char* error;
    };
    const Row rows[] = {
        {"[Presets]\r\nAmount=3\r\n1=Scout\r\n2=Medic\r\n", {"Scout", "Medic", "ERROR"}, nullptr},
        {"[presets]\nAMOUNT = 2\n2=Scout\n1=Scout\n", {"Scout", "Scout"}, nullptr},
        {"[Presets]\nAmount=0\n1=Scout\n", {}, nullptr},
        {"[Presets]\nAmount=-2\n", {}, nullptr},
        {"[Presets]\nAmount=two\n", {}, "'two' is not a valid integer value"},
        // A huge amount once kept the list filling for hours.
        {"[Presets]\r\nAmount=20000000\r\n", {},
         "Amount = 20000000 is more presets than the list takes (1000 at most)."},
        {"[Other]\nAmount=1\n1=Scout\n", {}, "'ERROR' is not a valid integer value"},
        {std::nullopt, {}, "'ERROR' is not a valid integer value"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.value_or("(no file)"));
        const std::string path = dir.file(row.file ? "Names.ini" : "Missing.ini");
        if (row.file)
            testsupport::writeFile(path, *row.file);
        const auto names = presetNames(ui.files(), path);
        if (row.error) {
            ASSERT_FALSE(names.ok());
            EXPECT_EQ(names.error(), row.error);
        } else {
            ASSERT_TRUE(names.ok()) << names.error();
            EXPECT_EQ(*names, row.names);
        }
    }
}

} // namespace
} // namespace kestrin
