#pragma once

// What every system's file system says the same way: the form of its
// failure messages, and the refusals a byte file makes before it touches
// the system (a closed file, writing to a file opened for reading, bytes
// outside the file's length), and the temporary names of createNew.

// standard
#include <cstdint>
#include <string>
#include <string_view>

// ours
#include "platform/result.h"

namespace platform {

/// "<what> <path>: <why>", with the reason also kept apart.
Status fileFailure(std::string_view what, const std::string& path, std::string why);

/// Success when `count` bytes at `offset` may be read from an open file of
/// `size` bytes; otherwise the refusal.
Status checkRead(bool open, const std::string& path, std::uint64_t size, std::uint64_t offset, std::size_t count);

/// Success when `count` bytes at `offset` may be written into an open,
/// writable file of `size` bytes without extending it; otherwise the refusal.
Status checkWrite(bool open, bool writable, const std::string& path, std::uint64_t size, std::uint64_t offset,
                  std::size_t count);

/// The length of createNew's random part of a temporary name.
inline constexpr std::size_t kTemporarySuffix = 6;

/// How createNew's temporary names for a file named `name` begin:
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
