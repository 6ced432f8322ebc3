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

/// "item 7 short name": an item's field, as the change list and PO contexts
/// name it. Items are numbered from 0, as in the file.
std::string fieldLabel(int item, Field field, FileType type);

/// One line per field that differs between `from` and `to`, in item and
/// then field order, over the fields of to.fileType:
///   item 7 short name: "Knife" -> "Dagger"
/// No lines when nothing differs.
std::vector<std::string> itemTextChanges(const ItemTexts& from, const ItemTexts& to);

} // namespace velloc
