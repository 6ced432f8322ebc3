#include "velloc/core/pofile.h"

// standard
#include <array>
#include <charconv>
#include <map>
#include <utility>

// ours
#include "platform/ascii.h"
#include "velloc/core/itemchanges.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/poentries.h"
#include "velloc/core/polexer.h"

namespace velloc {

namespace {

// Control bytes stand in a PO string as the Unicode symbols for them
// (U+2400 + byte), which no code page of the game holds.
constexpr char32_t kControlSymbols = 0x2400;
constexpr char32_t kLastControlSymbol = kControlSymbols + 0x1F;

constexpr std::string_view kNothingWritten = platform::Status::kNothingWritten;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

/// The code points of strict UTF-8 (no overlong forms, no surrogates, none
/// past U+10FFFF); std::nullopt when the bytes are not that.
std::optional<std::u32string> decodeUtf8(std::string_view bytes)
{
    std::u32string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (b < 0x80) {
            c = b;
        } else if (b >= 0xC2 && b < 0xE0) {
            extra = 1, c = b & 0x1F, least = 0x80;
        } else if (b >= 0xE0 && b < 0xF0) {
            extra = 2, c = b & 0x0F, least = 0x800;
        } else if (b >= 0xF0 && b < 0xF5) {
            extra = 3, c = b & 0x07, least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (extra > 0 && i + static_cast<std::size_t>(extra) >= bytes.size())
            return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return std::nullopt;
        out += c;
        i += 1 + static_cast<std::size_t>(extra);
    }
    return out;
}

/// The UTF-8 of each byte's character in the code page, control bytes but
/// the tab as their symbols.
std::array<std::string, 256> characterTable(const platform::CodePage& page)
{
    std::array<std::string, 256> table;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::size_t>(b);
        if (b < 0x20 && b != '\t')
            appendUtf8(table[byte], kControlSymbols + static_cast<char32_t>(b));
        else
            table[byte] = page.toUnicode(std::string(1, static_cast<char>(b))).toStdString();
    }
    return table;
}

std::string toPo(std::string_view bytes, const std::array<std::string, 256>& table)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out += '\n';
            ++i;
        } else {
            out += table[static_cast<unsigned char>(bytes[i])];
        }
    }
    return out;
}

/// A PO string's content between its quotes: gettext's escapes for the
/// backslash, the quote, the line break and the tab; everything else as it
/// stands.
std::string escaped(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

/// `keyword "text"`, or, for a text with a line break before its end,
/// `keyword ""` and one line per line of the text, as gettext writes them.
void appendString(std::string& out, std::string_view keyword, std::string_view utf8)
{
    out += keyword;
    const std::size_t firstBreak = utf8.find('\n');
    if (firstBreak == std::string_view::npos || firstBreak + 1 == utf8.size()) {
        out += " \"" + escaped(utf8) + "\"\n";
        return;
    }
    out += " \"\"\n";
    for (std::size_t start = 0; start < utf8.size();) {
        std::size_t end = utf8.find('\n', start);
        end = end == std::string_view::npos ? utf8.size() : end + 1;
        out += "\"" + escaped(utf8.substr(start, end - start)) + "\"\n";
        start = end;
    }
}

} // namespace

std::string poString(std::string_view bytes, const platform::CodePage& page)
{
    return toPo(bytes, characterTable(page));
}

