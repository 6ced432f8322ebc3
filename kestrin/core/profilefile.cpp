#include "kestrin/core/profilefile.h"

// standard
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string_view>

// ours
#include "kestrin/core/encapsulatedfile.h"
#include "kestrin/core/profilerecord.h"
#include "platform/console.h"
#include "platform/fieldmerge.h"

namespace kestrin {

namespace {

using namespace record;

/// The attributes' names in messages (index = Attribute).
constexpr std::array<const char*, kAttributeCount> kAttributeNames = {
    "Health", "Dexterity", "Agility", "Strength", "Wisdom", "Leadership",
    "Marksmanship", "Explosives", "Medical", "Mechanic", "Experience level",
};

/// The hidden fields' names in messages (index = Hidden).
constexpr std::array<const char*, kHiddenCount> kHiddenNames = {
    "The voice", "The portrait", "The helmet", "The vest", "The ceramic plates",
    "The weapon", "The ammunition", "Attachment 1", "Attachment 2",
};

bool isVoiceCode(int code)
{
    return code >= kVoices.front().code && code <= kVoices.back().code;
}

[[noreturn]] void refuseValue(const std::string& field, int value)
{
    throw Error(field + " is " + std::to_string(value) + "; the profile can store 0 to 255.\r\nNothing was written.");
}

/// Every number the save writes, converted and checked before the file is
/// opened, so that a bad field leaves the file as it was.
struct SaveValues {
    std::array<std::uint8_t, kAttributeCount> attributes{};
    std::array<std::uint8_t, kHiddenCount> hidden{};
};

SaveValues convert(const Profile& profile)
{
    SaveValues values;
    for (const AttributeInfo& a : kAttributes) {
        const int value = profile.attributeValue(a.attribute); // throws for a text that is no number
        if (value < 0 || value > 255)
            refuseValue(kAttributeNames[int(a.attribute)], value);
        values.attributes[int(a.attribute)] = static_cast<std::uint8_t>(value);
    }
    for (int h = 0; h < kHiddenCount; ++h) {
        const int value = profile.hidden(Hidden(h));
        if (Hidden(h) == Hidden::Speech && !isVoiceCode(value))
            continue; // not written: the file keeps its voice
        if (value < 0 || value > 255)
            refuseValue(kHiddenNames[h], value);
        values.hidden[h] = static_cast<std::uint8_t>(value);
    }
    if (profile.name().size() > std::size_t(kNameCells))
        throw Error("The name has " + std::to_string(profile.name().size()) + " characters; the profile can store "
                    + std::to_string(kNameCells) + ".\r\nNothing was written.");
    if (profile.callsign().size() > std::size_t(kCallsignCells))
        throw Error("The callsign has " + std::to_string(profile.callsign().size())
                    + " characters; the profile can store " + std::to_string(kCallsignCells)
                    + ".\r\nNothing was written.");
    return values;
}

const char* const kWellDone = "Well done.\r\n"
                              "Now you go to IMP and put in your keyword, but instead of QRV318 you type in 47351.\r\n"
                              "Your money should have been reduced by 3000 bucks.\r\n"
                              "And your mercenary-count should say 1 instead of 0.\r\n"
                              "\r\n"
                              "Now start the game and enjoy your own custom merc. :)\r\n"
                              "\r\n"
                              "\r\n"
                              "Have fun, the Kestrin team";

/// Writes the record's fields into the record's bytes, byte by byte; an
/// empty name or callsign is left as the file has it, with a note.
void writeRecord(TEncapsulatedFile& file, const Profile& profile, const SaveValues& values,
                 std::vector<std::string>& notes);

/// Walks the record's bytes into the editor, in the record's order.
void readRecord(TEncapsulatedFile& file, Profile& profile, WindowChoices& windows);

/// A failure of the game-file path as Kestrin words it: an opening that
/// failed is "Cannot open file "PATH". Reason"; any other failure keeps its
/// own message, which names the file or the journal, with its lines ended
/// as Kestrin's own messages end them (CR LF).
Error fileError(const platform::Status& failure, const std::string& path)
{
    const std::string opening = "Could not open " + path + ": ";
    if (failure.error().rfind(opening, 0) != 0 || !failure.hasReason()) {
        return Error(failure.message().joined(platform::LineBreak::CrLf), failure.path(),
                     failure.hasReason() ? failure.reason() : std::string());
    }
    std::string reason = failure.reason();
    reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
    return Error("Cannot open file \"" + path + "\". " + reason, path, reason);
}

/// Patches the record through the game-file path: `change` edits a copy of
/// the record's bytes as the file holds them (an Error it throws stops the
/// patch, writing nothing), and the bytes it changed are written. Returns
/// the record as saved.
std::vector<std::uint8_t> patchRecord(platform::FileSystem& files, const std::string& path,
                                      const std::function<void(std::vector<std::uint8_t>& record)>& change)
{
    std::optional<Error> refused;
    std::vector<std::uint8_t> saved;
    auto patched = platform::patchGameFile(
        files, path, profileRecord(path),
        [&](const platform::GameFileBytes& current) -> platform::Result<std::vector<std::uint8_t>> {
            std::vector<std::uint8_t> bytes = current.bytes;
            try {
                checkProfileRecord(bytes, path);
                change(bytes);
            } catch (const Error& e) {
                refused = e;
                return platform::Status::failure(e.what(), {}, e.path());
            }
            saved = bytes;
            return bytes;
        });
    if (refused)
        throw *refused;
    if (!patched)
        throw fileError(patched, path);
    return saved;
}

/// One value of the record as a save's merge sees it: its name in the
/// question, the bytes that tell its value, and every byte a save writes
/// for it. A copy a save derives from a value (Health's second byte, the
/// ammunition of the two later slots) goes with it but tells nothing: a
/// stale copy in the file is no change of anyone's.
struct RecordField {
    std::string name;
    std::vector<std::pair<int, int>> value;   // offset, length
    std::vector<std::pair<int, int>> written; // offset, length; the value's bytes among them
};

/// Every value the record holds.
std::vector<RecordField> recordFields()
{
    auto one = [](const std::string& name, int offset, int length = 1) {
        return RecordField{name, {{offset, length}}, {{offset, length}}};
    };
    std::vector<RecordField> fields = {
        one("the voice", kVoice),
        one("the portrait", kPortrait),
        one("the name", kName, 2 * kNameCells),
        one("the callsign", kCallsign, 2 * kCallsignCells),
        one("the body type", kBodyType),
        one("the personality", kPersonality),
        one("trait 1", kTrait1),
        one("trait 2", kTrait2),
        one("the attitude", kAttitude),
    };
    constexpr std::array<const char*, kPaletteCount> kColours = {"the trousers' colour", "the shirt's colour",
                                                                 "the skin colour", "the hair colour"};
    for (const PaletteField& field : kPaletteFields)
        fields.push_back(one(kColours[int(field.palette)], field.offset, field.limit + 3)); // the name and 3 zeros
    for (const AttributeInfo& a : kAttributes) {
        RecordField field = one(kAttributeNames[int(a.attribute)], kAttributeOffsets[int(a.attribute)]);
        if (a.attribute == Attribute::Health)
            field.written.push_back({kHealthCopy, 1});
        fields.push_back(field);
    }
    for (Hidden h : {Hidden::Helmet, Hidden::Vest, Hidden::Ceramic, Hidden::Modification1, Hidden::Modification2})
        fields.push_back(one(kHiddenNames[int(h)], kInventoryOffsets[int(h)]));
    // The weapon and its ammunition are one slot of the kit: a weapon never
    // goes with another weapon's ammunition.
    const int weapon = kInventoryOffsets[int(Hidden::Weapon)];
    fields.push_back({"The weapon", {{weapon, 1}, {kAmmo.front(), 1}}, {{weapon, 1}, {kAmmo.front(), int(kAmmo.size())}}});
    return fields;
}

bool sameField(const RecordField& field, const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    for (const auto& [offset, length] : field.value)
        if (!std::equal(a.begin() + offset, a.begin() + offset + length, b.begin() + offset))
            return false;
    return true;
}

void copyField(const RecordField& field, const std::vector<std::uint8_t>& from, std::vector<std::uint8_t>& to)
{
    for (const auto& [offset, length] : field.written)
        std::copy(from.begin() + offset, from.begin() + offset + length, to.begin() + offset);
}

/// What a merging save did.
struct RecordMerge {
    std::vector<std::uint8_t> saved;
    std::size_t theirsKept = 0;
    bool cancelled = false;
};

/// Save Custom over the record the editor last read or saved (`base`):
/// the editor's values are written over the base to make "ours", and that
/// is merged with the record as the file holds it now.
RecordMerge mergeProfile(platform::Platform& platform, const std::string& path, const Profile& profile,
                         const std::vector<std::uint8_t>& base, std::vector<std::string>& notes)
{
    const SaveValues values = convert(profile);
    std::vector<std::uint8_t> ours = base;
    TEncapsulatedFile oursFile(ours, path);
    writeRecord(oursFile, profile, values, notes);
    const std::vector<RecordField> fields = recordFields();
    RecordMerge done;
    try {
        done.saved = patchRecord(platform.files(), path, [&](std::vector<std::uint8_t>& record) {
            // A record no other program changed is saved as without a base.
            if (record == base) {
                record = ours;
                return;
            }
            const std::vector<std::uint8_t> theirs = record;
            const std::vector<std::uint8_t>* sides[] = {&base, &ours, &theirs};
            const platform::FieldMerge merge =
                platform::mergeFields(fields.size(), [&](std::size_t i, platform::Side a, platform::Side b) {
                    return sameField(fields[i], *sides[int(a)], *sides[int(b)]);
                });
            for (std::size_t i : merge.ours)
                copyField(fields[i], ours, record);
            if (!merge.conflicts.empty()) {
                std::vector<std::string> names;
                for (std::size_t i : merge.conflicts)
                    names.push_back(fields[i].name);
                if (!platform::askOverwrite(platform, path, names)) {
                    done.cancelled = true;
                    throw Error("The save was cancelled.");
                }
                for (std::size_t i : merge.conflicts)
                    copyField(fields[i], ours, record);
            }
            done.theirsKept = merge.theirsKept;
        });
    } catch (const Error&) {
        if (!done.cancelled)
            throw;
    }
    return done;
}

void showNotes(platform::Platform& platform)
{
    for (const std::string& note : platform.files().takeNotes())
        platform.message(note, "", platform::Buttons::Ok);
}

} // namespace

namespace {

/// The record's bytes as readGameFile gives them.
std::vector<std::uint8_t> readRecordBytes(platform::FileSystem& files, const std::string& path,
                                          platform::Reading reading)
{
    auto read = platform::readGameFile(files, path, profileRecord(path), reading);
    if (!read)
        throw fileError(read.status(), path);
    checkProfileRecord(read->bytes, path);
    return std::move(read->bytes);
}

} // namespace

void readProfile(platform::FileSystem& files, const std::string& path, Profile& profile, WindowChoices& windows,
                 platform::Reading reading)
{
    std::vector<std::uint8_t> bytes = readRecordBytes(files, path, reading);
    TEncapsulatedFile file(bytes, path);
    readRecord(file, profile, windows);
}

void readCustom(platform::Platform& platform, const std::string& path, Profile& profile, WindowChoices& windows,
                RecordBase* base)
{
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readRecordBytes(platform.files(), path, platform::Reading::ToEdit);
    } catch (const Error&) {
        showNotes(platform);
        throw;
    }
    showNotes(platform);
    std::vector<std::uint8_t> walked = bytes;
    TEncapsulatedFile file(walked, path);
    readRecord(file, profile, windows);
    if (base)
        *base = {path, std::move(bytes)};
}

