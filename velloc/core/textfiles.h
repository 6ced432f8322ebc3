#pragma once
// The file steps of Velloc's commands that the window and the command line
// share: reading a text-form file, the wording of its refusals, and writing
// one without ever replacing a game item text file.

// standard
#include <optional>
#include <string>
#include <vector>

// ours
#include "platform/filesystem.h"
#include "platform/result.h"
#include "velloc/core/itemtexts.h"
#include "velloc/core/textform.h"

namespace velloc {

/// Reads the text-form file at path over a copy of `previous`. Fails when
/// the file cannot be read; a file larger than any text file of ours comes
/// back NotIdentified, with the reason in its error.
platform::Result<TextFormRead> readTextFormFile(platform::FileSystem& files, const std::string& path,
                                                const ItemTexts& previous);

/// The refusal of a read that was not accepted: the window's message, with
/// the reason apart for the console program.
platform::Status textFormRefusal(const TextFormRead& read, const std::string& path);

/// The texts of the text form's lines read over a copy of `previous`, or the
/// refusal of a form that is not accepted: read this, or say why not.
platform::Result<ItemTexts> textFormOver(const platform::TextLines& lines, const ItemTexts& previous,
                                         const std::string& path);

/// Writes the text form of the texts through the text-file writer, which
/// never replaces a game file.
platform::Status writeTextForm(platform::FileSystem& files, const std::string& path, const ItemTexts& texts);

} // namespace velloc
