#pragma once

// The three-way merge of a window's save: a window keeps the fields of a
// game file as it last read or wrote them (the base); at Save, under the
// patch's hold, the file may hold another program's changes (theirs) beside
// the window's own (ours). Field by field:
//   - changed only by the other program: the other program's value stays;
//   - changed only in the window: the window's value is written;
//   - changed on both sides to the same value: nothing to decide;
//   - changed on both sides to different values: a conflict, which the user
//     decides once for all of them: the window's values, or no save at all.
// What a field is, each program says: a weapon's eight flags, an item's
// text, a value of the mercenary's record.

// standard
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// ours
#include "platform/platform.h"

namespace platform {

/// Which of the three states of a field.
enum class Side { Base, Ours, Theirs };

/// What the merge decided.
struct FieldMerge {
    std::vector<std::size_t> ours;      // fields to write with the window's value
    std::vector<std::size_t> conflicts; // fields changed on both sides differently
    std::size_t theirsKept = 0;         // the other program's changes the save keeps
    /// Whether the file holds nothing the window did not read or write.
    bool unchangedElsewhere() const { return theirsChanged == 0; }
    std::size_t theirsChanged = 0; // fields the other program changed
};

/// Merges `count` fields; `same(i, a, b)` tells whether field i holds the
/// same value on sides a and b. A conflict is counted as neither ours nor
/// theirs: the caller decides it (askOverwrite), then takes every field of
/// `ours`, and of `conflicts` when overwriting.
FieldMerge mergeFields(std::size_t count, const std::function<bool(std::size_t field, Side a, Side b)>& same);

/// Asks the one question of a save whose fields conflict, naming the file
/// and the fields (`names`, the first few of them and then how many more).
/// True to overwrite them with the window's values, keeping the other
/// program's other changes; false to cancel the save.
bool askOverwrite(Platform& platform, const std::string& path, const std::vector<std::string>& names);

/// What a merged save tells the user once, or empty when it kept nothing of
/// another program: "3 changes that another program made to PATH since it
/// was opened here were kept; the window now shows the file as it is."
std::string keptNote(const std::string& path, std::size_t kept);

} // namespace platform
