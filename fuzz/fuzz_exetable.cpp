// The attachment table: any 728 bytes decode into flags with a free count
// that matches the entries taken; the flags encode and decode unchanged.

// standard
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

// ours
#include "brackel/core/exetable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    brackel::TableBytes table{};
    std::copy_n(data, std::min<std::size_t>(size, table.size()), table.begin());

    // Entries that name a kind and a weapon of the model.
    int kindEntries = 0;
    for (int entry = 0; entry < brackel::kTableEntries; ++entry) {
        const std::uint8_t* e = table.data() + entry * 4;
        const int item = e[0] | (e[1] << 8);
        const int position = e[2] == 0 ? 0 : e[2] - 1;
        if (position >= brackel::kWeaponCount)
            continue;
        for (const brackel::KindInfo& k : brackel::kKinds)
            if (k.item == item)
                ++kindEntries;
    }

    const brackel::TableContents first = brackel::decodeTable(table);
    const int count = first.flags.count();
    if (first.remaining > brackel::kTableEntries - count || first.remaining < brackel::kTableEntries - kindEntries)
        __builtin_trap();

    auto encoded = brackel::encodeTable(first.flags);
    if (!encoded) // the decoded flags never need more entries than the table has
        __builtin_trap();
    const brackel::TableContents again = brackel::decodeTable(*encoded);
    if (!(again.flags == first.flags) || again.remaining != brackel::kTableEntries - count)
        __builtin_trap();
    return 0;
}
