#pragma once

// INI value lookup as the programs use it: section and key match without
// regard to letter case; a missing file, section or key gives the default.

// standard
#include <string>
#include <string_view>

// ours
#include "platform/filesystem.h"

namespace platform {

/// Looks a value up in INI text. The first matching key of the first matching
/// section wins, as on Windows. Values are returned without surrounding blanks.
std::string iniValue(std::string_view iniText, std::string_view section, std::string_view key,
                     std::string_view defaultValue);

/// Reads the file and looks the value up; an unreadable file gives the default.
std::string iniValue(FileSystem& files, const std::string& path, std::string_view section,
                     std::string_view key, std::string_view defaultValue);

} // namespace platform
