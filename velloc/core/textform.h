#pragma once

// Velloc's text form of the item texts (.vlc, .def and names.def), CR LF
// lines of 8-bit text:
//
//   [head]
//   mode=velloc-a            (velloc-b for Bobby Ray texts)
//   version=2.0
//   then for each item n = 0..350:
//     (empty line)
//     [nn]                   at least two digits
//     name=<short name>
//     lname=<full name>      Items only
//     desc=<description>
//
// A text holding line breaks is written as its first line on the "name=",
// "lname=" or "desc=" line and each further line on a continuation line
// right after it, whose key names the break before that line:
//
//     name+=<line>           after CR LF (also "lname+=", "desc+=")
//     name+cr=<line>         after a lone CR ("lname+cr=", "desc+cr=")
//     name+lf=<line>         after a lone LF ("lname+lf=", "desc+lf=")
//
// LF CR is a lone LF and a lone CR, with an empty line between. So every
// text reads back byte for byte, and a text whose breaks are all CR LF is
// written as it always was. A continuation line adds to a field only when
// its record has set that field. Readers that do not know a key skip its
// lines, and a file without line breaks in its texts has none of them.

// standard
#include <string>
#include <vector>

// ours
#include "platform/textlines.h"
#include "velloc/core/itemtexts.h"

namespace velloc {

/// The lines of the text form of all 351 items, in the layout of
/// texts.fileType.
std::vector<std::string> textFormLines(const ItemTexts& texts);

struct TextFormRead {
    enum class Outcome {
        Accepted,      // texts holds the previous texts with the file's texts in place
        Rejected,      // a mode line, but the version is not "2.0" (version holds what was found)
        NotIdentified, // no mode line
        Malformed,     // error says what and on which line
    };
    Outcome outcome = Outcome::NotIdentified;
    ItemTexts texts;
    std::string version;
    std::string error; // Malformed: what and where; NotIdentified: why, when known
};

/// Reads the lines of a text-form file over a copy of `previous`: items and
/// fields that the file does not mention keep their texts. An empty file,
/// a record index that is not a number from 0 to 350, and a file that ends
/// right after its mode line or an index line are Malformed.
TextFormRead parseTextForm(const platform::TextLines& lines, const ItemTexts& previous);

} // namespace velloc
