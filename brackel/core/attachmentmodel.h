#pragma once

// The attachment table as the editor holds it while a file is open: the
// flags now and as last loaded, and the count of free table entries. The
// editing rules keep the flags within the table's capacity.

// standard
#include <cstdint>

// ours
#include "brackel/core/attachments.h"

namespace brackel {

class AttachmentModel {
public:
    const Flags& currentFlags() const { return current_; }
    const Flags& loadedFlags() const { return loaded_; }
    int remainingEntries() const { return remaining_; }
    int loadedRemaining() const { return loadedRemaining_; }
    int currentWeapon() const { return currentWeapon_; }

    /// Takes what a file held as both the current and the loaded state.
    void load(const Flags& flags, int remaining);

    /// Selects the weapon whose flags the boxes show (0..64; others ignored).
    void selectWeapon(int position);

    /// Applies a click on kind's box, ticked or not, for the selected weapon.
    /// Clearing frees an entry; ticking takes one while any is free and is
    /// otherwise refused. Returns whether the flag is set afterwards, which
    /// is what the box must show.
    bool click(Kind kind, bool ticked);

    /// Clears every current flag; every entry is free again.
    void clearAll();
    /// Restores the flags and the count of the last load.
    void resetAll();
    /// Clears the current flags when the file is closed; the count reads 182.
    void close();

private:
    Flags current_;
    Flags loaded_;
    std::int16_t remaining_ = kTableEntries;
    std::int16_t loadedRemaining_ = kTableEntries;
    int currentWeapon_ = 0;
};

} // namespace brackel
