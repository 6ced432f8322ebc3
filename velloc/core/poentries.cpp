#include "velloc/core/poentries.h"

// standard
#include <charconv>
#include <utility>

// ours
#include "platform/ascii.h"

namespace velloc {

std::optional<PoSyntaxError> PoEntryReader::take(const PoLine& line)
{
    switch (line.kind) {
    case PoLine::Kind::Comment:
    case PoLine::Kind::Flags:
    case PoLine::Kind::Obsolete:
        // A comment ends a finished entry; "#," gives the flags of the next
        // one. Obsolete entries (#~) are left out, flags and all.
        if (building_.complete())
            finishEntry();
        if (line.kind == PoLine::Kind::Obsolete)
            pendingFuzzy_ = false;
        else if (line.kind == PoLine::Kind::Flags)
            pendingFuzzy_ = pendingFuzzy_ || line.fuzzy;
        return std::nullopt;
    case PoLine::Kind::Strings:
        if (last_ == nullptr)
            return PoSyntaxError{line.number, "a string continues no keyword"};
        if (line.stringError)
            return PoSyntaxError{line.number, *line.stringError};
        *last_ += line.strings;
        return std::nullopt;
    case PoLine::Kind::Keyword:
        break;
    }
    return takeKeyword(line);
}

std::optional<PoSyntaxError> PoEntryReader::takeKeyword(const PoLine& line)
{
    const std::size_t lineNumber = line.number;
    const std::string_view keyword = line.keyword;
    const bool opensEntry = keyword == "msgctxt" || (keyword == "msgid" && !building_.entry.hasContext) ||
                            (keyword == "msgid" && building_.hasMsgid);
    if (opensEntry && building_.started()) {
        if (!building_.complete())
            return PoSyntaxError{lineNumber, "\"" + std::string(keyword) + "\" comes before the msgstr of the entry "
                                             "on line " + std::to_string(building_.entry.line)};
        finishEntry();
    }
    if (opensEntry) {
        building_.entry.line = lineNumber;
        building_.entry.fuzzy = pendingFuzzy_;
        pendingFuzzy_ = false;
    }
    if (keyword == "msgctxt") {
        building_.entry.hasContext = true;
        last_ = &building_.entry.context;
    } else if (keyword == "msgid") {
        building_.hasMsgid = true;
        last_ = &building_.entry.msgid;
    } else if (keyword == "msgid_plural") {
        if (!building_.hasMsgid || building_.hasMsgstr || building_.entry.plural)
            return PoSyntaxError{lineNumber, "\"msgid_plural\" does not follow a msgid"};
        building_.entry.plural = true;
        last_ = &ignored_;
    } else if (keyword == "msgstr") {
        if (!building_.hasMsgid || building_.hasMsgstr)
            return PoSyntaxError{lineNumber, "\"msgstr\" does not follow a msgid"};
        if (building_.entry.plural)
            return PoSyntaxError{lineNumber, "the msgstr of a plural entry has no index (msgstr[0])"};
        building_.hasMsgstr = true;
        last_ = &building_.entry.msgstr;
    } else if (keyword.substr(0, 7) == "msgstr[" && keyword.back() == ']') {
        const std::string_view digits = keyword.substr(7, keyword.size() - 8);
        int index = -1;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || index < 0)
            return PoSyntaxError{lineNumber, "the index of \"" + std::string(keyword) + "\" is not a number"};
        if (!building_.entry.plural)
            return PoSyntaxError{lineNumber, "\"" + std::string(keyword) + "\" is in an entry without msgid_plural"};
        building_.hasMsgstr = true;
        last_ = index == 0 ? &building_.entry.msgstr : &ignored_;
    } else {
        return PoSyntaxError{lineNumber, "the line starts with " + platform::quotedAscii(keyword) +
                                             ", which is no keyword of a PO file"};
    }
    if (line.stringError)
        return PoSyntaxError{lineNumber, *line.stringError};
    *last_ += line.strings;
    return std::nullopt;
}

std::optional<PoSyntaxError> PoEntryReader::finish()
{
    if (building_.started()) {
        if (!building_.complete())
            return PoSyntaxError{building_.entry.line, "the entry has no msgstr"};
        finishEntry();
    }
    return std::nullopt;
}

void PoEntryReader::finishEntry()
{
    entries_.push_back(std::move(building_.entry));
    building_ = Building{};
    last_ = nullptr;
}

} // namespace velloc
