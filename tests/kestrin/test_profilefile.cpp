// The read and save passes over a synthetic IMP.dat: the order of the read,
// what a read followed by a save changes (whole files compared), the values
// a read does not recognise, the saves that are refused, and the messages
// as Kestrin's box shows them; and the model's change rules and steppers.

// standard
#include <climits>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "kestrin/core/failurebox.h"
#include "kestrin/core/profilefile.h"
#include "kestrin/core/profilerecord.h"
#include "platform/journal.h"
#include "tests/support/scriptedplatform.h"
#include "tests/support/faultcases.h"
#include "tests/support/faultyfilesystem.h"
#include "tests/support/tempdir.h"

namespace kestrin {
namespace {

using platform::Answer;
using platform::Buttons;
using Box = platform::ScriptedPlatform::Box;
using testsupport::expectConflictBox;
using testsupport::readFile;
using testsupport::writeFile;

constexpr int kAmmoOfEveryWeapon = 71; // what the test's catalogue gives each weapon

/// Fails the test, naming the failure, unless the outcome is a success.
void expectDone(const platform::Status& outcome)
{
    EXPECT_TRUE(outcome.ok()) << outcome.error();
}

/// An attribute's text set as typed, where the change rule reads it.
void set(Profile& profile, Attribute attribute, const std::string& text)
{
    expectDone(profile.setAttributeText(attribute, text));
}

/// The text of the box Kestrin shows for the outcome (showFailure), or
/// "(no error)" for a success, which shows none.
std::string shown(const platform::Status& outcome)
{
    platform::ScriptedPlatform box{"Kestrin 1.03", platform::LineBreak::CrLf};
    if (!outcome.ok())
        box.answer(Answer::Ok);
    showFailure(box, outcome);
    EXPECT_TRUE(box.failures().empty());
    if (box.boxes().empty())
        return "(no error)";
    EXPECT_EQ(box.boxes().size(), 1u);
    EXPECT_EQ(box.boxes()[0].title, "Kestrin 1.03");
    EXPECT_EQ(box.boxes()[0].buttons, Buttons::Ok);
    return box.boxes()[0].text;
}

/// Cell text as a field holds it: the low byte of each cell, the high bytes 0x7F.
std::string cells(std::string_view text, int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += {i < int(text.size()) ? text[i] : '\0', '\x7F'};
    return bytes;
}

/// 600 bytes of pattern with a plausible profile in it.
std::string sampleImp()
{
    std::string b = testsupport::profileBytes(600);
    auto put = [&b](int offset, std::string_view bytes) { b.replace(offset, bytes.size(), bytes); };
    b[0] = 52;                                        // voice "2 (male)"
    b[4] = 3;                                         // face 3
    put(8, cells("Ivan", 20));                        // name
    put(68, cells("Hawk", 8));                        // callsign
    put(117, std::string_view("TANPANTS\0\0\0", 11)); // palette names, each with its three zeros
    put(147, std::string_view("GYELLOWSHIRT\0\0\0", 15));
    put(177, std::string_view("TANSKIN\0\0\0", 10));
    put(207, std::string_view("redbrown\0\0\0", 11));
    b[268] = 3;                                       // female
    b[269] = 40, b[304] = 70, b[305] = 80;            // medical, strength, health
    b[342] = 77;                                      // a stale copy of the health
    b[343] = 90, b[347] = 20, b[349] = 35;            // dexterity, explosives, leadership
    b[360] = 3, b[361] = 95, b[363] = 85;             // experience level, marksmanship, wisdom
    b[413] = 88, b[419] = 0;                          // agility, mechanic
    b[344] = 2;                                       // personality "Nervous"
    b[345] = 3, b[348] = 12;                          // traits Electronics, Martial Arts
    b[426] = char(161), b[428] = char(183);           // vest, ceramic plates attached
    b[434] = 5, b[436] = char(209), b[438] = char(244); // weapon, bipod, duckbill
    b[446] = 1, b[447] = 2, b[448] = 3;               // stale ammunition
    b[460] = char(176);                               // helmet
    b[577] = 9;                                       // attitude 9: no list entry
    return b;
}

/// The secondary windows as far as a read uses them: each choice is logged
/// and sets the hidden field the window would (any number is in this catalogue).
class Windows final : public WindowChoices {
public:
    Windows(Profile& profile, std::vector<std::string>& log) : profile_(profile), log_(log) {}
    bool failOnWeapon = false;

