#pragma once
// The file steps of Velloc's commands that the window and the command line
// share: reading a text-form file, the wording of its refusals, and writing
// one without ever replacing a game item text file. Lines of a message are
// joined with "\r".

// standard
#include <optional>
#include <string>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"
#include "velloc/itemtexts.h"
#include "velloc/textform.h"

namespace velloc {

/// Files larger than this are not read as text form.
inline constexpr std::uint64_t kMaxTextFormLength = 64u << 20;

/// The lines of the text-form file at path; none (nullopt) for a file too
/// large to be a text form. Fails only when the file cannot be read.
platform::Result<std::optional<std::vector<std::string>>> readTextFormLines(platform::FileSystem& files,
                                                                            const std::string& path);

/// Reads the text-form file at path over a copy of `previous`. Fails only
/// when the file cannot be read; a file too large for a text form comes back
/// NotIdentified.
platform::Result<TextFormRead> readTextFormFile(platform::FileSystem& files, const std::string& path,
                                                const ItemTexts& previous);

/// The message for a read that was not accepted.
std::string textFormRefusal(const TextFormRead& read, const std::string& path);

/// The refusal to replace a game item text file by a text form, or success
/// when path is none.
platform::Status refuseReplacingItemFile(platform::FileSystem& files, const std::string& path);

/// Writes the text form of the texts through the atomic replacement.
platform::Status writeTextForm(platform::FileSystem& files, const std::string& path, const ItemTexts& texts);

} // namespace velloc
