#include "velloc/core/itemlist.h"

// standard
#include <cassert>

namespace velloc::itemlist {

int count(bool all)
{
    return all ? kItemCount : 111;
}

int positionOf(int item, bool all)
{
    assert(item >= 0 && item < kItemCount);
    if (all || item < kHeaderPosition)
        return item;
    if (item <= 70)
        return kHeaderPosition + 1;
    if (item <= 114)
        return item - 4;
    return 110;
}

int itemAt(int position, bool all)
{
    assert(position >= 0 && position < count(all));
    if (all || position < kHeaderPosition)
        return position;
    if (position == kHeaderPosition)
        return 71;
    return position + 4;
}

std::string entry(int item, const ItemTexts& texts)
{
    assert(item >= 0 && item < kItemCount);
    return std::to_string(item) + ": " + texts.shortNames[item];
}

} // namespace velloc::itemlist
