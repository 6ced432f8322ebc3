#include "velloc/core/itemlist.h"

namespace velloc::itemlist {

int count(bool all)
{
    return all ? kItemCount : 111;
}

int positionOf(int item, bool all)
{
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
    if (all || position < kHeaderPosition)
        return position;
    if (position == kHeaderPosition)
        return 71;
    return position + 4;
}

std::string entry(int item, const ItemTexts& texts)
{
    return std::to_string(item) + ": " + texts.shortNames[item];
}

} // namespace velloc::itemlist