std::string poTemplate(const ItemTexts& texts, const platform::CodePage& page)
{
    const auto table = characterTable(page);
    const std::string layout = layoutName(texts.fileType);
    const std::string codePage = std::to_string(page.number());
    std::string out = "# Item texts of " + layout + ".edt, read in code page " + codePage +
                      ", for translation.\n"
                      "# Fill in each msgstr; entries left empty or marked fuzzy are not applied.\n"
                      "# A line break \"\\n\" takes two of a field's characters. \xE2\x90\x8D and \xE2\x90\x8A "
                      "stand for a lone\n"
                      "# CR and a lone LF, \xE2\x90\x81 to \xE2\x90\x9F for the other control characters.\n"
                      "#, fuzzy\n"
                      "msgid \"\"\n"
                      "msgstr \"\"\n"
                      "\"Project-Id-Version: " + layout + ".edt\\n\"\n"
                      "\"PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\\n\"\n"
                      "\"Last-Translator: FULL NAME <EMAIL@ADDRESS>\\n\"\n"
                      "\"Language-Team: LANGUAGE <LL@li.org>\\n\"\n"
                      "\"Language: \\n\"\n"
                      "\"MIME-Version: 1.0\\n\"\n"
                      "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                      "\"Content-Transfer-Encoding: 8bit\\n\"\n"
                      "\"" + std::string(kPoLayoutField) + ": " + layout + "\\n\"\n"
                      "\"" + std::string(kPoCodePageField) + ": " + codePage + "\\n\"\n";
    for (int n = 0; n < kItemCount; ++n) {
        for (const FieldLayout& field : recordLayout(texts.fileType)) {
            const std::string& text = textOf(texts, field.field, n);
            if (text.empty())
                continue;
            out += "\n#. at most " + std::to_string(field.units - 1) + " characters\n";
            appendString(out, "msgctxt", fieldLabel(n, field.field, texts.fileType));
            appendString(out, "msgid", toPo(text, table));
            out += "msgstr \"\"\n";
        }
    }
    return out;
}

namespace {

// ---------------------------------------------------------------- reading

platform::Status refusal(const std::string& path, const std::string& what)
{
    return platform::Status::failure({"Could not apply " + path + ":", what, std::string(kNothingWritten)},
                                     what + " " + std::string(kNothingWritten), path);
}

std::string atLine(std::size_t line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

/// The refusal of a PO file that is not laid out as one, naming the line.
platform::Status malformed(const std::string& path, std::size_t line, const std::string& what)
{
    return refusal(path, "The PO file is malformed: " + atLine(line, what) + ".");
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

/// The header's fields, "Name: value" per line of its msgstr.
std::map<std::string, std::string> headerFields(std::string_view msgstr)
{
    std::map<std::string, std::string> fields;
    for (std::size_t start = 0; start < msgstr.size();) {
        std::size_t end = msgstr.find('\n', start);
        if (end == std::string_view::npos)
            end = msgstr.size();
        const std::string_view line = msgstr.substr(start, end - start);
        if (const auto colon = line.find(':'); colon != std::string_view::npos)
            fields[trimmed(line.substr(0, colon))] = trimmed(line.substr(colon + 1));
        start = end + 1;
    }
    return fields;
}

/// Reads the header's fields into `po`: the layout, which it must name, and
/// the code page, when it names one. Refuses a charset other than UTF-8.
platform::Status readHeader(const PoEntry& header, PoFile& po, const std::string& path)
{
    const auto fields = headerFields(header.msgstr);
    if (auto type = fields.find("Content-Type"); type != fields.end()) {
        const auto at = platform::asciiLower(type->second).find("charset=");
        if (at != std::string::npos) {
            std::string charset = type->second.substr(at + 8);
            charset = charset.substr(0, charset.find_first_of("; \t"));
            const std::string lower = platform::asciiLower(charset);
            if (lower != "utf-8" && lower != "utf8")
                return refusal(path, atLine(header.line, "the PO file is in the charset " + platform::quotedAscii(charset) +
                                                             "; only UTF-8 is read (msgconv --to-code=UTF-8 "
                                                             "converts it)."));
        }
    }
    const auto layout = fields.find(std::string(kPoLayoutField));
    if (layout == fields.end())
        return refusal(path, atLine(header.line, "the header does not say which item file the texts are of (" +
                                                     std::string(kPoLayoutField) + ": Itemdesc or Braydesc)."));
    if (layout->second == "Itemdesc")
        po.type = FileType::Items;
    else if (layout->second == "Braydesc")
        po.type = FileType::BobbyRay;
    else
        return refusal(path, atLine(header.line, "the header's " + std::string(kPoLayoutField) + " is " +
                                                     platform::quotedAscii(layout->second) + "; it is Itemdesc or Braydesc."));
    if (auto page = fields.find(std::string(kPoCodePageField)); page != fields.end()) {
        int number = 0;
        const std::string& v = page->second;
        if (auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), number);
            ec == std::errc() && end == v.data() + v.size())
            po.codePage = number;
    }
    return platform::Status::success();
}

/// The third step of reading a PO file: what its entries say. Exactly one
/// header (the entry without a context whose msgid is empty), which must
/// name the layout (readHeader); every other entry's strings UTF-8; no
/// context twice. Gives the PO file, or the refusal, naming the line.
platform::Result<PoFile> checkPoEntries(std::vector<PoEntry> entries, const std::string& path)
{
    // The header: the entry without a context whose msgid is empty.
    PoFile po;
    std::optional<std::size_t> headerAt;
    std::map<std::string, std::size_t> contexts; // context -> line
    for (PoEntry& entry : entries) {
        if (!entry.hasContext && entry.msgid.empty()) {
            if (headerAt)
                return malformed(path, entry.line, "the file has a second header (the first is on line " +
                                                 std::to_string(*headerAt) + ")");
            headerAt = entry.line;
            if (auto read = readHeader(entry, po, path); !read)
                return read;
            continue;
        }
        for (const std::string* s : {&entry.context, &entry.msgid, &entry.msgstr})
            if (!decodeUtf8(*s))
                return malformed(path, entry.line, "the entry's text is not UTF-8");
        if (entry.hasContext) {
            const auto [was, added] = contexts.emplace(entry.context, entry.line);
            if (!added)
                return malformed(path, entry.line, "the entry " + platform::quotedAscii(entry.context) +
                                                 " is there twice (also on line " + std::to_string(was->second) + ")");
        }
        po.entries.push_back(std::move(entry));
    }
    if (!headerAt)
        return refusal(path, "The PO file has no header (the entry with an empty msgid) to say which item file its "
                             "texts are of.");
    return po;
}

} // namespace

