#include "velloc/core/itemchanges.h"

// ours
#include "velloc/core/itemcodec.h"

namespace velloc {

namespace {

const std::string& textOf(const ItemTexts& texts, Field field, int item)
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

} // namespace

std::string fieldWords(Field field, FileType type)
{
    switch (field) {
    case Field::ShortName:
        return type == FileType::BobbyRay ? "name" : "short name";
    case Field::FullName:
        return "full name";
    case Field::Description:
        break;
    }
    return "description";
}

std::string fieldLabel(int item, Field field, FileType type)
{
    return "item " + std::to_string(item) + " " + fieldWords(field, type);
}

std::string quotedText(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\r':
            out += "\\r";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\t':
            out += "\\t";
            continue;
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        default:
            break;
        }
        if (c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += ch;
        }
    }
    out += '"';
    return out;
}

std::vector<std::string> itemTextChanges(const ItemTexts& from, const ItemTexts& to)
{
    std::vector<std::string> lines;
    for (int n = 0; n < kItemCount; ++n) {
        for (const FieldLayout& layout : recordLayout(to.fileType)) {
            const std::string& before = textOf(from, layout.field, n);
            const std::string& after = textOf(to, layout.field, n);
            if (before != after)
                lines.push_back(fieldLabel(n, layout.field, to.fileType) + ": " + quotedText(before) + " -> " +
                                quotedText(after));
        }
    }
    return lines;
}

} // namespace velloc
