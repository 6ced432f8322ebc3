#pragma once

// Brackel's own text file: the whole attachment model in 71 lines.
//
//   [head]
//   mode=brackel
//   version=2.0
//   addons=<free entries>
//   (empty)
//   [main]
//   00=dddddddd ... 64=dddddddd   one line per weapon position
//
// The eight digits of an entry line stand for silencer, duckbill, laser
// scope, talon, bipod, sniper scope, rod and spring, extender; "1" allows it.

// standard
#include <string>
#include <vector>

// ours
#include "brackel/core/attachments.h"
#include "platform/textlines.h"

namespace brackel {

struct BrkContents {
    Flags flags;
    int remaining = kTableEntries; // taken as the file gives it, not recounted
};

struct BrkParse {
    enum class Outcome { Recognized, NotBrk, Malformed };
    Outcome outcome = Outcome::NotBrk;
    BrkContents contents;  // valid when Recognized
    std::string error;     // when Malformed: "line 12: ..."
};

/// Reads the lines of a .brk file. A file without a line containing
/// "mode=brackel" is NotBrk. Lines before that line, the version line and
/// empty entry lines are ignored; a missing entry line leaves its weapon
/// clear. An entry line whose position is above 64 or not two digits, or
/// whose flags are not digits, and an unreadable count make the file
/// Malformed, and nothing of it is used.
BrkParse parseBrk(const platform::TextLines& lines);

/// The 71 lines of the file for this model.
std::vector<std::string> brkLines(const Flags& flags, int remaining);

} // namespace brackel
