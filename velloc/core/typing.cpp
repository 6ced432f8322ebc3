#include "velloc/core/typing.h"

// standard
#include <cassert>
#include <vector>

namespace velloc {

namespace {

/// The model's byte offset of each character of the description box, and
/// the description's length after them (see descriptionBoxShows).
std::vector<std::size_t> boxToModel(const std::string& text)
{
    std::vector<std::size_t> offsets;
    offsets.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        offsets.push_back(i);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    offsets.push_back(text.size());
    return offsets;
}

} // namespace

std::size_t typingLimit(Field field, FileType type)
{
    switch (field) {
    case Field::ShortName:
        return 30;
    case Field::FullName:
        return 60;
    case Field::Description:
        break;
    }
    return type == FileType::BobbyRay ? 300 : 220;
}

bool typingFits(std::size_t typed, std::size_t current, std::size_t limit)
{
    return typed <= limit || typed <= current;
}

bool descriptionBoxShows(const std::string& description, std::size_t boxLength)
{
    return boxToModel(description).size() == boxLength + 1;
}

std::string typeIntoDescription(const std::string& description, std::size_t from, std::size_t to,
                                std::string_view typed)
{
    const std::vector<std::size_t> offsets = boxToModel(description);
    assert(from <= to && to < offsets.size());
    return description.substr(0, offsets[from]) + storedDescription(typed) + description.substr(offsets[to]);
}

std::string storedDescription(std::string_view boxText)
{
    std::string stored;
    stored.reserve(boxText.size());
    for (char c : boxText) {
        if (c == '\n')
            stored += '\r';
        stored += c;
    }
    return stored;
}

} // namespace velloc
