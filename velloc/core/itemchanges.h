#pragma once

// The item texts as lines a person or a script reads: which field of which
// item changed, and from what to what. The same words name the fields in the
// change list and in a PO file's contexts ("item 7 short name").

// standard
#include <string>
#include <string_view>
#include <vector>

// ours
#include "velloc/core/itemtexts.h"

namespace velloc {

/// The word of a field in a record of this type: "short name", "full name",
/// "description" for Items; "name", "description" for Bobby Ray texts.
std::string fieldWords(Field field, FileType type);

/// "item 7 short name": an item's field, as the change list and PO contexts
/// name it. Items are numbered from 0, as in the file.
std::string fieldLabel(int item, Field field, FileType type);

/// The text in double quotes, its bytes kept as bytes: a line break as \r or
/// \n, a tab as \t, a quote and a backslash escaped, and every other byte
/// below 0x20, 0x7F and every byte from 0x80 up as \xNN (two hex digits,
/// lower case), so the result is plain printable ASCII on one line.
std::string quotedText(std::string_view text);

/// One line per field that differs between `from` and `to`, in item and
/// then field order, over the fields of to.fileType:
///   item 7 short name: "Knife" -> "Dagger"
/// No lines when nothing differs.
std::vector<std::string> itemTextChanges(const ItemTexts& from, const ItemTexts& to);

} // namespace velloc
