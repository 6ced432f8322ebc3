// The starting-kit catalogue: entry by entry as the kit's tables give it
// (kittables.h), item numbers unique and complete, menu names unique,
// ammunition that fits the caliber shown, names that agree with their menu
// texts, and lookups that lead back to the entry whose choice writes the
// number.

// standard
#include <algorithm>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "kestrin/core/catalogue.h"
#include "tests/kestrin/kittables.h"

namespace kestrin::catalogue {
namespace {

std::string str(const char* s) { return s ? s : ""; }

TEST(Catalogue, WeaponsAreTheKitTableInMenuOrder)
{
    ASSERT_EQ(weapons().size(), std::size(kittables::kWeapons));
    for (std::size_t i = 0; i < weapons().size(); ++i) {
        const WeaponEntry& w = weapons()[i];
        const kittables::Weapon& row = kittables::kWeapons[i];
        SCOPED_TRACE(row.entry);
        EXPECT_EQ(str(w.group), str(row.group));
        EXPECT_EQ(str(w.component), row.entry);
        EXPECT_EQ(str(w.caption), row.caption);
        EXPECT_EQ(w.weapon, row.item);
        EXPECT_EQ(w.ammo, kittables::ammoOf(row));
        const WeaponDisplay& d = w.display;
        const std::vector<std::string> shown = {str(d.name),   str(d.caliber), str(d.capability), str(d.weightKg),
                                                str(d.weightLb), str(d.damage), str(d.range),      str(d.ap),
                                                str(d.burst),  str(d.apBurst)};
        EXPECT_EQ(shown, std::vector<std::string>(std::begin(row.shown), std::end(row.shown)));
    }
    ASSERT_EQ(weaponGroups().size(), std::size(kittables::kWeaponGroups));
    for (std::size_t i = 0; i < weaponGroups().size(); ++i) {
        EXPECT_EQ(str(weaponGroups()[i].caption), kittables::kWeaponGroups[i].caption);
        if (kittables::kWeaponGroups[i].component) {
            EXPECT_EQ(str(weaponGroups()[i].component), kittables::kWeaponGroups[i].component);
        }
    }
}

TEST(Catalogue, AttachmentsAreTheKitTableInMenuOrder)
{
    ASSERT_EQ(attachments().size(), std::size(kittables::kAttachments));
    for (std::size_t i = 0; i < attachments().size(); ++i) {
        const AttachmentEntry& a = attachments()[i];
        const kittables::Attachment& row = kittables::kAttachments[i];
        SCOPED_TRACE(row.entry1);
        EXPECT_EQ(str(a.component1), row.entry1);
        EXPECT_EQ(str(a.caption1), row.caption1);
        EXPECT_EQ(str(a.component2), row.entry2);
        EXPECT_EQ(str(a.caption2), row.caption2);
        EXPECT_EQ(str(a.shown), row.shown);
        EXPECT_EQ(a.item, row.item);
    }
}

TEST(Catalogue, HelmetsVestsAndPlatesAreTheKitTableInMenuOrder)
{
    auto expectTable = [](std::span<const ArmourEntry> entries, std::span<const kittables::Armour> rows,
                          std::span<const MenuGroup> groups, std::span<const kittables::MenuGroup> groupRows) {
        ASSERT_EQ(entries.size(), rows.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            SCOPED_TRACE(rows[i].entry);
            for (int part = 0; part < 3; ++part)
                EXPECT_EQ(str(entries[i].path[part]), str(rows[i].path[part])) << part;
            EXPECT_EQ(str(entries[i].component), rows[i].entry);
            EXPECT_EQ(str(entries[i].shown), rows[i].shown);
            EXPECT_EQ(entries[i].item, rows[i].item);
            EXPECT_EQ(entries[i].armour, rows[i].armour);
        }
        ASSERT_EQ(groups.size(), groupRows.size());
        for (std::size_t i = 0; i < groups.size(); ++i) {
            EXPECT_EQ(str(groups[i].caption), groupRows[i].caption);
            EXPECT_EQ(str(groups[i].component), groupRows[i].component);
        }
    };
    expectTable(helmets(), kittables::kHelmets, helmetGroups(), kittables::kHelmetGroups);
    expectTable(vests(), kittables::kVests, vestGroups(), kittables::kVestGroups);
    EXPECT_EQ(kCeramicPlates, kittables::kCeramicPlates);
    EXPECT_EQ(kCeramicArmour, kittables::kCeramicArmour);
}

TEST(Catalogue, MenuNamesAndItemNumbersAreEachUsedOnce)
{
    // The window finds every menu entry and sub-menu by its name, so no two
    // may share one; within a list no two entries share an item number.
    std::multiset<std::string> names;
    for (const auto& w : weapons())
        names.insert(w.component);
    for (const auto& a : attachments())
        names.insert({a.component1, a.component2});
    for (auto entries : {helmets(), vests()})
        for (const auto& e : entries)
            names.insert(e.component);
    for (auto groups : {weaponGroups(), helmetGroups(), vestGroups()})
        for (const auto& g : groups)
            names.insert(g.component);
    for (const std::string& name : names)
        EXPECT_EQ(names.count(name), 1u) << name;

    auto expectUnique = [](const std::vector<int>& items, const char* list) {
        EXPECT_EQ(std::set<int>(items.begin(), items.end()).size(), items.size()) << list;
    };
    std::vector<int> items;
    for (const auto& a : attachments())
        items.push_back(a.item);
    expectUnique(items, "attachments");
    items.clear();
    for (const auto& h : helmets())
        items.push_back(h.item);
    expectUnique(items, "helmets");
    items.clear();
    for (const auto& v : vests())
        items.push_back(v.item);
    expectUnique(items, "vests");
}

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
    std::map<std::string, int> ammoOf;
    for (const kittables::Caliber& c : kittables::kCalibers)
        ammoOf[c.caliber] = c.ammo;
    ASSERT_EQ(ammoOf.size(), std::size(kittables::kCalibers));
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