    void showPortrait(int face) override { choose("portrait", face, Hidden::Portrait); }
    void selectColor(Palette p, const std::string& name) override
    {
        log_.push_back(std::string(kPart[int(p)]) + " " + name);
        if (record::isPaletteName(p, name))
            profile_.setPalette(p, name);
    }
    bool selectVest(int item) override { return choose("vest", item, Hidden::Vest); }
    bool selectWeapon(int item) override
    {
        if (failOnWeapon)
            throw std::runtime_error("The weapon window failed."); // as Qt or the library may throw
        choose("weapon", item, Hidden::Weapon);
        profile_.setHidden(Hidden::Ammo, kAmmoOfEveryWeapon);
        return true;
    }
    bool selectModification1(int item) override { return choose("attachment 1", item, Hidden::Modification1); }
    bool selectModification2(int item) override { return choose("attachment 2", item, Hidden::Modification2); }
    bool selectHelmet(int item) override { return choose("helmet", item, Hidden::Helmet); }
    void setCeramicChecked(bool checked) override
    {
        log_.push_back(checked ? "ceramic on" : "ceramic off");
        if (checked != ceramic_) // the box's action runs only on a change
            profile_.setHidden(Hidden::Ceramic, (ceramic_ = checked) ? 183 : 0);
    }

private:
    static constexpr const char* kPart[] = {"pants", "vest", "skin", "hair"};
    bool choose(const char* what, int number, Hidden field)
    {
        log_.push_back(what + (" " + std::to_string(number)));
        profile_.setHidden(field, number);
        return true;
    }
    Profile& profile_;
    std::vector<std::string>& log_;
    bool ceramic_ = false;
};

class ProfileFile : public ::testing::Test {
protected:
    ProfileFile()
    {
        writeFile(path, before);
        ui.setFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
    }

    void read() { expectDone(readProfile(ui.files(), path, profile, windows)); }
    void save() { expectDone(saveProfile(ui, path, profile)); }

    /// Offset -> new value of every byte that differs from `before`.
    std::map<int, int> changes() const
    {
        const std::string after = readFile(path);
        EXPECT_EQ(after.size(), before.size());
        std::map<int, int> changed;
        for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
            if (before[i] != after[i])
                changed[int(i)] = static_cast<unsigned char>(after[i]);
        return changed;
    }

    /// The message of what `action` throws.
    static std::string thrownBy(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "(nothing thrown)";
    }

