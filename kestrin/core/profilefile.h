#pragma once

// The read and save passes over IMP.dat.

// standard
#include <string>
#include <vector>

// ours
#include "kestrin/core/choices.h"
#include "kestrin/core/profile.h"
#include "platform/platform.h"

namespace kestrin {

/// Reads the record into the editor, field by field in the record's order,
/// through the same operations a user's clicks run. Unrecognised values
/// leave their fields as they were. Throws Error when the file cannot be
/// opened or is shorter than the record; then nothing has changed.
void readProfile(platform::FileSystem& files, const std::string& path, Profile& profile, WindowChoices& windows);

/// Writes the editor's values into the record. First every attribute is
/// converted: a text that is no number, or a number outside 0..255, throws
/// Error (naming the text or the field) before the file is opened. An empty
/// name or callsign leaves its cells alone and adds its "Sorry" message to
/// the notes returned; a palette field that holds none of its part's
/// palette names, and a voice that is no voice code, leave their bytes
/// alone. Throws Error when the file cannot be opened or written.
/// Before the first byte is written the untouched file is copied to
/// path.bak, unless that exists; when the copy fails, Error is thrown and
/// nothing is written.
std::vector<std::string> writeProfile(platform::FileSystem& files, const std::string& path, const Profile& profile);
/// writeProfile, then its notes and the "Well done." message as boxes.
void saveProfile(platform::Platform& platform, const std::string& path, const Profile& profile);

} // namespace kestrin