platform::Result<PoFile> parsePoFile(std::string_view text, const std::string& path)
{
    // Three steps, each with its own contract: the lexer's lines
    // (polexer.h), the entries they make (poentries.h), and what the
    // entries say (checkPoEntries).
    PoLexer lexer(text);
    PoEntryReader reader;
    while (const std::optional<PoLine> line = lexer.next())
        if (auto error = reader.take(*line))
            return malformed(path, error->line, error->what);
    if (auto error = reader.finish())
        return malformed(path, error->line, error->what);
    return checkPoEntries(reader.takeEntries(), path);
}

namespace {

/// The item and field a context names in this layout ("item 7 short name"),
/// in exactly the words fieldLabel writes.
std::optional<std::pair<int, Field>> fieldOfContext(std::string_view context, FileType type)
{
    constexpr std::string_view kItem = "item ";
    if (context.substr(0, kItem.size()) != kItem)
        return std::nullopt;
    const char* first = context.data() + kItem.size();
    int item = -1;
    const auto [end, ec] = std::from_chars(first, context.data() + context.size(), item);
    if (ec != std::errc() || item < 0 || item >= kItemCount)
        return std::nullopt;
    for (const FieldLayout& layout : recordLayout(type))
        if (context == fieldLabel(item, layout.field, type))
            return std::pair{item, layout.field};
    return std::nullopt;
}

/// A PO string's characters as bytes of the code page, undoing poString: a
/// line break as CR LF (a "\r\n" too), a lone CR as CR, the control symbols
/// as their bytes. The first character the page cannot write, when one
/// cannot be.
struct Bytes {
    std::string bytes;
    std::optional<char32_t> unwritable;
};

Bytes fromPo(std::string_view utf8, const platform::CodePage& page)
{
    Bytes out;
    const std::u32string chars = decodeUtf8(utf8).value_or(std::u32string());
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        if (c == U'\r' && i + 1 < chars.size() && chars[i + 1] == U'\n') {
            out.bytes += "\r\n";
            ++i;
        } else if (c == U'\n') {
            out.bytes += "\r\n";
        } else if (c >= kControlSymbols && c <= kLastControlSymbol) {
            out.bytes += static_cast<char>(c - kControlSymbols);
        } else {
            std::optional<std::string> byte;
            if (c <= 0xFFFF)
                byte = page.fromUnicode(QString(QChar(static_cast<char16_t>(c))));
            if (!byte) {
                out.unwritable = c;
                return out;
            }
            out.bytes += *byte;
        }
    }
    return out;
}