    testsupport::TempDir dir;
    std::string path = dir.file("IMP.dat");
    std::string before = sampleImp();
    platform::ScriptedPlatform ui{"Kestrin 1.03", platform::LineBreak::CrLf};
    Profile profile;
    std::vector<std::string> log;
    Windows windows{profile, log};
};

const Box kWellDone{"Well done.\r\n"
                    "Now you go to IMP and put in your keyword, but instead of QRV318 you type in 47351.\r\n"
                    "Your money should have been reduced by 3000 bucks.\r\n"
                    "And your mercenary-count should say 1 instead of 0.\r\n\r\n"
                    "Now start the game and enjoy your own custom merc. :)\r\n\r\n\r\n"
                    "Have fun, the Kestrin team",
                    "Well done.", Buttons::Ok};

TEST_F(ProfileFile, ReadSetsEveryFieldInTheRecordsOrder)
{
    // The model's own changes join the log, so the whole order shows.
    QObject::connect(&profile, &Profile::changed, [this](Field f) {
        static const std::map<Field, const char*> names = {
            {Field::Name, "name"},           {Field::Callsign, "callsign"}, {Field::Voice, "voice"},
            {Field::BodyType, "body type"},  {Field::Trait1, "trait 1"},    {Field::Trait2, "trait 2"},
            {Field::Personality, "personality"}, {Field::Attitude, "attitude"}};
        if (names.count(f))
            log.push_back(names.at(f));
        else if (int(f) < int(Field::FirstHidden))
            log.push_back(kAttributes[int(f) - int(Field::FirstAttribute)].label);
    });
    read();
    EXPECT_EQ(log, (std::vector<std::string>{
                       "voice", "portrait 3", "name", "callsign", "pants TANPANTS", "vest GYELLOWSHIRT",
                       "hair redbrown", "skin TANSKIN", // hair before skin
                       "body type", "Medical", "Strength", "Health", "Dexterity", "personality", "trait 1",
                       "Explosives", "trait 2", "Leadership", "Experience level:", "Marksm.", "Wisdom", "Agility",
                       "Mechanic", "vest 161", "ceramic on", "weapon 5", "attachment 1 209", "attachment 2 244",
                       "helmet 176", "attitude"}));
    EXPECT_EQ(profile.name(), "Ivan");
    EXPECT_EQ(profile.callsign(), "Hawk");
    EXPECT_EQ(profile.voiceButton(), 52);
    EXPECT_EQ(profile.bodyTypeCode(), 3);
    EXPECT_EQ(profile.attributeText(Attribute::Health), "80");
    EXPECT_EQ(profile.trait1Position(), 2); // "Electronics [*]"
    EXPECT_EQ(profile.trait2Position(), 4); // "Martial Arts"
    EXPECT_EQ(profile.personalityCode(), 2);
    EXPECT_EQ(profile.attitudePosition(), -1);
    EXPECT_EQ(profile.attitudeCode(), 9);
}

struct RoundTrip {
    const char* label;
    std::map<int, std::string> pokes;   // bytes put into the sample before the read
    std::map<int, int> expectedChanges; // what the save then changes
};

class ReadThenSave : public ProfileFile, public ::testing::WithParamInterface<RoundTrip> {};

// What may change: the health copy at 342 takes 305's value, and the three
// ammunition bytes take the weapon's ammunition. Everything else, attitude 9
// and names up to their terminators included, is written back as it was.
const std::map<int, int> kDerived = {{342, 80}, {446, 71}, {447, 71}, {448, 71}};

TEST_P(ReadThenSave, ChangesOnlyWhatFollowsFromTheOtherFields)
{
    for (const auto& [offset, bytes] : GetParam().pokes)
        before.replace(offset, bytes.size(), bytes);
    writeFile(path, before);
    read();
    ui.answer(Answer::Ok);
    save();
    EXPECT_EQ(changes(), GetParam().expectedChanges);
    EXPECT_EQ(ui.boxes(), std::vector<Box>{kWellDone});
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, ReadThenSave,
    ::testing::Values(
        RoundTrip{"AsStored", {}, kDerived},
        RoundTrip{"FloorsOfHealthAndExperience",
                  {{305, "\x0A"}, {360, std::string(1, '\0')}},
                  {{305, 15}, {342, 15}, {360, 1}, {446, 71}, {447, 71}, {448, 71}}},
        RoundTrip{"HighestByte", {{305, "\xFF"}}, {{342, 255}, {446, 71}, {447, 71}, {448, 71}}},
        RoundTrip{"FullLengthNames", {{8, cells("Aleksandra Ivanovna.", 20)}, {68, cells("Nighthwk", 8)}}, kDerived},
        // Names the Appearance window lacks are never chosen, so never written.
        RoundTrip{"UnknownColourNames", {{117, std::string("tanpants\0", 9)}, {177, "PINK"}}, kDerived},
        // A hair name that fills its limit with no zero behind it gets its zeros.
        RoundTrip{"NameWithoutTerminator", {{207, "BLONDHEAD\x7F\x7F\x7F"}},
                  {{216, 0}, {217, 0}, {218, 0}, {342, 80}, {446, 71}, {447, 71}, {448, 71}}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProfileFile, UnrecognisedValuesKeepWhatTheFieldsHeld)
{
    read();
    // voice 50, face 16, body type 2, personality 8, traits 11 and 16, attitude
    // 10; and ceramic plates 7, which counts as attached like any non-zero byte
    for (auto [offset, value] : std::map<int, int>{{0, 50}, {4, 16}, {268, 2}, {344, 8}, {345, 11}, {348, 16},
                                                   {428, 7}, {577, 10}})
        before[offset] = char(value);
    writeFile(path, before);
    log.clear();
    read();
    EXPECT_EQ(log.front(), "pants TANPANTS"); // no portrait shown
    EXPECT_EQ(log[5], "ceramic on");
    EXPECT_EQ(profile.voiceButton(), 52);
    EXPECT_EQ(profile.bodyTypeButton(), 3);
    EXPECT_EQ(profile.personalityPosition(), 2);
    EXPECT_EQ(profile.trait1Code(), 3);
    EXPECT_EQ(profile.trait2Code(), 12);
    EXPECT_EQ(profile.attitudeCode(), 9);

    ui.answer(Answer::Ok);
    save(); // the fields' own values go back
    std::map<int, int> expected = kDerived;
    expected.insert({{0, 52}, {4, 3}, {268, 3}, {344, 2}, {345, 3}, {348, 12}, {428, 183}, {577, 9}});
    EXPECT_EQ(changes(), expected);
}

TEST_F(ProfileFile, SaveOfStartValuesAsksForTheNamesAndKeepsUnsetFields)
{
    ui.answer(Answer::Ok);
    ui.answer(Answer::Ok);
    ui.answer(Answer::Ok);
    save();
    EXPECT_EQ(ui.boxes(),
              (std::vector<Box>{
                  {"Sorry, please type your name in. (click on \"Name\" to do so.)", "Kestrin 1.03", Buttons::Ok},
                  {"Sorry, please type your callsign in. (click on \"Name\" to do so.)", "Kestrin 1.03", Buttons::Ok},
                  kWellDone}));
    // Voice 0 is no voice and the palette placeholders are no names: offset 0,
    // the name and callsign cells and the four palette names stay as they were.
    EXPECT_EQ(changes(), (std::map<int, int>{
                             {4, 0},                                        // face 0
                             {268, 0},                                      // body type "male (slim body)"
                             {269, 50}, {304, 50}, {305, 50}, {342, 50}, {343, 50}, // medical .. dexterity
                             {344, 0}, {345, 0}, {347, 50}, {348, 0},       // personality, traits, explosives
                             {349, 50}, {360, 5}, {361, 50}, {363, 50}, {413, 50}, {419, 50},
                             {426, 0}, {428, 0}, {434, 0}, {436, 0}, {438, 0}, // no kit
                             {446, 0}, {447, 0}, {448, 0}, {460, 0},
                             {577, 0}}));                                   // attitude "Normal"
}

TEST_F(ProfileFile, SaveRefusesValuesTheRecordCannotHoldBeforeOpeningTheFile)
{
    // The file system refuses to open the file: a save that tried would
    // report that instead.
    testsupport::FaultyFileSystem faulty;
    faulty.failOpen.insert(path);
    ui.setFileSystem(&faulty);

    struct Case {
        std::function<void(Profile&)> set;
        std::string message;
    };
    const std::string nothingWritten = "; the profile can store 0 to 255.\r\nNothing was written.";
    const Case cases[] = {
        {[](Profile& p) { set(p, Attribute::Health, "300"); }, "Health is 300" + nothingWritten},
        {[](Profile& p) { set(p, Attribute::Medical, "-1"); }, "Medical is -1" + nothingWritten},
        {[](Profile& p) { set(p, Attribute::Experience, "256"); },
         "Experience level is 256" + nothingWritten},
        {[](Profile& p) { p.setHidden(Hidden::Weapon, 300); }, "The weapon is 300" + nothingWritten},
        {[](Profile& p) { set(p, Attribute::Strength, "abc"); }, "'abc' is not a valid integer value"},
        {[](Profile& p) { set(p, Attribute::Wisdom, ""); }, "'' is not a valid integer value"},
        {[](Profile& p) { p.setName("Aleksandra Ivanovna K"); },
         "The name has 21 characters; the profile can store 20.\r\nNothing was written."},
    };
    for (const Case& c : cases) {
        Profile fresh;
        c.set(fresh);
        EXPECT_EQ(shown(saveProfile(ui, path, fresh)), c.message);
    }
    EXPECT_EQ(readFile(path), before);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(ProfileFile, FilesThatCannotBeUsedChangeNothing)
{
    const std::string missing = dir.file("missing.dat");
    const std::string shortFile = dir.file("short.dat");
    const std::string shortBytes = before.substr(0, 577); // attitude byte 577 missing
    writeFile(shortFile, shortBytes);
    const std::string exe = dir.file("vrn.exe"); // the profile's bytes in a file of the executable's length
    const std::string exeBytes = before + testsupport::patternBytes(2812928 - before.size());
    writeFile(exe, exeBytes);
    const std::map<std::string, std::string> cases = {
        {missing, "Cannot open file \"" + missing + "\". " + testsupport::missingFileReason()},
        {shortFile, "Cannot use file \"" + shortFile
                        + "\". It is 577 bytes long; a custom mercenary profile needs at least 578 bytes."},
        {exe, "Cannot use file \"" + exe + "\". It is the game executable [US1.03], not a custom mercenary profile."},
    };
    for (const auto& [file, message] : cases) {
        EXPECT_EQ(shown(readProfile(ui.files(), file, profile, windows)), message);
        // A save adds what it did, once the file was opened.
        const bool opened = file != missing;
        EXPECT_EQ(shown(saveProfile(ui, file, profile)), message + (opened ? "\r\nNothing was written." : ""));
    }
    EXPECT_EQ(readFile(shortFile), shortBytes);
    EXPECT_EQ(readFile(exe), exeBytes);
    EXPECT_FALSE(ui.files().isFile(exe + ".bak"));
    EXPECT_FALSE(ui.files().isFile(missing));
    // The editor still holds its start values.
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(profile.name(), "");
    EXPECT_EQ(profile.voiceButton(), 0);
    EXPECT_EQ(profile.palette(Palette::Pants), "PantsEdit");
    EXPECT_EQ(profile.attributeText(Attribute::Health), "50");
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(ProfileFile, AnErrorMidwayEndsThePassAndClosesTheFile)
{
    // A window that throws (as Qt or the library may) ends the walk there.
    windows.failOnWeapon = true;
    EXPECT_EQ(thrownBy([&] { (void)readProfile(ui.files(), path, profile, windows); }), "The weapon window failed.");
    EXPECT_EQ(profile.name(), "Ivan");           // read before the weapon
    EXPECT_EQ(profile.attitudePosition(), 0);    // not reached
    EXPECT_EQ(log.back(), "ceramic on");

    // A write the disk refuses ends the save without "Well done."; the file
    // was released both times, or the exclusive opens below would fail.
    testsupport::FaultyFileSystem faulty;
    faulty.failWrite.insert(path);
    ui.setFileSystem(&faulty);
    // Every write fails, the undo's too: the message says the file may be
    // half-written and what puts it right.
    EXPECT_EQ(shown(saveProfile(ui, path, profile)),
              "Could not write " + path + ": No space left on device\r\n" + path +
                  " may be half-written: putting its old bytes back failed too (No space left on device). The "
                  "journal " + platform::journalPath(path) + " beside it puts them back at the next patch, and " +
                  path + ".bak holds the original.");
    ui.setFileSystem(nullptr);
    EXPECT_EQ(readFile(path), before);
    EXPECT_TRUE(ui.boxes().empty());
    ui.answer(Answer::Ok);
    save();
}

// A failure in the middle of a save's pass (here the edit of an apply, after
// the record was read and the model changed) is given back once, as it is,
// and nothing is written: no byte, no backup, no journal.
TEST_F(ProfileFile, AFailureMidwayThroughAnEditWritesNothingAndIsGivenBackAsItIs)
{
    const platform::Status refusal = platform::Status::failure("[Sniper]: Trait1 is missing.");
    int edits = 0;
    const auto edited = editProfile(ui.files(), path, profile, windows, [&] {
        ++edits;
        profile.setName("Boris");
        return refusal;
    });
    ASSERT_FALSE(edited.ok());
    EXPECT_EQ(edited.error(), refusal.error());
    EXPECT_EQ(edited.path(), "");
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(log.back(), "helmet 176"); // the whole record was read first
    EXPECT_EQ(profile.name(), "Boris");
    EXPECT_EQ(readFile(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
    EXPECT_FALSE(std::filesystem::exists(platform::journalPath(path)));
    EXPECT_TRUE(ui.boxes().empty()); // the caller reports it, once

    // A value the record cannot hold, found after the edit, is refused too.
    const auto tooLong = editProfile(ui.files(), path, profile, windows, [&] {
        profile.setCallsign("Nighthawk");
        return platform::Status::success();
    });
    EXPECT_EQ(shown(tooLong.status()), "The callsign has 9 characters; the profile can store 8.\r\n"
                                       "Nothing was written.");
    EXPECT_EQ(readFile(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
}

// The bytes of a text file of a profile's length are refused inside the
// patch, after the file was opened: Read/Reset and Save Custom each give the
// refusal once, for one box, and neither writes anything.
TEST_F(ProfileFile, ATextFileOfAProfilesLengthIsRefusedOnceAndNothingIsWritten)
{
    const std::string text(600, 'x');
    writeFile(path, text);
    const std::string refusal = "Cannot use file \"" + path + "\". It is a text file, not a custom mercenary profile.";
    const platform::Status read = readCustom(ui, path, profile, windows);
    EXPECT_EQ(shown(read), refusal);
    EXPECT_EQ(read.path(), path);
    EXPECT_EQ(read.reason(), "It is a text file, not a custom mercenary profile.");
    EXPECT_TRUE(log.empty());
    const platform::Status saved = saveProfile(ui, path, profile);
    EXPECT_EQ(shown(saved), refusal);
    EXPECT_EQ(saved.path(), path);
    EXPECT_TRUE(ui.boxes().empty()); // neither shows it itself
    EXPECT_EQ(readFile(path), text);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
    EXPECT_FALSE(std::filesystem::exists(platform::journalPath(path)));
}

// A save killed after some of its bytes, or with every byte written and its
// journal still there, leaves a torn record. Read (Reset reads the same way)
// rolls the file back before it reads, says so in a box, and shows the
// record as it was; the next Save Custom starts from there, so it writes the
// old values with the user's edits and none of the torn bytes.
TEST_F(ProfileFile, AReadAfterAKilledSaveRollsBackAndTheNextSaveKeepsNoTornByte)
{
    const std::string journal = platform::journalPath(path);
    const std::string note = "An unfinished patch of " + path + " was rolled back.";
    // What Read, one edit and Save Custom make of the untouched record.
    const std::string copy = dir.file("copy.dat");
    writeFile(copy, before);
    expectDone(readProfile(ui.files(), copy, profile, windows));
    set(profile, Attribute::Strength, "61");
    ui.answer(Answer::Ok);
    expectDone(saveProfile(ui, copy, profile));
    const std::string expected = readFile(copy);
    // The killed save's record: other names, other health.
    Profile other;
    other.setName("Boris");
    other.setCallsign("Crow");
    set(other, Attribute::Health, "99");

    for (const int written : {1, 6, 20, -1}) { // -1: every byte, killed before the journal goes
        SCOPED_TRACE(written);
        writeFile(path, before);
        testsupport::FaultyFileSystem faulty;
        if (written < 0)
            faulty.killOnRemove.insert(journal);
        else
            faulty.killAfter[path] = std::uint64_t(written);
        EXPECT_THROW((void)writeProfile(faulty, path, other), testsupport::Killed);
        ASSERT_TRUE(std::filesystem::exists(journal));
        ASSERT_NE(readFile(path), before);

        Profile reread;
        std::vector<std::string> rereadLog;
        Windows rereadWindows{reread, rereadLog};
        ui.clearRecord();
        ui.answer(Answer::Ok);
        expectDone(readCustom(ui, path, reread, rereadWindows));
        EXPECT_EQ(ui.boxes(), (std::vector<Box>{{note, "Kestrin 1.03", Buttons::Ok}})); // a box titled ""
        EXPECT_TRUE(readFile(path) == before);
        EXPECT_FALSE(std::filesystem::exists(journal));
        EXPECT_EQ(reread.name(), "Ivan");
        EXPECT_EQ(reread.callsign(), "Hawk");
        EXPECT_EQ(reread.attributeText(Attribute::Health), "80");

        set(reread, Attribute::Strength, "61");
        ui.clearRecord();
        ui.answer(Answer::Ok);
        expectDone(saveProfile(ui, path, reread));
        EXPECT_EQ(ui.boxes(), std::vector<Box>{kWellDone}); // nothing left to roll back
        EXPECT_TRUE(readFile(path) == expected);
        EXPECT_FALSE(std::filesystem::exists(journal));
    }
}

// Save Custom after another program (imp-apply, or a second window) patched
// the record since Read/Reset: value by value against the record as the
// editor read or last saved it.
class ProfileMerge : public ProfileFile {
protected:
    using Change = std::function<void(Profile&)>;

    /// Another program's patch: the record as it is now, changed.
    void patchElsewhere(const std::string& file, const Change& change)
    {
        Profile other;
        std::vector<std::string> otherLog;
        Windows otherWindows{other, otherLog};
        const auto edited = editProfile(ui.files(), file, other, otherWindows, [&] {
            change(other);
            return platform::Status::success();
        });
        expectDone(edited.status());
    }

    /// The file that one program's change and then the other's, each made
    /// to the record as the one before left it, give.
    std::string inTurn(const Change& first, const Change& then)
    {
        const std::string copy = dir.file("copy.dat");
        writeFile(copy, before);
        patchElsewhere(copy, first);
        patchElsewhere(copy, then);
        return readFile(copy);
    }

    void saveCustom(std::initializer_list<Answer> answers)
    {
        for (Answer a : answers)
            ui.answer(a);
        expectDone(saveProfile(ui, path, profile, &base, &windows));
        EXPECT_EQ(ui.pendingAnswers(), 0u);
    }

    std::vector<Box> boxes() { return ui.takeBoxes(); }

    Box kept(const std::string& changes, const char* was = "was") const
    {
        return {changes + " that another program made to " + path + " since it was opened here " + was +
                    " kept; the window now shows the file as it is.",
                "Kestrin 1.03", Buttons::Ok};
    }

    RecordBase base;
};

TEST_F(ProfileMerge, SaveKeepsAnotherProgramsChangeToAnotherValue)
{
    const Change ours = [](Profile& p) { set(p, Attribute::Strength, "61"); };
    const Change theirs = [](Profile& p) { p.setCallsign("Crow"); };
    expectDone(readCustom(ui, path, profile, windows, &base));
    ours(profile);
    patchElsewhere(path, theirs);

    saveCustom({Answer::Ok, Answer::Ok});
    EXPECT_EQ(boxes(), (std::vector<Box>{kept("1 change"), kWellDone}));
    EXPECT_EQ(readFile(path), inTurn(theirs, ours));
    EXPECT_EQ(profile.callsign(), "Crow");
    EXPECT_EQ(profile.attributeText(Attribute::Strength), "61");

    // Nothing new elsewhere since: no note.
    profile.setName("Olga");
    saveCustom({Answer::Ok});
    EXPECT_EQ(boxes(), std::vector<Box>{kWellDone});
}

// Bytes a save derives from a value (Health's copy, the later ammunition
// slots) are no one's change: a stale copy in the record never makes the
// window's untouched Health a conflict with another program's.
TEST_F(ProfileMerge, ACopyTheSaveDerivesIsNoChangeOfTheWindows)
{
    before[342] = static_cast<char>(before[305] + 3); // a copy the game left stale
    before[447] = static_cast<char>(before[446] + 1);
    writeFile(path, before);
    const Change ours = [](Profile& p) { set(p, Attribute::Strength, "61"); };
    const Change theirs = [](Profile& p) { set(p, Attribute::Health, "99"); };
    expectDone(readCustom(ui, path, profile, windows, &base));
    ours(profile);
    patchElsewhere(path, theirs);

    saveCustom({Answer::Ok, Answer::Ok}); // no question
    EXPECT_EQ(boxes(), (std::vector<Box>{kept("1 change"), kWellDone}));
    EXPECT_EQ(readFile(path), inTurn(theirs, ours));
    EXPECT_EQ(profile.attributeText(Attribute::Health), "99");
}

TEST_F(ProfileMerge, AConflictIsAskedOnceNoWritesNothingYesKeepsTheOtherChanges)
{
    const Change ours = [](Profile& p) {
        p.setName("Olga");
        set(p, Attribute::Wisdom, "70");
        p.selectAttitude(3); // the same change on both sides: no question
    };
    const Change theirs = [](Profile& p) {
        p.setName("Boris");
        set(p, Attribute::Wisdom, "71");
        p.selectAttitude(3);
        p.setCallsign("Crow"); // kept
    };
    expectDone(readCustom(ui, path, profile, windows, &base));
    ours(profile);
    patchElsewhere(path, theirs);
    const std::string theirsBytes = readFile(path);
    boxes();

    saveCustom({Answer::No}); // no failure: the user's choice
    auto shown = boxes();
    ASSERT_EQ(shown.size(), 1u);
    expectConflictBox(shown[0], path, "the name, Wisdom", platform::LineBreak::CrLf);
    EXPECT_EQ(readFile(path), theirsBytes);
    EXPECT_EQ(profile.name(), "Olga");
    EXPECT_EQ(profile.callsign(), "Hawk");

    saveCustom({Answer::Yes, Answer::Ok, Answer::Ok});
    shown = boxes();
    ASSERT_EQ(shown.size(), 3u);
    expectConflictBox(shown[0], path, "the name, Wisdom", platform::LineBreak::CrLf);
    EXPECT_EQ(shown[1], kept("1 change"));
    EXPECT_EQ(shown[2], kWellDone);
    EXPECT_EQ(readFile(path), inTurn(theirs, ours));
    EXPECT_EQ(profile.name(), "Olga");
    EXPECT_EQ(profile.attributeText(Attribute::Wisdom), "70");
    EXPECT_EQ(profile.callsign(), "Crow");
}

// Save Custom before any Read/Reset writes the editor's values over the
// record as it stands; what it saved is then the base of the next save.
TEST_F(ProfileMerge, SaveCustomBeforeAnyReadWritesTheEditorsValuesThenMergesFromThere)
{
    profile.setName("Olga");
    profile.setCallsign("Lynx");
    patchElsewhere(path, [](Profile& p) { set(p, Attribute::Wisdom, "12"); });
    const std::string copy = dir.file("copy.dat");
    writeFile(copy, readFile(path));
    expectDone(writeProfile(ui.files(), copy, profile).status());

    saveCustom({Answer::Ok});
    EXPECT_EQ(boxes(), std::vector<Box>{kWellDone});
    EXPECT_EQ(readFile(path), readFile(copy));

    // The other program's read puts its weapon's ammunition in as well: two
    // values kept.
    patchElsewhere(path, [](Profile& p) { p.setCallsign("Crow"); });
    set(profile, Attribute::Strength, "61");
    saveCustom({Answer::Ok, Answer::Ok});
    EXPECT_EQ(boxes(), (std::vector<Box>{kept("2 changes", "were"), kWellDone}));
    EXPECT_EQ(profile.callsign(), "Crow");
    patchElsewhere(copy, [](Profile& p) {
        p.setCallsign("Crow");
        set(p, Attribute::Strength, "61");
    });
    EXPECT_EQ(readFile(path), readFile(copy));
}

TEST_F(ProfileMerge, TwoEditorsOnOneFileKeepEachOthersChanges)
{
    const Change first = [](Profile& p) { set(p, Attribute::Strength, "61"); };
    const Change second = [](Profile& p) { p.setCallsign("Crow"); };
    Profile other;
    std::vector<std::string> otherLog;
    Windows otherWindows{other, otherLog};
    RecordBase otherBase;
    expectDone(readCustom(ui, path, profile, windows, &base));
    expectDone(readCustom(ui, path, other, otherWindows, &otherBase));
    first(profile);
    second(other);

    saveCustom({Answer::Ok});
    EXPECT_EQ(boxes(), std::vector<Box>{kWellDone});
    ui.answer(Answer::Ok);
    ui.answer(Answer::Ok);
    expectDone(saveProfile(ui, path, other, &otherBase, &otherWindows));
    EXPECT_EQ(boxes(), (std::vector<Box>{kept("1 change"), kWellDone}));
    EXPECT_EQ(readFile(path), inTurn(first, second));
    EXPECT_EQ(other.attributeText(Attribute::Strength), "61");
}

// The model's change rule keeps a text it cannot read, says so after the
// field shows it, and the steppers neither step such a text nor overflow.
TEST(ProfileModel, TheChangeRuleAndTheSteppersGiveTheirFailuresBack)
{
    Profile profile;
    std::vector<Field> changed;
    QObject::connect(&profile, &Profile::changed, [&changed](Field f) { changed.push_back(f); });

    const platform::Status health = profile.setAttributeText(Attribute::Health, "abc");
    EXPECT_EQ(shown(health), "'abc' is not a valid integer value");
    EXPECT_EQ(profile.attributeText(Attribute::Health), "abc");
    EXPECT_EQ(changed, std::vector<Field>{fieldOf(Attribute::Health)}); // emitted before the failure
    EXPECT_EQ(shown(profile.attributeValue(Attribute::Health).status()), "'abc' is not a valid integer value");

    changed.clear();
    EXPECT_EQ(shown(profile.step(Attribute::Health, +1)), "'abc' is not a valid integer value");
    EXPECT_EQ(profile.attributeText(Attribute::Health), "abc");
    EXPECT_TRUE(changed.empty());

    set(profile, Attribute::Health, "7");
    EXPECT_EQ(profile.attributeText(Attribute::Health), "15");
    set(profile, Attribute::Experience, "-3");
    EXPECT_EQ(profile.attributeText(Attribute::Experience), "1");

    // The largest and smallest numbers a preset can give step to the range.
    set(profile, Attribute::Strength, std::to_string(INT_MAX));
    expectDone(profile.step(Attribute::Strength, +1));
    EXPECT_EQ(profile.attributeText(Attribute::Strength), "100");
    set(profile, Attribute::Strength, std::to_string(INT_MIN));
    expectDone(profile.step(Attribute::Strength, -1));
    EXPECT_EQ(profile.attributeText(Attribute::Strength), "0");

    EXPECT_EQ(shown(toInteger("+-1").status()), "'+-1' is not a valid integer value");
    EXPECT_EQ(toInteger("+42").value(), 42);
}

} // namespace
} // namespace kestrin
