#pragma once

// INI text as the programs read it: the sections it holds, and value lookup
// where section and key match without regard to ASCII letter case. Every
// reader of an INI file goes through here, so a header or a key that one
// finds, all find.

// standard
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ours
#include "platform/filesystem.h"

namespace platform {

/// What the reader trims around section names, keys and values. A writer
/// that must keep such a character at either end of a value quotes it.
inline constexpr std::string_view kIniBlanks = " \t\r\n\f\v";

/// Whether two section or key names are the same to the reader: blanks
/// around them do not count, nor ASCII letter case.
bool sameIniName(std::string_view a, std::string_view b);

/// The names of the text's sections in file order, as the lookup matches
/// them (without the blanks around them). A section whose name came earlier,
/// in any letter case, is left out: the lookup never searches it. Keys
/// before the first header (the section "") and "[]" headers give no name.
std::vector<std::string> iniSections(std::string_view iniText);

/// Whether the text has a section of that name (as sameIniName matches).
bool hasIniSection(std::string_view iniText, std::string_view section);

/// The value of the key in the section, without the blanks around it, or
/// nothing when the section or the key is missing. The first matching key
/// of the first matching section wins, as on Windows.
std::optional<std::string> iniLookup(std::string_view iniText, std::string_view section, std::string_view key);

/// The lookup with a default for a missing section or key.
std::string iniValue(std::string_view iniText, std::string_view section, std::string_view key,
                     std::string_view defaultValue);

/// The line end a writer adding lines to the text uses: the text's first
/// one (CR LF, LF or CR), or CR LF for a text without any.
std::string iniLineEnd(std::string_view iniText);

/// The text with the first section of that name (as sameIniName matches)
/// replaced by `lines` (its header first), each ended by iniLineEnd(). The
/// section runs from its header to its last line that is neither blank nor a
/// comment; blank lines and comments before the next header stay, as do the
/// byte order mark and every byte outside the section. When the text has no
/// such section, the lines are added at its end, after a blank line when the
/// text's last line is not blank (and its last line given its line end when
/// it had none).
std::string replaceIniSection(std::string_view iniText, std::string_view section,
                              const std::vector<std::string>& lines);

/// The text with the key of the first section of that name set to `value`:
/// the value of its first matching key is replaced in place, keeping the
/// rest of the line; a missing key gets the line "key=value" after the
/// section's last line that is neither blank nor a comment. Nothing when the
/// text has no section of that name.
std::optional<std::string> setIniValue(std::string_view iniText, std::string_view section, std::string_view key,
                                       std::string_view value);

/// Reads the file (as readTextFile does, within its size limit) and looks
/// the value up; a file that cannot be read gives the default.
std::string iniValue(FileSystem& files, const std::string& path, std::string_view section,
                     std::string_view key, std::string_view defaultValue);

} // namespace platform
