#pragma once

// The refusals a byte file makes before it touches the system, the same on
// every system: a closed file, writing to a file opened for reading, and
// bytes outside the file's length. Each is worded as fileFailure words it.

// standard
#include <cstddef>
#include <cstdint>
#include <string>

// ours
#include "platform/result.h"

namespace platform {

/// Success when `count` bytes at `offset` may be read from an open file of
/// `size` bytes; otherwise the refusal.
Status checkRead(bool open, const std::string& path, std::uint64_t size, std::uint64_t offset, std::size_t count);

/// Success when `count` bytes at `offset` may be written into an open,
/// writable file of `size` bytes without extending it; otherwise the refusal.
Status checkWrite(bool open, bool writable, const std::string& path, std::uint64_t size, std::uint64_t offset,
                  std::size_t count);

} // namespace platform
