#pragma once
// The attachment rules as lines a person or a script reads: which weapon
// gains and which loses which attachments, one weapon a line.

// standard
#include <string>
#include <string_view>
#include <vector>

// ours
#include "brackel/core/attachments.h"
#include "brackel/core/namesfile.h"

namespace brackel {

/// The kind's word in a change line, in lower case: "silencer", "sniper
/// scope", "laser scope", "bipod", "duckbill", "talon", "rod and spring",
/// "extender".
std::string_view kindWord(Kind kind);

/// One line per weapon whose attachments differ from `from` to `to`, by game
/// item number (1..65), the attachments it gains and then those it loses,
/// each in the table's order of kinds:
///   "20 G41: +silencer -bipod"
/// The weapon's name comes from `names` when given and it has one (as
/// printable ASCII, other bytes as \xNN); otherwise the line is
/// "20: +silencer -bipod". No lines when nothing differs.
std::vector<std::string> ruleChanges(const Flags& from, const Flags& to, const Names* names = nullptr);

} // namespace brackel
