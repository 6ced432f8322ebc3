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

platform::Status refuseValue(const std::string& field, int value)
{
    return platform::Status::failure(field + " is " + std::to_string(value) + "; the profile can store 0 to 255.")
        .nothingWritten();
}

/// Every number the save writes, converted and checked before the file is
/// opened, so that a bad field leaves the file as it was.
struct SaveValues {
    std::array<std::uint8_t, kAttributeCount> attributes{};
    std::array<std::uint8_t, kHiddenCount> hidden{};
};

/// The values, or the refusal of the first that the record cannot hold.
platform::Result<SaveValues> convert(const Profile& profile)
{
    SaveValues values;
    for (const AttributeInfo& a : kAttributes) {
        const auto number = profile.attributeValue(a.attribute);
        if (!number)
            return number.status(); // a text that is no number
        const int value = *number;
        if (value < 0 || value > 255)
            return refuseValue(kAttributeNames[int(a.attribute)], value);
        values.attributes[int(a.attribute)] = static_cast<std::uint8_t>(value);
    }
    for (int h = 0; h < kHiddenCount; ++h) {
        const int value = profile.hidden(Hidden(h));
        if (Hidden(h) == Hidden::Speech && !isVoiceCode(value))
            continue; // not written: the file keeps its voice
        if (value < 0 || value > 255)
            return refuseValue(kHiddenNames[h], value);
        values.hidden[h] = static_cast<std::uint8_t>(value);
    }
    if (profile.name().size() > std::size_t(kNameCells))
        return platform::Status::failure("The name has " + std::to_string(profile.name().size()) +
                                         " characters; the profile can store " + std::to_string(kNameCells) + ".")
            .nothingWritten();
    if (profile.callsign().size() > std::size_t(kCallsignCells))
        return platform::Status::failure("The callsign has " + std::to_string(profile.callsign().size()) +
                                         " characters; the profile can store " + std::to_string(kCallsignCells) +
                                         ".")
            .nothingWritten();
    return values;
}

const platform::Message kWellDone = {
    "Well done.",
    "Now you go to IMP and put in your keyword, but instead of QRV318 you type in 47351.",
    "Your money should have been reduced by 3000 bucks.",
    "And your mercenary-count should say 1 instead of 0.",
    "",
    "Now start the game and enjoy your own custom merc. :)",
    "",
    "",
    "Have fun, the Kestrin team",
};

/// Writes the record's fields into the record's bytes, byte by byte; an
/// empty name or callsign is left as the file has it, with a note.
platform::Status writeRecord(TEncapsulatedFile& file, const Profile& profile, const SaveValues& values,
                             std::vector<std::string>& notes);

/// Walks the record's bytes into the editor, in the record's order.
platform::Status readRecord(TEncapsulatedFile& file, Profile& profile, WindowChoices& windows);

/// A failure of the game-file path as Kestrin words it: an opening that
/// failed is "Cannot open file "PATH". Reason"; any other failure keeps its
/// own message, which names the file or the journal.
platform::Status fileError(const platform::Status& failure, const std::string& path)
{
    const std::string opening = "Could not open " + path + ": ";
    if (failure.error().rfind(opening, 0) != 0 || !failure.hasReason())
        return failure;
    std::string reason = failure.reason();
    reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
    return platform::Status::failure("Cannot open file \"" + path + "\". " + reason, reason, path);
}

