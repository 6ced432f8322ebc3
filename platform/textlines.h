#pragma once

// Line-based 8-bit text files. Lines are written with CR LF; reading accepts
// CR LF, a lone CR and a lone LF (files edited on Linux) as line ends.

// standard
#include <string>
#include <string_view>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"

namespace platform {

/// Splits bytes into lines. A line end at the very end of the text does not
/// start another line: "a\r\nb\r\n" and "a\r\nb" both give {"a", "b"}; an
/// empty text gives no lines.
std::vector<std::string> splitLines(std::string_view bytes);

/// Joins lines, each followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);

Result<std::vector<std::string>> readTextLines(FileSystem& files, const std::string& path);

/// Writes the lines (each ended by CR LF) through the atomic replacement.
Status writeTextLines(FileSystem& files, const std::string& path, const std::vector<std::string>& lines);

} // namespace platform