namespace {

/// writeProfile, giving the record as saved too.
std::vector<std::string> writeProfileGiving(platform::FileSystem& files, const std::string& path,
                                            const Profile& profile, std::vector<std::uint8_t>* saved)
{
    // Every value is checked before the file is opened.
    const SaveValues values = convert(profile);
    std::vector<std::string> notes;
    auto record = patchRecord(files, path, [&](std::vector<std::uint8_t>& bytes) {
        TEncapsulatedFile file(bytes, path);
        writeRecord(file, profile, values, notes);
    });
    if (saved)
        *saved = std::move(record);
    return notes;
}

} // namespace

std::vector<std::string> writeProfile(platform::FileSystem& files, const std::string& path, const Profile& profile)
{
    return writeProfileGiving(files, path, profile, nullptr);
}

std::vector<std::string> editProfile(platform::FileSystem& files, const std::string& path, Profile& profile,
                                     WindowChoices& windows, const std::function<void()>& edit)
{
    std::vector<std::string> notes;
    patchRecord(files, path, [&](std::vector<std::uint8_t>& bytes) {
        TEncapsulatedFile record(bytes, path);
        readRecord(record, profile, windows);
        edit();
        writeRecord(record, profile, convert(profile), notes);
    });
    return notes;
}

void saveProfile(platform::Platform& platform, const std::string& path, Profile& profile, RecordBase* base,
                 WindowChoices* windows)
{
    const bool merging = base && windows && !base->record.empty() &&
                         (base->path == path || platform::sameFile(base->path, path));
    std::vector<std::string> notes;
    RecordMerge merged;
    try {
        if (merging)
            merged = mergeProfile(platform, path, profile, base->record, notes);
        else
            notes = writeProfileGiving(platform.files(), path, profile, &merged.saved);
    } catch (const Error&) {
        // A rolled-back save is said before this one's failure.
        showNotes(platform);
        throw;
    }
    showNotes(platform);
    if (merged.cancelled)
        return; // the user said No: nothing was written, the editor stays as it was
    if (base)
        *base = {path, merged.saved};
    if (merged.theirsKept > 0) {
        // The editor shows the record as saved, with the other program's values.
        std::vector<std::uint8_t> walked = merged.saved;
        TEncapsulatedFile file(walked, path);
        readRecord(file, profile, *windows);
        platform.message(platform::keptNote(path, merged.theirsKept), "", platform::Buttons::Ok);
    }
    for (const std::string& note : notes)
        platform.message(note, "", platform::Buttons::Ok);
    platform.message(kWellDone, "Well done.", platform::Buttons::Ok);
}