/// Patches the record through the game-file path: `change` edits a copy of
/// the record's bytes as the file holds them (a failure it returns stops the
/// patch, writing nothing, and is given back as it is), and the bytes it
/// changed are written. Returns the record as saved, or the failure.
platform::Result<std::vector<std::uint8_t>> patchRecord(
    platform::FileSystem& files, const std::string& path,
    const std::function<platform::Status(std::vector<std::uint8_t>& record)>& change)
{
    std::optional<platform::Status> refused;
    std::vector<std::uint8_t> saved;
    auto patched = platform::patchGameFile(
        files, path, profileRecord(path),
        [&](const platform::GameFileBytes& current) -> platform::Result<std::vector<std::uint8_t>> {
            std::vector<std::uint8_t> bytes = current.bytes;
            platform::Status changed = checkProfileRecord(bytes, path);
            if (changed)
                changed = change(bytes);
            if (!changed) {
                refused = changed;
                return changed;
            }
            saved = bytes;
            return bytes;
        });
    if (refused)
        return *refused;
    if (!patched)
        return fileError(patched, path);
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
/// is merged with the record as the file holds it now. A No to the question
/// is no failure: it gives `cancelled`, with nothing written.
platform::Result<RecordMerge> mergeProfile(platform::Platform& platform, const std::string& path,
                                           const Profile& profile, const std::vector<std::uint8_t>& base,
                                           std::vector<std::string>& notes)
{
    const auto values = convert(profile);
    if (!values)
        return values.status();
    std::vector<std::uint8_t> ours = base;
    TEncapsulatedFile oursFile(ours, path);
    if (auto written = writeRecord(oursFile, profile, *values, notes); !written)
        return written;
    const std::vector<RecordField> fields = recordFields();
    RecordMerge done;
    auto saved = patchRecord(platform.files(), path, [&](std::vector<std::uint8_t>& record) -> platform::Status {
        // A record no other program changed is saved as without a base.
        if (record == base) {
            record = ours;
            return platform::Status::success();
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
                // The patch is refused, so that not even the backup is made.
                done.cancelled = true;
                return platform::Status::failure("The save was cancelled.");
            }
            for (std::size_t i : merge.conflicts)
                copyField(fields[i], ours, record);
        }
        done.theirsKept = merge.theirsKept;
        return platform::Status::success();
    });
    if (done.cancelled)
        return done;
    if (!saved)
        return saved.status();
    done.saved = std::move(*saved);
    return done;
}

void showNotes(platform::Platform& platform)
{
    for (const std::string& note : platform.files().takeNotes())
        platform.message(note, "", platform::Buttons::Ok);
}

} // namespace

namespace {

/// The record's bytes as readGameFile gives them, or the failure.
platform::Result<std::vector<std::uint8_t>> readRecordBytes(platform::FileSystem& files, const std::string& path,
                                                            platform::Reading reading)
{
    auto read = platform::readGameFile(files, path, profileRecord(path), reading);
    if (!read)
        return fileError(read.status(), path);
    if (auto checked = checkProfileRecord(read->bytes, path); !checked)
        return checked;
    return std::move(read->bytes);
}

} // namespace

platform::Status readProfile(platform::FileSystem& files, const std::string& path, Profile& profile,
                             WindowChoices& windows, platform::Reading reading)
{
    auto bytes = readRecordBytes(files, path, reading);
    if (!bytes)
        return bytes.status();
    TEncapsulatedFile file(*bytes, path);
    return readRecord(file, profile, windows);
}

platform::Status readCustom(platform::Platform& platform, const std::string& path, Profile& profile,
                            WindowChoices& windows, RecordBase* base)
{
    auto bytes = readRecordBytes(platform.files(), path, platform::Reading::ToEdit);
    // A rollback is said before the read's failure.
    showNotes(platform);
    if (!bytes)
        return bytes.status();
    std::vector<std::uint8_t> walked = *bytes;
    TEncapsulatedFile file(walked, path);
    if (auto read = readRecord(file, profile, windows); !read)
        return read;
    if (base)
        *base = {path, std::move(*bytes)};
    return platform::Status::success();
}

namespace {

/// writeProfile, giving the record as saved too.
platform::Result<std::vector<std::string>> writeProfileGiving(platform::FileSystem& files, const std::string& path,
                                                              const Profile& profile,
                                                              std::vector<std::uint8_t>* saved)
{
    // Every value is checked before the file is opened.
    const auto values = convert(profile);
    if (!values)
        return values.status();
    std::vector<std::string> notes;
    auto record = patchRecord(files, path, [&](std::vector<std::uint8_t>& bytes) {
        TEncapsulatedFile file(bytes, path);
        return writeRecord(file, profile, *values, notes);
    });
    if (!record)
        return record.status();
    if (saved)
        *saved = std::move(*record);
    return notes;
}

} // namespace

platform::Result<std::vector<std::string>> writeProfile(platform::FileSystem& files, const std::string& path,
                                                        const Profile& profile)
{
    return writeProfileGiving(files, path, profile, nullptr);
}

platform::Result<std::vector<std::string>> editProfile(platform::FileSystem& files, const std::string& path,
                                                       Profile& profile, WindowChoices& windows,
                                                       const std::function<platform::Status()>& edit)
{
    std::vector<std::string> notes;
    auto saved = patchRecord(files, path, [&](std::vector<std::uint8_t>& bytes) -> platform::Status {
        TEncapsulatedFile record(bytes, path);
        if (auto read = readRecord(record, profile, windows); !read)
            return read;
        if (auto edited = edit(); !edited)
            return edited;
        const auto values = convert(profile);
        if (!values)
            return values.status();
        return writeRecord(record, profile, *values, notes);
    });
    if (!saved)
        return saved.status();
    return notes;
}

