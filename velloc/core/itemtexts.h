#pragma once

// The texts of the game's 351 items as Velloc holds them: 8-bit bytes of
// the system code page, indexed by item number.

// standard
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>

// ours
#include "platform/gamefiles.h"

namespace velloc {

inline constexpr int kItemCount = 351;
/// Length of an item text file: 351 records of 800 bytes.
inline constexpr std::uint64_t kItemFileLength = platform::kItemFileLength;
inline constexpr int kRecordBytes = 800;

enum class FileType : int {
    Items = 0,    // Itemdesc.edt: short name, full name, description
    BobbyRay = 1, // Braydesc.edt: name, description
};

enum class Field { ShortName, FullName, Description };

struct ItemTexts {
    std::array<std::string, kItemCount> shortNames;
    std::array<std::string, kItemCount> fullNames;
    std::array<std::string, kItemCount> descriptions;
    FileType fileType = FileType::Items;

    /// Equal texts of the same type, wherever they came from.
    friend bool operator==(const ItemTexts& a, const ItemTexts& b)
    {
        return a.shortNames == b.shortNames && a.fullNames == b.fullNames && a.descriptions == b.descriptions &&
               a.fileType == b.fileType;
    }
};

/// The layout's name, as a PO file's header and messages give it.
inline std::string layoutName(FileType type) { return type == FileType::BobbyRay ? "Braydesc" : "Itemdesc"; }

/// The column of texts of a field (const or not, as the model).
template <class Texts>
auto& textsOf(Texts& texts, Field field)
{
    switch (field) {
    case Field::ShortName:
        return texts.shortNames;
    case Field::FullName:
        return texts.fullNames;
    case Field::Description:
        break;
    }
    return texts.descriptions;
}

/// The text of one field of one item, 0 to kItemCount - 1 (const or not,
/// as the model).
template <class Texts>
auto& textOf(Texts& texts, Field field, int item)
{
    assert(item >= 0 && item < kItemCount);
    return textsOf(texts, field)[static_cast<std::size_t>(item)];
}

/// The words of a field in a record of this type, as messages, the change
/// list and PO contexts say them: "short name", "full name", "description"
/// for Items; "name", "description" for Bobby Ray texts.
inline std::string fieldName(Field field, FileType type)
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

} // namespace velloc
