#pragma once

// The second of the three steps that read a PO file (pofile.h): the lines
// the lexer gives (polexer.h), put together into entries by the order of
// their keywords. What the entries say (the header, their texts as UTF-8,
// one entry per context) is the third step's to check.

// standard
#include <optional>
#include <string>
#include <vector>

// ours
#include "velloc/core/pofile.h"
#include "velloc/core/polexer.h"

namespace velloc {

/// Builds the entries of a PO file from its lines, given in file order.
///
/// An entry opens with msgctxt, or with a msgid that does not follow its
/// own msgctxt; it has a msgid and then a msgstr, or for a plural entry a
/// msgid_plural and msgstr[0], msgstr[1]... (only msgstr[0] is kept). Lines
/// of strings continue the keyword before them. A comment ends a complete
/// entry; "#," flags mark the entry that opens next as fuzzy when one of
/// them is "fuzzy"; obsolete lines ("#~") are left out and drop flags given
/// before them.
///
/// Refused, each with its line: a keyword out of its order (an entry opened
/// before the last one has its msgstr, a msgstr or msgid_plural without its
/// msgid, msgstr[N] outside a plural entry, a plural entry's msgstr without
/// an index), an index that is no number, a word that is no keyword, strings
/// that continue no keyword, the lexer's string errors, and an entry left
/// without its msgstr at the end.
class PoEntryReader {
public:
    /// Takes the next line; the error when it does not fit where it is.
    std::optional<PoSyntaxError> take(const PoLine& line);

    /// The end of the file: the error when the last entry is not complete.
    /// Call it once, after the last line.
    std::optional<PoSyntaxError> finish();

    /// The entries read, in file order, the header among them.
    std::vector<PoEntry> takeEntries() { return std::move(entries_); }

private:
    /// The entry being read: which of its keywords it has had.
    struct Building {
        PoEntry entry;
        bool hasMsgid = false;
        bool hasMsgstr = false;
        bool started() const { return entry.hasContext || hasMsgid; }
        bool complete() const { return hasMsgid && hasMsgstr; }
    };

    std::optional<PoSyntaxError> takeKeyword(const PoLine& line);
    void finishEntry();

    std::vector<PoEntry> entries_;
    Building building_;
    std::string* last_ = nullptr; // the string a line of strings adds to
    std::string ignored_;         // msgid_plural and msgstr[n] past the first
    bool pendingFuzzy_ = false;
};

} // namespace velloc
