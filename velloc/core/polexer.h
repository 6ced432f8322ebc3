#pragma once

// The first of the three steps that read a PO file (pofile.h): its text as
// lines that hold something, each told apart by what it starts with, and
// its strings with their escapes undone. It knows nothing of entries; the
// second step (poentries.h) puts the lines together into entries.

// standard
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velloc {

/// Where a PO file is malformed: the line, and what is wrong there in the
/// words of the refusal ("a string is not closed").
struct PoSyntaxError {
    std::size_t line = 0;
    std::string what;
};

/// One line of a PO file that holds something.
struct PoLine {
    enum class Kind {
        Comment,  // "#", "#." and the others that tell nothing of the entry
        Flags,    // "#,": the flags of the entry that follows
        Obsolete, // "#~": a line of an obsolete entry
        Strings,  // strings alone, which continue the keyword before them
        Keyword,  // a word and the strings after it (msgid "Knife")
    };
    Kind kind = Kind::Comment;
    std::size_t number = 0; // the first line is 1
    bool fuzzy = false;     // Flags: "fuzzy" is among them
    /// Keyword: the word the line starts with, up to a blank or a quote; any
    /// word at all, for the entries to accept or refuse.
    std::string_view keyword;
    /// Strings and Keyword: the strings of the line joined, their escapes
    /// undone (the bytes of a UTF-8 text, not yet checked as such).
    std::string strings;
    /// Strings and Keyword: why the strings are not well formed, if they are
    /// not: none at all, more than strings, a string not closed, an escape
    /// that is none of a PO file's. It is kept with the line rather than
    /// refused here, so that the entries can first refuse a line out of its
    /// place, which says more.
    std::optional<std::string> stringError;
};

/// Reads the text of a PO file line by line. A UTF-8 byte order mark at its
/// start is skipped; a line ends with LF or CR LF; blanks (spaces, tabs)
/// before a line's first word are skipped, and lines of blanks alone are
/// passed over.
class PoLexer {
public:
    /// The text must outlive the lexer and the lines it gives.
    explicit PoLexer(std::string_view text);

    /// The next line that holds something; nothing at the end of the text.
    std::optional<PoLine> next();

private:
    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t number_ = 0;
};

} // namespace velloc
