#pragma once
// Standard input and output of a console program, as bytes.

// standard
#include <string_view>

namespace platform {

/// Puts standard output and standard error into binary mode, so that the
/// CR LF lines of our files pass through unchanged (a Windows console
/// program would otherwise write a CR before every LF).
void useBinaryStandardStreams();

/// Writes the bytes to standard output and flushes it; false when that fails
/// (a closed pipe, a full disk).
bool writeStandardOutput(std::string_view bytes);

} // namespace platform
