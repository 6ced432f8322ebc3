#pragma once

// The item texts as a GNU gettext PO file, for translators' tools: UTF-8,
// LF line ends, one entry per non-empty field of the file:
//
//   #. at most 79 characters
//   msgctxt "item 7 short name"
//   msgid "Knife"
//   msgstr ""
//
// The header names the layout and the code page the texts were read in:
//
//   "X-Varnhold-Layout: Itemdesc\n"       (or Braydesc)
//   "X-Varnhold-Code-Page: 1252\n"
//
// A text's bytes become characters of the code page, except for control
// bytes, which gettext's checks do not allow in a message (a CR, or a bell)
// or which no editor shows. A CR LF is the PO line break "\n"; a lone CR is
// U+240D (the symbol for it, which no code page holds), a lone LF U+240A,
// and any other byte below 0x20 but the tab the symbol U+2400 + byte. Every
// byte comes back: a text exported and applied again is the same bytes.
// Reading, a "\r\n" and a lone "\r" that a tool or a translator wrote are
// taken as CR LF and CR.

// standard
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ours
#include "platform/codepage.h"
#include "platform/result.h"
#include "velloc/core/itemtexts.h"

namespace velloc {

/// The header fields that tell the layout and the code page.
inline constexpr std::string_view kPoLayoutField = "X-Varnhold-Layout";
inline constexpr std::string_view kPoCodePageField = "X-Varnhold-Code-Page";

/// The PO template of the texts of texts.fileType, read in `page`: a header,
/// then one entry with an empty msgstr per non-empty field, in item and
/// field order.
std::string poTemplate(const ItemTexts& texts, const platform::CodePage& page);

/// A text's bytes as the UTF-8 of a PO string (before PO escapes).
std::string poString(std::string_view bytes, const platform::CodePage& page);

/// One entry of a PO file, its strings in UTF-8 with the PO escapes undone.
struct PoEntry {
    std::size_t line = 0; // of its first keyword
    bool hasContext = false;
    std::string context;
    std::string msgid;
    std::string msgstr; // msgstr[0] of a plural entry
    bool plural = false;
    bool fuzzy = false;
};

/// A PO file as read: the layout and code page its header names, and its
/// entries but the header and the obsolete ones (#~), in file order.
struct PoFile {
    FileType type = FileType::Items;
    std::optional<int> codePage; // when the header names one
    std::vector<PoEntry> entries;
};

/// Reads a PO file written by poTemplate or by gettext's tools: comments,
/// flags, strings over several lines, every escape gettext writes, CR LF or
/// LF line ends and a UTF-8 byte order mark. Refuses, naming the line, a file
/// that is not a PO file, one whose strings are not UTF-8, one whose header
/// does not name the layout, and one that holds an entry twice. The failure
/// names `path`. It reads in three steps: the lexer makes lines of the text
/// (polexer.h), the entry reader makes entries of the lines (poentries.h),
/// and a check of what the entries say makes the PO file.
platform::Result<PoFile> parsePoFile(std::string_view text, const std::string& path);

/// The texts that applying the PO file to `current` (texts of po.type) makes:
/// every entry with a translation that is not marked fuzzy puts its msgstr
/// into its field; untranslated and fuzzy entries change nothing, nor does an
/// entry whose field holds its translation already (an apply run again).
/// Refuses, naming the first entry at fault by its context and line: a
/// context that names no item and field of the layout, a plural entry (item
/// texts have no plural forms), a msgid that is no longer the field's text, a
/// character that `page` cannot write, and a translation that its field
/// cannot hold (encodingProblems' rule). The failure names `path`.
platform::Result<ItemTexts> applyPoFile(const PoFile& po, const ItemTexts& current, const platform::CodePage& page,
                                        const std::string& path);

} // namespace velloc
