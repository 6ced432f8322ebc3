#include "kestrin/core/profile.h"

// standard
#include <algorithm>
#include <charconv>

// ours
#include "kestrin/core/profilerecord.h"

namespace kestrin {

const std::array<AttributeInfo, kAttributeCount> kAttributes = {{
    {Attribute::Health, "SpinHealth", "Health", "FlatSpeedButton1", "FlatSpeedButton2", 3, 15, 100},
    {Attribute::Dexterity, "SpinDexterity", "Dexterity", "FlatSpeedButton3", "FlatSpeedButton4", 3, 0, 100},
    {Attribute::Agility, "SpinAgility", "Agility", "FlatSpeedButton5", "FlatSpeedButton6", 3, 0, 100},
    {Attribute::Strength, "SpinStrength", "Strength", "FlatSpeedButton7", "FlatSpeedButton8", 3, 0, 100},
    {Attribute::Wisdom, "SpinWisdom", "Wisdom", "FlatSpeedButton9", "FlatSpeedButton10", 3, 0, 100},
    {Attribute::Leadership, "SpinLeadership", "Leadership", "FlatSpeedButton11", "FlatSpeedButton12", 3, 0, 100},
    {Attribute::Marksmanship, "SpinMarksmanship", "Marksm.", "FlatSpeedButton14", "FlatSpeedButton13", 3, 0, 100},
    {Attribute::Explosives, "SpinExplosives", "Explosives", "FlatSpeedButton16", "FlatSpeedButton15", 3, 0, 100},
    {Attribute::Medical, "SpinMedical", "Medical", "FlatSpeedButton18", "FlatSpeedButton17", 3, 0, 100},
    {Attribute::Mechanic, "SpinMechanic", "Mechanic", "FlatSpeedButton19", "FlatSpeedButton20", 3, 0, 100},
    {Attribute::Experience, "SpinExperience", "Experience level:", "FlatSpeedButton21", "FlatSpeedButton22", 2, 1, 10},
}};

platform::Result<int> toInteger(std::string_view text)
{
    std::string_view digits = text;
    if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-')
        digits.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        return platform::Result<int>::failure("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

Profile::Profile()
{
    attributes_.fill("50");
    attributes_[int(Attribute::Experience)] = std::string("5"); // not = "5": g++ 12 -O2 warns falsely (-Wrestrict)
    palette_ = {"PantsEdit", "VestEdit", "SkinEdit", "HairEdit"};
}

platform::Status Profile::setAttributeText(Attribute a, std::string text)
{
    if (text != attributes_[int(a)]) {
        attributes_[int(a)] = std::move(text);
        emit changed(fieldOf(a));
    }
    // Health and the experience level have a floor that holds for typed
    // values too; it needs the number, so a text that is none fails here,
    // once the field shows it.
    if (a == Attribute::Health || a == Attribute::Experience) {
        const int floor = info(a).minimum;
        const auto value = toInteger(attributes_[int(a)]);
        if (!value)
            return value.status();
        if (*value <= floor && attributes_[int(a)] != std::to_string(floor)) {
            attributes_[int(a)] = std::to_string(floor);
            emit changed(fieldOf(a));
        }
    }
    return platform::Status::success();
}

platform::Status Profile::step(Attribute a, int delta)
{
    const auto current = attributeValue(a);
    if (!current)
        return current.status();
    // Wide enough that a preset's largest or smallest number steps without overflowing.
    long long value = static_cast<long long>(*current) + delta;
    if (delta > 0)
        value = std::min<long long>(value, info(a).maximum);
    else
        value = std::max<long long>(value, a == Attribute::Health ? 15 : 0); // the experience level's rule lifts 0 to 1
    return setAttributeText(a, std::to_string(value));
}

void Profile::checkVoice(int code)
{
    if (code < 51 || code > 56 || code == voiceButton_)
        return;
    voiceButton_ = code;
    emit changed(Field::Voice);
    setHidden(Hidden::Speech, code);
}

void Profile::checkBodyType(int code)
{
    if ((code != 0 && code != 1 && code != 3) || code == bodyButton_)
        return;
    bodyButton_ = code;
    bodyTypeCode_ = code;
    emit changed(Field::BodyType);
}

void Profile::selectTraitPosition(int which, int position)
{
    if ((which != 1 && which != 2) || position < 0 || position >= int(record::kTraits.size()))
        return;
    const int i = which - 1;
    if (traitPosition_[i] == position && traitCode_[i] == record::kTraits[position].code)
        return;
    traitPosition_[i] = position;
    traitCode_[i] = record::kTraits[position].code;
    emit changed(which == 1 ? Field::Trait1 : Field::Trait2);
}

bool Profile::selectTraitCode(int which, int code)
{
    const int position = record::traitPosition(code);
    if (position < 0)
        return false;
    selectTraitPosition(which, position);
    return true;
}

void Profile::selectPersonality(int position)
{
    if (position < 0 || position >= int(record::kPersonalities.size()))
        return;
    if (personalityPosition_ == position && personalityCode_ == position)
        return;
    personalityPosition_ = position;
    personalityCode_ = position;
    emit changed(Field::Personality);
}

void Profile::selectAttitude(int code)
{
    if (code < 0 || code > 9)
        return;
    const int position = code == 9 ? -1 : code;
    if (attitudePosition_ == position && attitudeCode_ == code)
        return;
    attitudePosition_ = position;
    attitudeCode_ = code;
    emit changed(Field::Attitude);
}

void Profile::setHidden(Hidden h, int value)
{
    if (hidden_[int(h)] == value)
        return;
    hidden_[int(h)] = value;
    emit changed(fieldOf(h));
}

void Profile::setPalette(Palette p, std::string name)
{
    if (palette_[int(p)] == name)
        return;
    palette_[int(p)] = std::move(name);
    emit changed(fieldOf(p));
}

void Profile::setName(std::string name)
{
    if (name_ == name)
        return;
    name_ = std::move(name);
    emit changed(Field::Name);
}

void Profile::setCallsign(std::string callsign)
{
    if (callsign_ == callsign)
        return;
    callsign_ = std::move(callsign);
    emit changed(Field::Callsign);
}

} // namespace kestrin
