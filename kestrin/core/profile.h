#pragma once

// Kestrin's editing model: everything the main window holds for the custom
// mercenary, visible or hidden, with the rules that apply whenever a value
// changes. The windows show it and write into it; the read and save passes
// walk it. Changing a value emits changed() with the field, so every window
// showing that value follows, whoever made the change.

// standard
#include <array>
#include <string>
#include <string_view>

// Qt
#include <QObject>

// ours
#include "platform/result.h"

namespace kestrin {

/// The text of an integer, as the runtime's conversion reads it, or the
/// failure "'<text>' is not a valid integer value" when it is none.
platform::Result<int> toInteger(std::string_view text);

/// The ten attributes and the experience level, in the window's order.
enum class Attribute { Health, Dexterity, Agility, Strength, Wisdom, Leadership, Marksmanship, Explosives, Medical,
                       Mechanic, Experience };
inline constexpr int kAttributeCount = 11;

struct AttributeInfo {
    Attribute attribute;
    const char* control;    // "SpinHealth"
    const char* label;      // "Health"
    const char* upButton;   // "FlatSpeedButton1"
    const char* downButton; // "FlatSpeedButton2"
    int maxLength;          // characters that can be typed
    int minimum;            // the steppers' range, and the change rule's floor for
    int maximum;            // Health (15) and the experience level (1)
};
extern const std::array<AttributeInfo, kAttributeCount> kAttributes;
inline const AttributeInfo& info(Attribute a) { return kAttributes[static_cast<int>(a)]; }

/// Values the main window holds but does not show; integers without limits.
enum class Hidden { Speech, Portrait, Helmet, Vest, Ceramic, Weapon, Ammo, Modification1, Modification2 };
inline constexpr int kHiddenCount = 9;

/// The palette-name fields the Appearance window sets.
enum class Palette { Pants, Vest, Skin, Hair };
inline constexpr int kPaletteCount = 4;

/// What changed() reports. Attribute fields report FirstAttribute + index,
/// hidden fields FirstHidden + index, palette fields FirstPalette + index.
enum class Field {
    Name, Callsign, Voice, BodyType, Trait1, Trait2, Personality, Attitude,
    FirstAttribute = 100, FirstHidden = 200, FirstPalette = 300,
};
inline Field fieldOf(Attribute a) { return Field(int(Field::FirstAttribute) + int(a)); }
inline Field fieldOf(Hidden h) { return Field(int(Field::FirstHidden) + int(h)); }
inline Field fieldOf(Palette p) { return Field(int(Field::FirstPalette) + int(p)); }

class Profile : public QObject {
    Q_OBJECT
public:
    Profile();

    // Attributes. Setting a text applies the change rule: Health of 15 or
    // less becomes "15", an experience level of 1 or less becomes "1". When
    // the rule cannot read the text as a number, the text is kept, changed()
    // is emitted, and toInteger's failure is returned.
    const std::string& attributeText(Attribute a) const { return attributes_[int(a)]; }
    platform::Status setAttributeText(Attribute a, std::string text);
    /// The attribute as a number, or toInteger's failure when its text is none.
    platform::Result<int> attributeValue(Attribute a) const { return toInteger(attributeText(a)); }
    /// One stepper tick: the number plus or minus one, kept within the
    /// stepper's range. When the text is not a number, nothing changes and
    /// toInteger's failure is returned.
    platform::Status step(Attribute a, int delta);

    // Voice and body type: which radio button is checked (0 when none) and
    // the code its action set. Checking the checked button does nothing.
    int voiceButton() const { return voiceButton_; }     // 51..56 or 0
    void checkVoice(int code);                            // 51..56; others ignored
    int bodyTypeButton() const { return bodyButton_; }   // 0, 1, 3, or -1 when none
    int bodyTypeCode() const { return bodyTypeCode_; }
    void checkBodyType(int code);                         // 0, 1, 3; others ignored

    // Lists: the selected position (-1 when none) and its code.
    int trait1Position() const { return traitPosition_[0]; }
    int trait2Position() const { return traitPosition_[1]; }
    int trait1Code() const { return traitCode_[0]; }
    int trait2Code() const { return traitCode_[1]; }
    /// which: 1 or 2. Selecting a position sets the code it shows.
    void selectTraitPosition(int which, int position);
    /// Selects the entry showing the trait code; false (nothing changed) for
    /// a code with no entry (11, 16 and above).
    bool selectTraitCode(int which, int code);
    int personalityPosition() const { return personalityPosition_; }
    int personalityCode() const { return personalityCode_; }
    void selectPersonality(int position); // 0..7; others ignored
    int attitudePosition() const { return attitudePosition_; }
    int attitudeCode() const { return attitudeCode_; }
    /// 0..8 select that entry; 9, which has no entry, clears the selection
    /// and keeps the code; others ignored.
    void selectAttitude(int code);

    int hidden(Hidden h) const { return hidden_[int(h)]; }
    void setHidden(Hidden h, int value);

    const std::string& palette(Palette p) const { return palette_[int(p)]; }
    void setPalette(Palette p, std::string name);

    // Name and callsign (8-bit texts).
    const std::string& name() const { return name_; }
    const std::string& callsign() const { return callsign_; }
    void setName(std::string name);
    void setCallsign(std::string callsign);

signals:
    void changed(kestrin::Field field);

private:
    std::array<std::string, kAttributeCount> attributes_;
    int voiceButton_ = 0;
    int bodyButton_ = -1;
    int bodyTypeCode_ = 0;
    std::array<int, 2> traitPosition_{0, 0};
    std::array<int, 2> traitCode_{0, 0};
    int personalityPosition_ = 0;
    int personalityCode_ = 0;
    int attitudePosition_ = 0;
    int attitudeCode_ = 0;
    std::array<int, kHiddenCount> hidden_{};
    std::array<std::string, kPaletteCount> palette_;
    std::string name_;
    std::string callsign_;
};

} // namespace kestrin
