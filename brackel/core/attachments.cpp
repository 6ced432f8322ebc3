#include "brackel/core/attachments.h"

namespace brackel {

// The .brk file keeps its own order of the eight digits: silencer, duckbill,
// laser scope, talon, bipod, sniper scope, rod and spring, extender.
const std::array<KindInfo, kKindCount> kKinds = {{
    {Kind::Silencer, 207, "cbsilencer", "Silencer", 0},
    {Kind::SniperScope, 208, "cbzoom", "Sniper Scope", 5},
    {Kind::LaserScope, 241, "cblaserpointer", "Laser Scope", 2},
    {Kind::Bipod, 209, "cbbipod", "Bipod", 4},
    {Kind::Duckbill, 244, "cbduckbill", "Duckbill", 1},
    {Kind::Talon, 50, "cbtalon", "Talon", 3},
    {Kind::RodAndSpring, 307, "cbfb", "Rod && Spring", 6},
    {Kind::Extender, 310, "cblv", "Extender", 7},
}};

int Flags::count() const
{
    int n = 0;
    for (const auto& kind : bits_)
        n += static_cast<int>(kind.count());
    return n;
}

} // namespace brackel
