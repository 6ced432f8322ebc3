#include "kestrin/core/profilechanges.h"

// standard
#include <array>
#include <utility>

// ours
#include "kestrin/core/presets.h"
#include "kestrin/core/profilepreset.h"
#include "kestrin/core/profilerecord.h"
#include "platform/ascii.h"

namespace kestrin {

namespace {

/// An attribute's text as it is when it is a number, else quoted: the
/// editor holds what was typed, which need not be one.
std::string attributeShown(const std::string& text)
{
    std::size_t digits = !text.empty() && text.front() == '-' ? 1 : 0;
    if (digits == text.size())
        return platform::quotedAscii(text);
    for (std::size_t i = digits; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return platform::quotedAscii(text);
    return text;
}

/// The values of every field, in imp-dump's order, as the change list shows them.
std::vector<std::pair<std::string, std::string>> shownFields(const Profile& p)
{
    std::vector<std::pair<std::string, std::string>> fields;
    for (const auto& [key, attribute] : kPresetTextKeys)
        fields.emplace_back(key, attributeShown(p.attributeText(attribute)));
    fields.emplace_back("Trait1", std::to_string(p.trait1Position()));
    fields.emplace_back("Trait2", std::to_string(p.trait2Position()));
    fields.emplace_back("Personality", std::to_string(p.personalityPosition()));
    // A stored attitude with no line in the list is shown by its code, as imp-dump writes it.
    fields.emplace_back("Attitude",
                        std::to_string(p.attitudePosition() >= 0 ? p.attitudePosition() : p.attitudeCode()));
    for (const auto& [key, field] : kPresetSlotKeys)
        fields.emplace_back(key, std::to_string(p.hidden(field)));
    fields.emplace_back("Name", platform::quotedAscii(p.name()));
    fields.emplace_back("Callsign", platform::quotedAscii(p.callsign()));
    fields.emplace_back("Voice", p.voiceButton() != 0 ? std::to_string(p.hidden(Hidden::Speech)) : "none");
    fields.emplace_back("BodyType", p.bodyTypeButton() >= 0 ? std::to_string(p.bodyTypeCode()) : "none");
    fields.emplace_back("Portrait", std::to_string(p.hidden(Hidden::Portrait)));
    for (const auto& [key, palette] : kPresetColourKeys)
        fields.emplace_back(key, record::isPaletteName(palette, p.palette(palette))
                                     ? platform::quotedAscii(p.palette(palette))
                                     : "none");
    return fields;
}

} // namespace

std::vector<std::string> profileChanges(const Profile& from, const Profile& to)
{
    const auto before = shownFields(from), after = shownFields(to);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i].second != after[i].second)
            lines.push_back(before[i].first + ": " + before[i].second + " -> " + after[i].second);
    return lines;
}

} // namespace kestrin
