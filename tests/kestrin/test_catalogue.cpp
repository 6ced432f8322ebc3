// The starting-kit catalogue: item numbers unique and complete, ammunition
// that fits the caliber shown, names that agree with their menu texts, and
// lookups that lead back to the entry whose choice writes the number.

// standard
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "kestrin/core/catalogue.h"

namespace kestrin::catalogue {
namespace {

std::string str(const char* s) { return s ? s : ""; }

TEST(Catalogue, WeaponItemsAreTheKnownNumbersEachOnce)
{
    std::multiset<int> items;
    for (const auto& w : weapons())
        items.insert(w.weapon);
    std::multiset<int> known{41, 51, 55, 56, 61, 65};
    for (int n = 0; n <= 36; ++n)
        known.insert(n);
    EXPECT_EQ(items, known);
}

TEST(Catalogue, AmmunitionFitsTheCaliberShown)
{
    const std::map<std::string, int> ammoOf = {
        {"9mm", 74}, {".38", 78}, {".357", 89}, {".45", 83}, {"5.56mm", 94}, {"5.45mm", 92}, {"5.7mm", 105},
        {"7.62mm WP", 97}, {"7.62mm NATO", 101}, {"4.7mm", 104}, {"12 Gauge", 107}, {"CAWS", 109},
        {"Mini-rockets", 113}, {"Dart", 114}};
    // Entries that show no caliber carry their own number.
    const std::map<std::string, int> noCaliber = {{"None5", 0}, {"LAw1", 0}, {"Mortar1", 140}};
    for (const auto& w : weapons()) {
        SCOPED_TRACE(w.component);
        const std::string caliber = w.display.caliber;
        if (caliber.empty()) {
            ASSERT_TRUE(noCaliber.count(w.component));
            EXPECT_EQ(w.ammo, noCaliber.at(w.component));
        } else {
            ASSERT_TRUE(ammoOf.count(caliber)) << caliber;
            EXPECT_EQ(w.ammo, ammoOf.at(caliber));
        }
    }
}

TEST(Catalogue, WeaponMenuGroupsAndShownNamesAgree)
{
    // Each group's entries stand together, in the order of the groups, and
    // the shown name is the caption with its spacing tidied.
    std::vector<std::string> groupsSeen;
    for (const auto& w : weapons()) {
        SCOPED_TRACE(w.component);
        if (!w.group) {
            EXPECT_EQ(w.weapon, 0);
            continue;
        }
        if (groupsSeen.empty() || groupsSeen.back() != w.group)
            groupsSeen.push_back(w.group);
        std::string caption = w.caption;
        for (auto pos = caption.find("  "); pos != std::string::npos; pos = caption.find("  "))
            caption.erase(pos, 1);
        EXPECT_EQ(str(w.display.name), caption);
    }
    std::vector<std::string> captions;
    for (const auto& g : weaponGroups())
        captions.push_back(g.caption);
    EXPECT_EQ(groupsSeen, captions);
}

TEST(Catalogue, ArmourNamesFollowTheirMenuPaths)
{
    for (auto entries : {helmets(), vests()}) {
        for (const auto& e : entries) {
            SCOPED_TRACE(e.component);
            // "Improved vests" > "Comp. 18" > "Kevlarvest" shows "Comp. 18 Kevlarvest".
            const std::string shown = e.path[1] ? str(e.path[1]) + " " + str(e.path[2]) : str(e.path[0]);
            EXPECT_EQ(str(e.shown), shown);
            EXPECT_EQ(e.path[1] == nullptr, e.path[2] == nullptr);
        }
    }
}

TEST(Catalogue, LookupsFindTheEntryThatWritesTheNumber)
{
    for (const auto& w : weapons())
        EXPECT_EQ(WeaponEntryFor(w.weapon), &w) << w.component;
    for (const auto& a : attachments())
        EXPECT_EQ(ModificationEntryFor(a.item), &a) << a.component1;
    for (const auto& h : helmets())
        EXPECT_EQ(HelmetEntryFor(h.item), &h) << h.component;
    for (const auto& v : vests())
        EXPECT_EQ(VestEntryFor(v.item), &v) << v.component;
}

TEST(Catalogue, NumbersOutsideTheCatalogueFindNothing)
{
    for (int n : {40, 37, 255, -1, 74})
        EXPECT_EQ(WeaponEntryFor(n), nullptr) << n;
    for (int n : {242, 1, 210, 243, 245})
        EXPECT_EQ(ModificationEntryFor(n), nullptr) << n;
    for (int n : {183, 175, 161, -1})
        EXPECT_EQ(HelmetEntryFor(n), nullptr) << n;
    for (int n : {170, 160, 196, 200, 176, 183})
        EXPECT_EQ(VestEntryFor(n), nullptr) << n;
    // The plates have two states only.
    EXPECT_EQ(CeramicStateFor(0), false);
    EXPECT_EQ(CeramicStateFor(kCeramicPlates), true);
    for (int n : {1, 182, 184, -183, 255})
        EXPECT_EQ(CeramicStateFor(n), std::nullopt) << n;
}

} // namespace
} // namespace kestrin::catalogue