std::string codePoint(char32_t c)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (int shift = c > 0xFFFFF ? 20 : c > 0xFFFF ? 16 : 12; shift >= 0; shift -= 4)
        digits += kHex[(c >> shift) & 0xF];
    return "U+" + digits;
}

} // namespace

platform::Result<ItemTexts> applyPoFile(const PoFile& po, const ItemTexts& current, const platform::CodePage& page,
                                        const std::string& path)
{
    // Where the PO file was made from texts of another code page, a refusal
    // about the texts says so, as the likely cause.
    std::string otherPage;
    if (po.codePage && *po.codePage != page.number())
        otherPage = " The texts are read in code page " + std::to_string(page.number()) +
                    "; the PO file was made from texts in code page " + std::to_string(*po.codePage) +
                    " (--codepage " + std::to_string(*po.codePage) + ").";

    ItemTexts texts = current;
    texts.fileType = po.type;
    // Only the fields a translation changes, for the field-fit check, and
    // the entry that changed each.
    ItemTexts changed;
    changed.fileType = po.type;
    std::map<std::pair<int, Field>, const PoEntry*> changedBy;
    for (const PoEntry& entry : po.entries) {
        const std::string at = "line " + std::to_string(entry.line) + ", entry " + platform::quotedAscii(entry.context) + ": ";
        if (!entry.hasContext)
            return refusal(path, atLine(entry.line, "the entry " + platform::quotedAscii(entry.msgid) +
                                                        " has no msgctxt, so it names no item and field."));
        const auto target = fieldOfContext(entry.context, po.type);
        if (!target)
            return refusal(path, at + "the context names no item and field of " + layoutName(po.type) +
                                     ".edt (\"item N field\", N from 0 to " + std::to_string(kItemCount - 1) + ").");
        if (entry.plural)
            return refusal(path, at + "a plural entry (msgid_plural); item texts have no plural forms.");
        if (entry.fuzzy || entry.msgstr.empty())
            continue;
        const auto [item, field] = *target;
        const std::string& now = textOf(current, field, item);
        Bytes translation = fromPo(entry.msgstr, page);
        // A field that holds its translation already (the PO file was
        // applied before) has nothing to change, whatever its msgid.
        if (!translation.unwritable && translation.bytes == now)
            continue;
        if (const Bytes msgid = fromPo(entry.msgid, page); msgid.unwritable || msgid.bytes != now)
            return refusal(path, at + "its msgid is not the text the item file holds, so the translation was made "
                                      "for other texts." + otherPage);
        if (translation.unwritable)
            return refusal(path, at + "the translation holds the character " + codePoint(*translation.unwritable) +
                                      ", which code page " + std::to_string(page.number()) + " cannot write." +
                                      otherPage);
        textOf(changed, field, item) = translation.bytes;
        changedBy[*target] = &entry;
        textOf(texts, field, item) = std::move(translation.bytes);
    }

    // The codec's own rule of what a field holds. Only changed fields are
    // checked, and against no file: a field's own full text, which the file
    // may hold without an end marker, is never among them.
    const std::vector<EncodingProblem> problems = encodingProblems(changed, {});
    const PoEntry* first = nullptr;
    std::string reason;
    std::map<const PoEntry*, bool> atFault;
    for (const EncodingProblem& problem : problems) {
        const PoEntry* entry = changedBy.at({problem.item, problem.field});
        atFault[entry] = true;
        if (first == nullptr || entry->line < first->line) {
            first = entry;
            reason = problem.reason;
        }
    }
    if (first != nullptr) {
        std::string more;
        if (atFault.size() == 2)
            more = " One more translation does not fit either.";
        else if (atFault.size() > 2)
            more = " " + std::to_string(atFault.size() - 1) + " more translations do not fit either.";
        return refusal(path, "line " + std::to_string(first->line) + ", entry " + platform::quotedAscii(first->context) +
                                 ": the translation " + reason + "." + more);
    }
    return texts;
}

} // namespace velloc
