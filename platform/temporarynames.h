#pragma once

// The temporary names FileSystem::createNew and replaceAtomically write a
// new file under beside its target (".NAME.tmp-XXXXXX"), and how
// removeLeftovers tells them from every other name.

// standard
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

/// The length of createNew's random part of a temporary name.
inline constexpr std::size_t kTemporarySuffix = 6;

/// How createNew's temporary names for a file named `name` (not empty) begin:
/// ".vrn.exe.bak.tmp-" for "vrn.exe.bak". A long name is cut (never inside
/// a UTF-8 character) so that the whole temporary name stays within the 255
/// units a name may have on every system.
std::string temporaryPrefix(std::string_view name);

/// The prefix and kTemporarySuffix random letters and digits.
std::string temporaryName(const std::string& prefix);

/// Whether a folder entry's name is one of the temporary names that begin
/// with the prefix: the prefix and exactly kTemporarySuffix letters or digits.
bool isTemporaryName(std::string_view entryName, std::string_view prefix);

} // namespace platform
