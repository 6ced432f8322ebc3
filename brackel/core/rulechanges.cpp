#include "brackel/core/rulechanges.h"

// ours
#include "platform/ascii.h"

namespace brackel {

std::string_view kindWord(Kind kind)
{
    switch (kind) {
    case Kind::Silencer: return "silencer";
    case Kind::SniperScope: return "sniper scope";
    case Kind::LaserScope: return "laser scope";
    case Kind::Bipod: return "bipod";
    case Kind::Duckbill: return "duckbill";
    case Kind::Talon: return "talon";
    case Kind::RodAndSpring: return "rod and spring";
    case Kind::Extender: break;
    }
    return "extender";
}

std::vector<std::string> ruleChanges(const Flags& from, const Flags& to, const Names* names)
{
    std::vector<std::string> lines;
    for (int position = 0; position < kWeaponCount; ++position) {
        std::string gains, losses;
        for (const KindInfo& k : kKinds) {
            const bool had = from.get(k.kind, position), has = to.get(k.kind, position);
            if (had == has)
                continue;
            std::string& list = has ? gains : losses;
            list += (has ? " +" : " -") + std::string(kindWord(k.kind));
        }
        if (gains.empty() && losses.empty())
            continue;
        std::string line = std::to_string(position + 1);
        if (names && !names->weaponNames[position].empty())
            line += " " + platform::printableAscii(names->weaponNames[position]);
        lines.push_back(line + ":" + gains + losses);
    }
    return lines;
}

} // namespace brackel
