#include <gtest/gtest.h>

#include <cstring>

#include "shell/size_classes.h"

using namespace kestos;

namespace {

class SizeClassState : public ::testing::Test {
  protected:
    void SetUp() override { resetSizeState(); }
    void TearDown() override { resetSizeState(); }
};

bool sameState(const SizeState& a, const SizeState& b) {
    return a.sizeClass == b.sizeClass && a.windowWidth == b.windowWidth &&
           a.windowHeight == b.windowHeight && a.desktopClass == b.desktopClass &&
           a.lastDesktopWidth == b.lastDesktopWidth && a.lastDesktopHeight == b.lastDesktopHeight &&
           a.scaleX == b.scaleX && a.scaleY == b.scaleY && a.lampDiameter == b.lampDiameter &&
           std::memcmp(&a.barRect, &b.barRect, sizeof a.barRect) == 0 &&
           std::memcmp(a.barX, b.barX, sizeof a.barX) == 0;
}

} // namespace

TEST(SizeClassRules, DesktopClassOfCommonDesktops) {
    const struct {
        int right, bottom, desktopClass;
    } cases[] = {{640, 480, 1},   {800, 600, 2},  {1024, 768, 3},  {1280, 720, 3}, {1280, 960, 4},
                 {1280, 1024, 5}, {1366, 768, 3}, {1920, 1080, 5}, {799, 2000, 1}, {1023, 1024, 2},
                 {1279, 1024, 3}, {1280, 959, 3}, {1280, 1023, 4}, {0, 0, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(desktopClassFor(c.right, c.bottom), c.desktopClass) << c.right << "x" << c.bottom;
}

TEST(SizeClassRules, PlacementExamples) {
    const struct {
        int right, bottom, x, y;
    } cases[] = {
        {1920, 1080, 320, 43}, // class 5, centred
        {1366, 768, 171, 15},  // class 3
        {1280, 720, 128, -9},  // class 3, taller than the desktop
        {1280, 1024, 0, 0},    // class 5, no width to spare
        {1024, 768, 0, 0},     {640, 480, 0, 0},
    };
    for (const auto& c : cases) {
        const SizeClassInfo* info = sizeClassInfo(desktopClassFor(c.right, c.bottom));
        ASSERT_NE(info, nullptr);
        PixelPoint p = windowPlacement(c.right, c.bottom, info->windowWidth, info->windowHeight);
        EXPECT_EQ(p.x, c.x) << c.right << "x" << c.bottom;
        EXPECT_EQ(p.y, c.y) << c.right << "x" << c.bottom;
    }
}

TEST(SizeClassRules, PlacementThresholdIsFiftyPixels) {
    EXPECT_EQ(windowPlacement(1330, 1100, 1280, 994).x, 0);
    EXPECT_EQ(windowPlacement(1330, 1100, 1280, 994).y, 0);
    EXPECT_EQ(windowPlacement(1331, 1100, 1280, 994).x, 25);
    EXPECT_EQ(windowPlacement(1331, 1100, 1280, 994).y, 53);
    // Signed halves truncate toward zero.
    EXPECT_EQ(windowPlacement(1100, 721, 1024, 738).y, -8);
}

TEST(SizeClassRules, TablesHoldThePresets) {
    const int menu[] = {40028, 40029, 40030, 40032, 40031};
    const int widths[] = {640, 800, 1024, 1280, 1280};
    const int screenHeights[] = {480, 600, 768, 960, 1024};
    for (int c = 1; c <= sizeClassCount; ++c) {
        const SizeClassInfo* info = sizeClassInfo(c);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->menuItem, menu[c - 1]);
        EXPECT_EQ(sizeClassForMenuItem(menu[c - 1]), c);
        EXPECT_EQ(info->windowWidth, widths[c - 1]);
        EXPECT_EQ(info->windowHeight, screenHeights[c - 1] - 30);
    }
    EXPECT_EQ(sizeClassInfo(0), nullptr);
    EXPECT_EQ(sizeClassInfo(6), nullptr);
    EXPECT_EQ(sizeClassForMenuItem(40033), 0);
    EXPECT_STREQ(sizeClassInfo(4)->menuCaption, "1280x960");
    EXPECT_EQ(sizeClassInfo(5)->pageValueFont.height, 65);
    EXPECT_EQ(sizeClassInfo(1)->pageLabelFont.width, 6);
    EXPECT_EQ(labelFont.height, 18);
}

TEST(SizeClassRules, SizeItemsEnabledUpToTheDesktopClass) {
    for (int d = 1; d <= sizeClassCount; ++d)
        for (int c = 1; c <= sizeClassCount; ++c)
            EXPECT_EQ(sizeItemEnabled(d, c), c <= d);
    // 1024 x 768: only the first three.
    int d = desktopClassFor(1024, 768);
    EXPECT_TRUE(sizeItemEnabled(d, 3));
    EXPECT_FALSE(sizeItemEnabled(d, 4));
    EXPECT_FALSE(sizeItemEnabled(0, 1));
    EXPECT_FALSE(sizeItemEnabled(6, 1));
}

TEST(SizeClassRules, SchemaLayouts) {
    SchemaLayout one = schemaLayoutFor(1, 634, 421);
    EXPECT_TRUE(one.barsShown);
    EXPECT_EQ(one.maxX, 361);
    EXPECT_EQ(one.maxY, 266);
    EXPECT_EQ(one.view.width, 600);
    EXPECT_EQ(one.hBar.y, 380);
    EXPECT_EQ(one.vBar.x, 610);
    SchemaLayout two = schemaLayoutFor(2, 794, 541);
    EXPECT_TRUE(two.barsShown);
    EXPECT_EQ(two.maxX, 211);
    EXPECT_EQ(two.maxY, 151);
    EXPECT_EQ(two.hBar.height, 20);
    SchemaLayout three = schemaLayoutFor(3, 1018, 709);
    EXPECT_FALSE(three.barsShown);
    EXPECT_EQ(three.view.x, 28);
    EXPECT_EQ(three.view.y, 36);
    EXPECT_EQ(three.view.width, 961);
    EXPECT_EQ(three.view.height, 636);
    // A client area narrower than the picture: halves truncate toward zero.
    EXPECT_EQ(schemaLayoutFor(5, 950, 600).view.x, -5);
    EXPECT_EQ(schemaLayoutFor(5, 950, 600).view.y, -18);
}

TEST_F(SizeClassState, StartValues) {
    EXPECT_EQ(sizeState.sizeClass, 1);
    EXPECT_EQ(sizeState.windowWidth, 0);
    EXPECT_EQ(sizeState.desktopClass, 0);
    EXPECT_DOUBLE_EQ(sizeState.scaleX, 0.8);
    EXPECT_DOUBLE_EQ(sizeState.scaleY, 0.77);
    EXPECT_EQ(sizeState.lampDiameter, 30);
}

TEST_F(SizeClassState, MarkingSetsScalesAndBars) {
    ASSERT_TRUE(markSizeClassValues(3));
    EXPECT_DOUBLE_EQ(sizeState.scaleX, 1.28);
    EXPECT_DOUBLE_EQ(sizeState.scaleY, 1.32);
    EXPECT_EQ(sizeState.barRect.top, 211);
    EXPECT_EQ(sizeState.barRect.right, 92);
    EXPECT_EQ(sizeState.barRect.bottom, 243);
    EXPECT_EQ(sizeState.barX[0], 180);
    EXPECT_EQ(sizeState.barX[3], 462);
    // Fonts and lamp go with the paint, not with the marking.
    EXPECT_EQ(sizeState.lampDiameter, 30);
    ASSERT_TRUE(selectClassLamp(3));
    EXPECT_EQ(sizeState.lampDiameter, 40);
}

TEST_F(SizeClassState, MarkingAClassOutsideOneToFiveChangesNothing) {
    markSizeClassValues(4);
    selectSizeClass(4);
    const SizeState before = sizeState;
    for (int c : {0, 6, -1, 100}) {
        EXPECT_FALSE(markSizeClassValues(c)) << c;
        EXPECT_FALSE(selectClassLamp(c)) << c;
        EXPECT_FALSE(selectSizeClass(c)) << c;
        EXPECT_TRUE(sameState(sizeState, before)) << c;
    }
}

TEST_F(SizeClassState, SelectingAClassSetsTheWindowSize) {
    ASSERT_TRUE(selectSizeClass(5));
    EXPECT_EQ(sizeState.sizeClass, 5);
    EXPECT_EQ(sizeState.windowWidth, 1280);
    EXPECT_EQ(sizeState.windowHeight, 994);
}

TEST_F(SizeClassState, DesktopClassIsStoredEvenWhenOutOfRange) {
    EXPECT_TRUE(storeDesktopClass(3));
    EXPECT_EQ(sizeState.desktopClass, 3);
    EXPECT_FALSE(storeDesktopClass(9));
    EXPECT_EQ(sizeState.desktopClass, 9);
}

TEST_F(SizeClassState, DesktopChangesAreNoticed) {
    EXPECT_TRUE(noteDesktopSize(1920, 1080));
    EXPECT_FALSE(noteDesktopSize(1920, 1080));
    EXPECT_TRUE(noteDesktopSize(1920, 1200));
    EXPECT_EQ(sizeState.lastDesktopHeight, 1200);
}

TEST_F(SizeClassState, ScaledCoordinatesTruncateTowardZero) {
    EXPECT_EQ(scaledX(635), 508); // class 1 values at start
    EXPECT_EQ(scaledY(470), 361); // 361.9
    EXPECT_EQ(scaledX(-5), -4);
    markSizeClassValues(2);
    EXPECT_EQ(scaledX(635), 635);
    EXPECT_EQ(scaledY(470), 470);
    markSizeClassValues(5);
    EXPECT_EQ(scaledX(635), 1016);
    EXPECT_EQ(scaledY(470), 850); // 850.7
}
