#include "velloc/textform.h"

// standard
#include <array>
#include <charconv>

namespace velloc {

namespace {

struct Key {
    Field field;
    std::string_view set;    // "name="
    std::string_view append; // "name+="
};

constexpr std::array<Key, 3> kKeys = {{
    {Field::ShortName, "name=", "name+="},
    {Field::FullName, "lname=", "lname+="},
    {Field::Description, "desc=", "desc+="},
}};

// The model's text of a field of an item (const or not, as the model).
template <class Texts>
auto& textOf(Texts& texts, Field field, int item)
{
    switch (field) {
    case Field::ShortName:
        return texts.shortNames[item];
    case Field::FullName:
        return texts.fullNames[item];
    case Field::Description:
        break;
    }
    return texts.descriptions[item];
}

bool startsWith(std::string_view line, std::string_view prefix)
{
    return line.substr(0, prefix.size()) == prefix;
}

/// Writes a text as its key line and one continuation line per further line
/// of the text. CR LF, a lone CR and a lone LF each end a line of the text.
void appendText(std::vector<std::string>& lines, const Key& key, const std::string& text)
{
    std::string_view prefix = key.set;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(std::string(prefix).append(text, start, i - start));
        prefix = key.append;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
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

        // The record runs up to and including the next empty line. A "+="
        // line continues the text that this record has set for its field.
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
                    texts.markEdited(key.field, item); // from this file, not from an item text file
                    set[k] = true;
                    break;
                }
                if (startsWith(field, key.append)) {
                    if (set[k])
                        text.append("\r\n").append(field.substr(key.append.size()));
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

std::string checkifroot(std::string_view path)
{
    const bool driveRoot = path.size() == 3 &&
                           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return std::string(driveRoot ? path.substr(0, 2) : path);
}

} // namespace velloc
