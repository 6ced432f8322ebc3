#pragma once

// The two forms of Velloc's item list and the mapping between list
// positions and item numbers.
//
//   short list: positions 0..65 items 0..65, position 66 the header line
//               "--- Ammo ---", positions 67..110 items 71..114
//   full list:  positions 0..350 items 0..350

// standard
#include <string>

// ours
#include "velloc/core/itemtexts.h"

namespace velloc::itemlist {

inline constexpr int kHeaderPosition = 66;
inline constexpr const char* kHeader = "--- Ammo ---";

int count(bool all);
/// The position that shows the item (0 to kItemCount - 1). In the short list an item above 114
/// goes to the last position; items 66..70, which it does not show, go to
/// the first ammunition entry (item 71).
int positionOf(int item, bool all);
/// The item a position (0 to count(all) - 1) shows. The short list's header line stands for
/// item 71, the entry that the selection moves on to from it.
int itemAt(int position, bool all);
/// "12: " followed by the item's short name (8-bit bytes); item 0 to
/// kItemCount - 1.
std::string entry(int item, const ItemTexts& texts);

} // namespace velloc::itemlist
