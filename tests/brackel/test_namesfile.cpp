// Weapon names and box captions from names.def.

// standard
#include <array>
#include <optional>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "brackel/core/namesfile.h"

using namespace brackel;

namespace {

using Lines = std::vector<std::string>;

const std::array<std::string, kKindCount> kDefaultCaptions = {
    "Silencer", "Sniper Scope", "Laser Scope", "Bipod", "Duckbill", "Talon", "Rod && Spring", "Extender"};

} // namespace

TEST(CheckForAnd, DoublesEveryAmpersand)
{
    EXPECT_EQ(checkforand("Rod & Spring"), "Rod && Spring");
    EXPECT_EQ(checkforand("A & B & C"), "A && B && C");
    EXPECT_EQ(checkforand("&&"), "&&&&");
    EXPECT_EQ(checkforand("Bipod"), "Bipod");
    EXPECT_EQ(checkforand(""), "");
}

TEST(ParseNames, WithoutModeLineGivesDefaults)
{
    for (const Lines& lines : {Lines{}, Lines{"[head]", "mode=other", "", "[07]", "name=Rifle", "[50]", "name=T"}}) {
        const Names names = parseNames(lines);
        for (const std::string& name : names.weaponNames)
            EXPECT_EQ(name, "");
        EXPECT_EQ(names.captions, kDefaultCaptions);
    }
}

// One section after the mode line: which weapon name and which caption it gives.
TEST(ParseNames, OneSection)
{
    // weapon: the game item whose name the line sets (0: none); kind: the caption it sets.
    struct Row { std::string header, line; int weapon; std::optional<Kind> kind; std::string caption; };
    const Row rows[] = {
        {"[07]", "name=Rifle & Co", 7, std::nullopt, ""}, // weapon names keep a single "&"
        {"[65]", "name=Last", 65, std::nullopt, ""},
        {"[07]", "name= Padded ", 7, std::nullopt, ""},   // taken without trimming
        {"[07]", "lname=Long Rifle", 0, std::nullopt, ""},
        {"[07]", "desc=A rifle", 0, std::nullopt, ""},
        {"[0]", "name=Nothing", 0, std::nullopt, ""},
        {"[66]", "name=Vest", 0, std::nullopt, ""},
        {"[50]", "name=Talon & Hook", 50, Kind::Talon, "Talon && Hook"},
        {"[50]", "lname=Long Talon", 0, std::nullopt, ""},
        {"[310]", "name=Mag & Clip", 0, Kind::Extender, "Mag && Clip"},
        {"[207]", "lname=Can & Co", 0, Kind::Silencer, "Can && Co"},
        {"[207]", "name=Can", 0, std::nullopt, ""},
        {"[208]", "lname=Zoom", 0, Kind::SniperScope, "Zoom"},
        {"[241]", "lname=Red Dot", 0, Kind::LaserScope, "Red Dot"},
        {"[209]", "lname=Legs", 0, Kind::Bipod, "Legs"},
        {"[244]", "lname=Flat Tip", 0, Kind::Duckbill, "Flat Tip"},
        {"[307]", "lname=Rod & Spring", 0, Kind::RodAndSpring, "Rod && Spring"},
        {"[abc]", "name=Bad", 0, std::nullopt, ""},
        {"[", "name=Bad", 0, std::nullopt, ""},
        {"[]", "name=Bad", 0, std::nullopt, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.header + " " + row.line);
        const Names names = parseNames({"[head]", "mode=velloc", "", row.header, row.line});
        std::array<std::string, kWeaponCount> weapons;
        if (row.weapon)
            weapons[row.weapon - 1] = row.line.substr(row.line.find('=') + 1);
        std::array<std::string, kKindCount> captions = kDefaultCaptions;
        if (row.kind)
            captions[static_cast<int>(*row.kind)] = row.caption;
        EXPECT_EQ(names.weaponNames, weapons);
        EXPECT_EQ(names.captions, captions);
    }
}

TEST(ParseNames, SectionsEndAtEmptyLinesAndLaterOnesWin)
{
    const Names names = parseNames({
        "[02]", "name=Before the mode line",
        "[head]", "mode=velloc", "",
        "[02]", "name=Pistol", "desc=A pistol", "", "name=After the empty line",
        "[03]", "name=Old", "", "[03]", "name=New",
        "[04]", "name=Shotgun", "[abc]", "name=Not the shotgun",
        "[", "name=Nothing", "[]", "name=Nothing",
        "[05]", "name=Carbine", "",
        "[209]", "lname=Old Legs", "", "[209]", "lname=New Legs",
    });
    EXPECT_EQ(names.weaponNames[0], "");
    EXPECT_EQ(names.weaponNames[1], "Pistol");
    EXPECT_EQ(names.weaponNames[2], "New");
    EXPECT_EQ(names.weaponNames[3], "Shotgun");
    EXPECT_EQ(names.weaponNames[4], "Carbine");
    EXPECT_EQ(names.captions[static_cast<int>(Kind::Bipod)], "New Legs");
    for (int i = 5; i < kWeaponCount; ++i)
        EXPECT_EQ(names.weaponNames[i], "") << i;
}
