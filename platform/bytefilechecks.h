#pragma once

// What every system's file system says the same way: the form of its
// failure messages, and the refusals a byte file makes before it touches
// the system (a closed file, writing to a file opened for reading, bytes
// outside the file's length).

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

} // namespace platform
