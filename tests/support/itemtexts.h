#pragma once

// Item texts for the tests of Velloc and of the console program (they link
// velloc_core): a field's text named by its field, sample texts, the item
// files and text forms made of them, and a text stored in a file's field as
// the game stores it.

// standard
#include <cstdint>
#include <span>
#include <string>

// ours
#include "platform/textlines.h"
#include "tests/support/tempdir.h"
#include "velloc/core/itemcodec.h"
#include "velloc/core/itemtexts.h"
#include "velloc/core/textform.h"

namespace testsupport {

/// The text of one field of one item.
inline std::string& textOf(velloc::ItemTexts& texts, velloc::Field field, int item)
{
    return (field == velloc::Field::ShortName  ? texts.shortNames
            : field == velloc::Field::FullName ? texts.fullNames
                                               : texts.descriptions)[item];
}

/// Texts of the given type for every item: "Item N" and "Described N", and
/// for Items texts also "Full name of item N".
inline velloc::ItemTexts sampleItemTexts(velloc::FileType type)
{
    velloc::ItemTexts texts;
    texts.fileType = type;
    for (int n = 0; n < velloc::kItemCount; ++n) {
        texts.shortNames[n] = "Item " + std::to_string(n);
        if (type == velloc::FileType::Items)
            texts.fullNames[n] = "Full name of item " + std::to_string(n);
        texts.descriptions[n] = "Described " + std::to_string(n);
    }
    return texts;
}

/// The bytes of an item text file with the texts encoded into them, as a
/// save patches the file.
inline std::string encodedOver(std::string file, const velloc::ItemTexts& texts)
{
    velloc::encodeItemFile(texts, std::span(reinterpret_cast<std::uint8_t*>(file.data()), file.size()));
    return file;
}

/// Writes an item text file holding the texts over non-zero filler; gives
/// its path.
inline std::string writeItemFile(const std::string& path, const velloc::ItemTexts& texts)
{
    writeFile(path, encodedOver(patternBytes(velloc::kItemFileLength), texts));
    return path;
}

/// Writes the texts' text form; gives its path.
inline std::string writeTextForm(const std::string& path, const velloc::ItemTexts& texts)
{
    writeFile(path, platform::joinLines(velloc::textFormLines(texts)));
    return path;
}

/// Stores a text in a field of an item file as the game does: low bytes
/// only, code c as c + 1, a space as 32, and the end marker 0 after it
/// unless it fills the field's `units`.
inline void putText(std::string& file, int item, int offset, int units, const std::string& text)
{
    const std::size_t at = static_cast<std::size_t>(item) * velloc::kRecordBytes + static_cast<std::size_t>(offset);
    for (std::size_t k = 0; k < text.size(); ++k)
        file[at + 2 * k] = text[k] == ' ' ? '\x20' : static_cast<char>(text[k] + 1);
    if (text.size() < static_cast<std::size_t>(units))
        file[at + 2 * text.size()] = '\0';
}

} // namespace testsupport