platform::Status saveProfile(platform::Platform& platform, const std::string& path, Profile& profile,
                             RecordBase* base, WindowChoices* windows)
{
    const bool merging = base && windows && !base->record.empty() &&
                         (base->path == path || platform::sameFile(base->path, path));
    std::vector<std::string> notes;
    platform::Result<RecordMerge> merged = RecordMerge{};
    if (merging) {
        merged = mergeProfile(platform, path, profile, base->record, notes);
    } else {
        std::vector<std::uint8_t> saved;
        auto written = writeProfileGiving(platform.files(), path, profile, &saved);
        if (written) {
            notes = std::move(*written);
            merged = RecordMerge{std::move(saved)};
        } else {
            merged = written.status();
        }
    }
    // A rolled-back save is said before this one's failure.
    showNotes(platform);
    if (!merged)
        return merged.status();
    if (merged->cancelled)
        return platform::Status::success(); // the user said No: nothing was written, the editor stays as it was
    if (base)
        *base = {path, merged->saved};
    if (merged->theirsKept > 0) {
        // The editor shows the record as saved, with the other program's values.
        std::vector<std::uint8_t> walked = merged->saved;
        TEncapsulatedFile file(walked, path);
        if (auto read = readRecord(file, profile, *windows); !read)
            return read;
        platform.message(platform::keptNote(path, merged->theirsKept), "", platform::Buttons::Ok);
    }
    for (const std::string& note : notes)
        platform.message(note, "", platform::Buttons::Ok);
    platform.message(kWellDone, "Well done.", platform::Buttons::Ok);
    return platform::Status::success();
}

namespace {

/// readRecord's walk; a byte outside the record raises RecordAccessError.
platform::Status walkRecord(TEncapsulatedFile& file, Profile& profile, WindowChoices& windows)
{
    auto byteAt = [&file](int offset) -> int {
        file.SetAccessOffset(offset);
        return file.ReadByte();
    };
    // A byte's number is always one the change rules read.
    auto readAttribute = [&](Attribute a) {
        return profile.setAttributeText(a, std::to_string(byteAt(kAttributeOffsets[int(a)])));
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
        if (auto read = readAttribute(a); !read)
            return read;
    profile.selectPersonality(byteAt(kPersonality)); // 0..7 only
    profile.selectTraitCode(1, byteAt(kTrait1));     // a code without an entry changes nothing
    if (auto read = readAttribute(Attribute::Explosives); !read)
        return read;
    profile.selectTraitCode(2, byteAt(kTrait2));
    for (Attribute a : {Attribute::Leadership, Attribute::Experience, Attribute::Marksmanship, Attribute::Wisdom,
                        Attribute::Agility, Attribute::Mechanic})
        if (auto read = readAttribute(a); !read)
            return read;
    windows.selectVest(byteAt(kInventoryOffsets[int(Hidden::Vest)]));
    windows.setCeramicChecked(byteAt(kInventoryOffsets[int(Hidden::Ceramic)]) != 0);
    windows.selectWeapon(byteAt(kInventoryOffsets[int(Hidden::Weapon)])); // sets the ammunition too
    windows.selectModification1(byteAt(kInventoryOffsets[int(Hidden::Modification1)]));
    windows.selectModification2(byteAt(kInventoryOffsets[int(Hidden::Modification2)]));
    windows.selectHelmet(byteAt(kInventoryOffsets[int(Hidden::Helmet)]));
    profile.selectAttitude(byteAt(kAttitude)); // 0..9; 9 has no list entry
    return platform::Status::success();
}

/// writeRecord's walk; a byte outside the record raises RecordAccessError.
void fillRecord(TEncapsulatedFile& file, const Profile& profile, const SaveValues& values,
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

// The walks above are where the passes reach the byte layer: a byte access
// outside the record, which the layer raises, ends the walk and is given
// back as its failure.

platform::Status readRecord(TEncapsulatedFile& file, Profile& profile, WindowChoices& windows)
{
    try {
        return walkRecord(file, profile, windows);
    } catch (const RecordAccessError& outside) {
        return outside.status();
    }
}

platform::Status writeRecord(TEncapsulatedFile& file, const Profile& profile, const SaveValues& values,
                             std::vector<std::string>& notes)
{
    try {
        fillRecord(file, profile, values, notes);
        return platform::Status::success();
    } catch (const RecordAccessError& outside) {
        return outside.status();
    }
}

} // namespace

} // namespace kestrin
