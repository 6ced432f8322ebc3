#pragma once

// The weapon names and check-box captions that Brackel takes from names.def,
// the item text file that the description editor writes. Texts stay 8-bit
// bytes of the system code page here.

// standard
#include <array>
#include <string>
#include <string_view>
#include <vector>

// ours
#include "brackel/core/attachments.h"
#include "platform/textlines.h"

namespace brackel {

struct Names {
    /// Names of game items 1..65; empty where the file gives none.
    std::array<std::string, kWeaponCount> weaponNames;
    /// Caption of each kind's check box (index = kind), ampersands already
    /// doubled for display; the default captions where the file gives none.
    std::array<std::string, kKindCount> captions;

    Names();
};

/// Doubles every ampersand, so that a caption shows it instead of taking it
/// as the mark of an access key: "Rod & Spring" gives "Rod && Spring".
std::string checkforand(std::string_view text);

/// Reads the lines of names.def. Nothing counts before a line containing
/// "mode=velloc". A line starting with "[" opens a section whose number is
/// the text between its first and last character; a section whose number is
/// not a number is skipped. Within a section (up to an empty line), "name="
/// gives the names of items 1..65 and the captions of talon (50) and
/// extender (310); "lname=" gives the captions of the other six kinds.
Names parseNames(const platform::TextLines& lines);

} // namespace brackel
