#pragma once

// The form of every system's file failure: what was done, the path, and
// why ("Could not save /x/names.txt: No space left on device"), with the
// reason also kept apart for a caller that words the failure its own way.

// standard
#include <string>
#include <string_view>

// ours
#include "platform/result.h"

namespace platform {

/// "<what> <path>: <why>", with `why` as the reason and `path` as the file.
Status fileFailure(std::string_view what, const std::string& path, std::string why);

} // namespace platform
