#pragma once

// The custom mercenary's record in IMP.dat: absolute offsets, one unsigned
// byte per number, 2-byte cells for the name and callsign (low byte only),
// narrow palette-name texts, and the code tables of the main window's
// lists and buttons. Every byte not listed here is left as the file has it.

// standard
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// ours
#include "kestrin/core/profile.h"
#include "platform/gamefiles.h"

namespace kestrin::record {

/// The highest offset touched is 577: shorter files are refused.
inline constexpr std::uint64_t kMinimumLength = platform::kProfileRecordLength;

inline constexpr int kVoice = 0;
inline constexpr int kPortrait = 4;
inline constexpr int kName = 8, kNameCells = 20;
inline constexpr int kCallsign = 68, kCallsignCells = 8;
inline constexpr int kBodyType = 268;
inline constexpr int kHealthCopy = 342; // written, never read
inline constexpr int kPersonality = 344;
inline constexpr int kTrait1 = 345;
inline constexpr int kTrait2 = 348;
inline constexpr int kAttitude = 577;
inline constexpr std::array<int, 3> kAmmo = {446, 447, 448}; // written, never read

/// Offset of each attribute's byte (index = Attribute).
extern const std::array<int, kAttributeCount> kAttributeOffsets;

/// Offsets of the inventory slots (index = Hidden; Speech, Portrait and Ammo
/// have their own offsets above and hold -1 here).
extern const std::array<int, kHiddenCount> kInventoryOffsets;

/// One colour of a part: the Appearance window's menu entry and the
/// palette name it sets, exactly as the game knows it (case included).
struct PaletteEntry {
    const char* component; // "Redbrown1"
    const char* caption;   // "Redbrown"
    std::string_view name; // "redbrown"
};

struct PaletteField {
    Palette palette;
    int offset;
    int limit; // longest name: at most this many bytes are read
    std::span<const PaletteEntry> colours; // in menu order
};
/// Pants 117, vest 147, skin 177, hair 207 (index = Palette).
extern const std::array<PaletteField, kPaletteCount> kPaletteFields;
/// Whether the name is one of the part's palette names (exact, case-sensitive).
bool isPaletteName(Palette palette, std::string_view name);

// Code tables.
struct TraitEntry {
    const char* text; // as the lists show it: "Electronics [*]"
    int code;
};
/// The 15 entries of both trait lists, in display order.
extern const std::array<TraitEntry, 15> kTraits;
/// The list position showing a trait code, or -1 (code 11, 16 and above).
int traitPosition(int code);

extern const std::array<const char*, 8> kPersonalities; // code = position
extern const std::array<const char*, 9> kAttitudes;     // code = position; 9 has no entry

struct ButtonEntry {
    const char* control; // "FlatRadioButton5"
    const char* caption; // "2 (male)"
    int code;            // 52
};
extern const std::array<ButtonEntry, 3> kBodyTypes; // 0, 1, 3
extern const std::array<ButtonEntry, 6> kVoices;    // 51..56

} // namespace kestrin::record
