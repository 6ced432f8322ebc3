#pragma once

// The eight attachment kinds that Brackel edits, the 65 weapons, and the set
// of flags saying which weapon accepts which kind.

// standard
#include <array>
#include <bitset>
#include <cstdint>
#include <string_view>

namespace brackel {

inline constexpr int kKindCount = 8;
inline constexpr int kWeaponCount = 65;   // game items 1..65, positions 0..64
inline constexpr int kTableEntries = 182; // entries of the executable's table
inline constexpr int kTableBytes = kTableEntries * 4;

/// The kinds in the order in which the table is written.
enum class Kind : int { Silencer, SniperScope, LaserScope, Bipod, Duckbill, Talon, RodAndSpring, Extender };

struct KindInfo {
    Kind kind;
    std::uint16_t item;           // the attachment's game item number
    std::string_view checkBox;    // object name of its check box
    std::string_view caption;     // check box caption before names.def renames it
    int brkColumn;                // 0-based position among the eight flag digits of a .brk line
};

/// One row per kind, in writing order (index == static_cast<int>(kind)).
extern const std::array<KindInfo, kKindCount> kKinds;

inline const KindInfo& info(Kind kind) { return kKinds[static_cast<int>(kind)]; }

/// For each kind and weapon position, whether the weapon accepts the kind.
class Flags {
public:
    bool get(Kind kind, int position) const { return bits_[index(kind)].test(position); }
    void set(Kind kind, int position, bool value) { bits_[index(kind)].set(position, value); }
    void clear() { bits_ = {}; }
    /// Number of set flags over all kinds: the table entries they need.
    int count() const;

    friend bool operator==(const Flags&, const Flags&) = default;

private:
    static int index(Kind kind) { return static_cast<int>(kind); }
    std::array<std::bitset<kWeaponCount>, kKindCount> bits_{};
};

} // namespace brackel
