#pragma once

// What the user may type into an item's texts, as a rule of the model: the
// typing limit of each field, and which of the model's bytes an edit of the
// description box replaces. The window asks these at every keystroke and
// paste, so that they hold, and are tested, without a window.

// standard
#include <cstddef>
#include <string>
#include <string_view>

// ours
#include "velloc/core/itemtexts.h"

namespace velloc {

/// The most bytes the user may type into a field of a record of this type:
/// a short name (a Bobby Ray name) 30, a full name 60, a description 220 in
/// an Itemdesc.edt and 300 in a Braydesc.edt. A line break of a description
/// counts as the two bytes it is stored as. A file may hold longer texts.
std::size_t typingLimit(Field field, FileType type);

/// Whether a text of `typed` bytes that the user typed or pasted may take
/// the place of the model's text of `current` bytes: when it is within the
/// limit, or no longer than the text it replaces (a longer text read from a
/// file is shown whole and may be shortened, but never lengthened).
bool typingFits(std::size_t typed, std::size_t current, std::size_t limit);

/// Whether the description box, holding `boxLength` characters, shows this
/// description. The box shows every byte as one character, except that a
/// line end (a CR LF pair, a lone CR or a lone LF) is one line break.
bool descriptionBoxShows(const std::string& description, std::size_t boxLength);

/// The description after the user replaced the box's characters from
/// `from` up to `to` with `typed` (bytes of the code page, each line break
/// one LF, as the box has it): only the model's bytes of those characters
/// change, and the typed line breaks are stored as CR LF; every other byte,
/// lone CRs and LFs too, stays. Requires a box that shows the description
/// (descriptionBoxShows) and from <= to <= its length.
std::string typeIntoDescription(const std::string& description, std::size_t from, std::size_t to,
                                std::string_view typed);

/// A box's whole text (each line break one LF) as the model stores a
/// description: every line break as CR LF.
std::string storedDescription(std::string_view boxText);

} // namespace velloc
