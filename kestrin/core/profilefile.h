#pragma once

// The read and save passes over IMP.dat.

// standard
#include <functional>
#include <cstdint>
#include <string>
#include <vector>

// ours
#include "kestrin/core/choices.h"
#include "kestrin/core/profile.h"
#include "platform/gamefilepatch.h"
#include "platform/platform.h"

namespace kestrin {

/// Reads the record into the editor, field by field in the record's order,
/// through the same operations a user's clicks run. Unrecognised values
/// leave their fields as they were. The record is read through the one
/// game-file path, which honours an unfinished patch as `reading` says
/// (platform/gamefilepatch.h) and adds a note to `files` when it did.
/// Returns the failure, naming the file ("Cannot open file ...", "Cannot use
/// file ...", or the game-file path's own message), when the file cannot be
/// opened or read, is shorter than the record, is another game file or is
/// no profile; then nothing has changed.
platform::Status readProfile(platform::FileSystem& files, const std::string& path, Profile& profile,
                             WindowChoices& windows, platform::Reading reading = platform::Reading::ReadOnly);
/// The record of IMP.dat as the editor last read or saved it: the base of a
/// save's merge with what another program changed since.
struct RecordBase {
    std::string path;
    std::vector<std::uint8_t> record;
};

/// readProfile for the window, which will save the file later: an
/// unfinished patch is rolled back in the file, and said in a box. The
/// record read becomes `base`, when given. A failure is returned as
/// readProfile's, after the box of a rollback; then the editor and `base`
/// are as they were.
platform::Status readCustom(platform::Platform& platform, const std::string& path, Profile& profile,
                            WindowChoices& windows, RecordBase* base = nullptr);

/// Writes the editor's values into the record. First every attribute is
/// converted: a text that is no number, or a number outside 0..255 (or a
/// name or callsign longer than its cells), is refused naming the text or
/// the field, before the file is opened. An empty
/// name or callsign leaves its cells alone and adds its "Sorry" message to
/// the notes returned; a palette field that holds none of its part's
/// palette names, and a voice that is no voice code, leave their bytes
/// alone. The record is patched through the one game-file patch path: held
/// exclusively, an unfinished patch rolled back first, the untouched file
/// kept in path.bak, the changed bytes written under a rollback journal.
/// Returns the notes, or the failure of any step of it, whose message says
/// what the file then holds.
platform::Result<std::vector<std::string>> writeProfile(platform::FileSystem& files, const std::string& path,
                                                        const Profile& profile);

/// Reads the record into the editor as readProfile does, lets `edit` change
/// it, and writes it as writeProfile does, all under one exclusive hold of
/// the file, so that what is written starts from the record as it is (an
/// unfinished patch rolled back). Returns writeProfile's notes, or the
/// failure of the read, the write or `edit`; a failure `edit` returns is
/// given back as it is, and then nothing is written.
platform::Result<std::vector<std::string>> editProfile(platform::FileSystem& files, const std::string& path,
                                                       Profile& profile, WindowChoices& windows,
                                                       const std::function<platform::Status()>& edit);

/// writeProfile, then its notes and the "Well done." message as boxes.
///
/// With a `base` of the same file (what the editor last read or saved), the
/// save keeps what another program changed in the record since: a value
/// (an attribute, the level, name, callsign, a trait, personality,
/// attitude, body type, voice, a colour, the portrait, a kit slot, the
/// ceramic plates) that only the other program changed keeps its value; one
/// changed only here gets the editor's; values changed on both sides to
/// different ones are asked about once, and a No writes nothing and leaves
/// the editor as it was. After a save that kept another program's changes,
/// the editor is read from the record saved (through `windows`) and one box
/// says how many were kept. The record saved becomes the new base.
///
/// Returns writeProfile's failure, after the box of a rolled-back patch and
/// before any other box: the caller shows it (showFailure). A No to the
/// question is no failure: nothing is written, and success is returned.
platform::Status saveProfile(platform::Platform& platform, const std::string& path, Profile& profile,
                             RecordBase* base = nullptr, WindowChoices* windows = nullptr);

} // namespace kestrin