namespace {

void readRecord(TEncapsulatedFile& file, Profile& profile, WindowChoices& windows)
{
    auto byteAt = [&file](int offset) -> int {
        file.SetAccessOffset(offset);
        return file.ReadByte();
    };
    auto readAttribute = [&](Attribute a) {
        profile.setAttributeText(a, std::to_string(byteAt(kAttributeOffsets[int(a)])));
    };

    profile.checkVoice(byteAt(kVoice)); // 51..56 only
    if (const int face = byteAt(kPortrait); face <= 15)
        windows.showPortrait(face);
    profile.setName(ReadCellText(file, kName, kNameCells));
    profile.setCallsign(ReadCellText(file, kCallsign, kCallsignCells));
    // The colours in the order the Appearance window is filled: hair before skin.
    for (Palette p : {Palette::Pants, Palette::Vest, Palette::Hair, Palette::Skin}) {
        const PaletteField& field = kPaletteFields[int(p)];
        windows.selectColor(p, ReadNarrowText(file, field.offset, field.limit));
    }
    profile.checkBodyType(byteAt(kBodyType)); // 0, 1, 3 only
    for (Attribute a : {Attribute::Medical, Attribute::Strength, Attribute::Health, Attribute::Dexterity})
        readAttribute(a);
    profile.selectPersonality(byteAt(kPersonality)); // 0..7 only
    profile.selectTraitCode(1, byteAt(kTrait1));     // a code without an entry changes nothing
    readAttribute(Attribute::Explosives);
    profile.selectTraitCode(2, byteAt(kTrait2));
    for (Attribute a : {Attribute::Leadership, Attribute::Experience, Attribute::Marksmanship, Attribute::Wisdom,
                        Attribute::Agility, Attribute::Mechanic})
        readAttribute(a);
    windows.selectVest(byteAt(kInventoryOffsets[int(Hidden::Vest)]));
    windows.setCeramicChecked(byteAt(kInventoryOffsets[int(Hidden::Ceramic)]) != 0);
    windows.selectWeapon(byteAt(kInventoryOffsets[int(Hidden::Weapon)])); // sets the ammunition too
    windows.selectModification1(byteAt(kInventoryOffsets[int(Hidden::Modification1)]));
    windows.selectModification2(byteAt(kInventoryOffsets[int(Hidden::Modification2)]));
    windows.selectHelmet(byteAt(kInventoryOffsets[int(Hidden::Helmet)]));
    profile.selectAttitude(byteAt(kAttitude)); // 0..9; 9 has no list entry
}

void writeRecord(TEncapsulatedFile& file, const Profile& profile, const SaveValues& values,
                 std::vector<std::string>& notes)
{
    auto put = [&file](int offset, int value) {
        file.SetAccessOffset(offset);
        file.WriteByte(static_cast<std::uint8_t>(value));
    };
    auto putAttribute = [&](Attribute a) { put(kAttributeOffsets[int(a)], values.attributes[int(a)]); };
    auto putHidden = [&](Hidden h) { put(kInventoryOffsets[int(h)], values.hidden[int(h)]); };

    if (isVoiceCode(profile.hidden(Hidden::Speech)))
        put(kVoice, values.hidden[int(Hidden::Speech)]);
    put(kPortrait, values.hidden[int(Hidden::Portrait)]);

    if (profile.name().empty())
        notes.emplace_back("Sorry, please type your name in. (click on \"Name\" to do so.)");
    else
        WriteCellText(file, profile.name(), kName, kNameCells);
    if (profile.callsign().empty())
        notes.emplace_back("Sorry, please type your callsign in. (click on \"Name\" to do so.)");
    else
        WriteCellText(file, profile.callsign(), kCallsign, kCallsignCells);

    // A field that holds none of its palette names (the start placeholders)
    // leaves the file's name as it is.
    for (const PaletteField& field : kPaletteFields) {
        const std::string& name = profile.palette(field.palette);
        if (!isPaletteName(field.palette, name))
            continue;
        WriteNarrowText(file, name, field.offset);
        if (name.size() <= std::size_t(field.limit))
            WriteNarrowText(file, std::string_view("\0\0\0", 3), field.offset + std::int32_t(name.size()));
    }

    put(kBodyType, profile.bodyTypeCode());
    putAttribute(Attribute::Medical);
    putAttribute(Attribute::Strength);
    putAttribute(Attribute::Health);
    put(kHealthCopy, values.attributes[int(Attribute::Health)]);
    putAttribute(Attribute::Dexterity);
    put(kPersonality, profile.personalityCode());
    put(kTrait1, profile.trait1Code());
    putAttribute(Attribute::Explosives);
    put(kTrait2, profile.trait2Code());
    for (Attribute a : {Attribute::Leadership, Attribute::Experience, Attribute::Marksmanship, Attribute::Wisdom,
                        Attribute::Agility, Attribute::Mechanic})
        putAttribute(a);

    for (Hidden h : {Hidden::Vest, Hidden::Ceramic, Hidden::Weapon, Hidden::Modification1, Hidden::Modification2})
        putHidden(h);
    for (int offset : kAmmo)
        put(offset, values.hidden[int(Hidden::Ammo)]);
    putHidden(Hidden::Helmet);
    put(kAttitude, profile.attitudeCode());
}

} // namespace

} // namespace kestrin
