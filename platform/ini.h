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

/// Reads the file (as readTextFile does, within its size limit) and looks
/// the value up; a file that cannot be read gives the default.
std::string iniValue(FileSystem& files, const std::string& path, std::string_view section,
                     std::string_view key, std::string_view defaultValue);

} // namespace platform
