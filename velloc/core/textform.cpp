#include "velloc/core/textform.h"

// standard
#include <algorithm>
#include <array>
#include <charconv>

namespace velloc {

namespace {

// A continuation line's key and the line break it stands for: the break
// between the text so far and the rest of the line.
struct Continuation {
    std::string_view key;
    std::string_view lineBreak;
};

// The keys of a field. A text's first line goes on the "set" line, each
// further line on a continuation line whose key names the break before it.
// CR LF, the break the editor types, keeps the "+=" line that every reader
// joins with CR LF; a lone CR and a lone LF have keys of their own, which
// readers that do not know them skip. No key starts with another key, so no
// reader that matches keys at the start of a line takes one for another.
struct Key {
    Field field;
    std::string_view set; // "name="
    std::array<Continuation, 3> continuations;
};

enum : std::size_t { kCrLf, kCr, kLf };

constexpr std::array<Key, 3> kKeys = {{
    {Field::ShortName, "name=", {{{"name+=", "\r\n"}, {"name+cr=", "\r"}, {"name+lf=", "\n"}}}},
    {Field::FullName, "lname=", {{{"lname+=", "\r\n"}, {"lname+cr=", "\r"}, {"lname+lf=", "\n"}}}},
    {Field::Description, "desc=", {{{"desc+=", "\r\n"}, {"desc+cr=", "\r"}, {"desc+lf=", "\n"}}}},
}};

bool startsWith(std::string_view line, std::string_view prefix)
{
    return line.substr(0, prefix.size()) == prefix;
}

/// Writes a text as its key line and one continuation line per further line
/// of the text, keyed by the break that ends the line before: CR LF, a lone
/// CR or a lone LF (LF CR is a lone LF and a lone CR, with an empty line
/// between), so that reading the lines gives back the text's exact bytes.
void appendText(std::vector<std::string>& lines, const Key& key, const std::string& text)
{
    std::string_view prefix = key.set;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(std::string(prefix).append(text, start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            prefix = key.continuations[kCrLf].key;
            ++i;
        } else {
            prefix = key.continuations[c == '\r' ? kCr : kLf].key;
        }
        start = i + 1;
    }
    lines.push_back(std::string(prefix).append(text, start));
}

std::string lineError(std::size_t index, const std::string& what)
{
    return "line " + std::to_string(index + 1) + ": " + what;
}

/// The item number of an index line ("[05]", "[ 5 ]"): the line without its
/// first and last character, a decimal number from 0 to 350 between spaces.
/// -1 when it is not one.
int indexOf(std::string_view line)
{
    if (line.size() < 2)
        return -1;
    std::string_view number = line.substr(1, line.size() - 2);
    while (!number.empty() && number.front() == ' ')
        number.remove_prefix(1);
    while (!number.empty() && number.back() == ' ')
        number.remove_suffix(1);
    if (number.empty() || number.front() < '0' || number.front() > '9')
        return -1;
    int value = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size() || value >= kItemCount)
        return -1;
    return value;
}

} // namespace

std::vector<std::string> textFormLines(const ItemTexts& texts)
{
    const bool items = texts.fileType == FileType::Items;
    std::vector<std::string> lines = {"[head]", items ? "mode=velloc-a" : "mode=velloc-b", "version=2.0"};
    lines.reserve(3 + static_cast<std::size_t>(kItemCount) * (items ? 5 : 4));
    for (int n = 0; n < kItemCount; ++n) {
        lines.emplace_back();
        lines.push_back((n < 10 ? "[0" : "[") + std::to_string(n) + "]");
        for (const Key& key : kKeys)
            if (items || key.field != Field::FullName)
                appendText(lines, key, textOf(texts, key.field, n));
    }
    return lines;
}

TextFormRead parseTextForm(const platform::TextLines& lines, const ItemTexts& previous)
{
    TextFormRead read;
    read.texts = previous;
    if (lines.empty()) {
        read.outcome = TextFormRead::Outcome::Malformed;
        read.error = "the file is empty.";
        return read;
    }

    std::size_t i = 0;
    FileType type = FileType::Items;
    for (; i < lines.size(); ++i) {
        if (lines[i].find("mode=velloc-a") != std::string_view::npos)
            break;
        if (lines[i].find("mode=velloc-b") != std::string_view::npos) {
            type = FileType::BobbyRay;
            break;
        }
    }
    if (i == lines.size())
        return read; // NotIdentified
    if (i + 1 == lines.size()) {
        read.outcome = TextFormRead::Outcome::Malformed;
        read.error = lineError(i, "the file ends right after its mode line.");
        return read;
    }

    auto malformed = [&](std::size_t at, const std::string& what) {
        read.outcome = TextFormRead::Outcome::Malformed;
        read.error = lineError(at, what);
        read.texts = previous; // nothing of a broken file is used
        return read;
    };

    ItemTexts& texts = read.texts;
    for (++i; i < lines.size();) {
        const std::string_view line = lines[i];
        if (startsWith(line, "version=")) {
            read.version = line.substr(8);
            ++i;
            continue;
        }
        if (!startsWith(line, "[")) {
            ++i;
            continue;
        }
        const int item = indexOf(line);
        if (item < 0) {
            const std::string_view number = line.size() < 2 ? std::string_view() : line.substr(1, line.size() - 2);
            return malformed(i, "the item number \"" + std::string(number) + "\" is not a number from 0 to " +
                                    std::to_string(kItemCount - 1) + ".");
        }
        if (i + 1 == lines.size())
            return malformed(i, "the file ends right after the line of item " + std::to_string(item) + ".");

        // The record runs up to and including the next empty line. A
        // continuation line ("+=", "+cr=", "+lf=") continues the text only
        // when this record has set its field.
        std::array<bool, kKeys.size()> set{};
        for (++i; i < lines.size();) {
            const std::string_view field = lines[i++];
            if (field.empty())
                break;
            for (std::size_t k = 0; k < kKeys.size(); ++k) {
                const Key& key = kKeys[k];
                if (key.field == Field::FullName && type == FileType::BobbyRay)
                    continue;
                std::string& text = textOf(texts, key.field, item);
                if (startsWith(field, key.set)) {
                    text = field.substr(key.set.size());
                    set[k] = true;
                    break;
                }
                const auto continued = std::find_if(key.continuations.begin(), key.continuations.end(),
                                                    [&](const Continuation& c) { return startsWith(field, c.key); });
                if (continued != key.continuations.end()) {
                    if (set[k])
                        text.append(continued->lineBreak).append(field.substr(continued->key.size()));
                    break;
                }
            }
        }
    }

    if (read.version != "2.0") {
        read.outcome = TextFormRead::Outcome::Rejected;
        read.texts = previous;
        return read;
    }
    read.outcome = TextFormRead::Outcome::Accepted;
    texts.fileType = type;
    return read;
}

} // namespace velloc
