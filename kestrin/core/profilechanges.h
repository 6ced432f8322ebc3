#pragma once
// The custom mercenary as lines a person or a script reads: which field of
// the profile changed, and from what to what.

// standard
#include <string>
#include <string_view>
#include <vector>

// ours
#include "kestrin/core/profile.h"

namespace kestrin {

/// One line per field that differs from `from` to `to`, named by the key
/// imp-dump writes for it and in that order; a text in double quotes with
/// C escapes (\r, \n, \t, \", \\, other bytes outside printable ASCII as
/// \xNN), a number as it is, and "none" for a field the profile leaves
/// unset (no voice or body type chosen, a colour that is no palette name):
///   Name: "Old" -> "New"
///   Strength: 55 -> 60
/// No lines when nothing differs.
std::vector<std::string> profileChanges(const Profile& from, const Profile& to);

} // namespace kestrin
