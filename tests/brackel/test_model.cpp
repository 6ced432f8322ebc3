// The editing rules of the attachment model: the count of free entries
// bounds what may be ticked.

// GoogleTest
#include <gtest/gtest.h>

// ours
#include "brackel/core/attachmentmodel.h"

using namespace brackel;

TEST(AttachmentModel, LastFreeEntryCanBeTakenOnce)
{
    AttachmentModel model;
    model.load(Flags{}, 1);
    model.selectWeapon(10);
    EXPECT_TRUE(model.click(Kind::Silencer, true));
    EXPECT_TRUE(model.currentFlags().get(Kind::Silencer, 10));
    EXPECT_EQ(model.remainingEntries(), 0);

    EXPECT_FALSE(model.click(Kind::Bipod, true)); // refused: the box must show clear
    EXPECT_EQ(model.currentFlags().count(), 1);
    EXPECT_EQ(model.remainingEntries(), 0);
    EXPECT_TRUE(model.click(Kind::Silencer, true)); // already set: takes nothing
    EXPECT_EQ(model.remainingEntries(), 0);

    for (int position : {20, -1, 65}) // out-of-range selections are ignored
        model.selectWeapon(position);
    EXPECT_EQ(model.currentWeapon(), 20);
    EXPECT_FALSE(model.click(Kind::Silencer, false)); // already clear: frees nothing
    EXPECT_EQ(model.remainingEntries(), 0);
    model.selectWeapon(10);

    EXPECT_FALSE(model.click(Kind::Silencer, false));
    EXPECT_EQ(model.remainingEntries(), 1);
    EXPECT_EQ(model.currentFlags().count(), 0);
}

TEST(AttachmentModel, ClearAllAndResetAll)
{
    Flags loaded;
    loaded.set(Kind::Silencer, 0, true);
    loaded.set(Kind::Duckbill, 30, true);
    loaded.set(Kind::Extender, 64, true);
    AttachmentModel model;
    model.load(loaded, 170); // a count from a file need not match the flags

    model.selectWeapon(30);
    model.click(Kind::Duckbill, false);
    model.click(Kind::Bipod, true);
    model.clearAll();
    EXPECT_EQ(model.currentFlags().count(), 0);
    EXPECT_EQ(model.remainingEntries(), 182);
    EXPECT_TRUE(model.loadedFlags() == loaded);
    EXPECT_EQ(model.loadedRemaining(), 170);

    model.selectWeapon(5);
    model.click(Kind::LaserScope, true);
    model.resetAll();
    EXPECT_TRUE(model.currentFlags() == loaded);
    EXPECT_EQ(model.remainingEntries(), 170);
}

TEST(AttachmentModel, NegativeCountNeverLetsAFlagBeSet)
{
    Flags loaded;
    loaded.set(Kind::Bipod, 2, true);
    AttachmentModel model;
    model.load(loaded, -2);
    model.selectWeapon(2);
    EXPECT_FALSE(model.click(Kind::Bipod, false));
    EXPECT_EQ(model.remainingEntries(), -1);
    for (int k = 0; k < kKindCount; ++k)
        EXPECT_FALSE(model.click(static_cast<Kind>(k), true)) << k;
    EXPECT_EQ(model.currentFlags().count(), 0);
    EXPECT_EQ(model.remainingEntries(), -1);
}
