#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// A box of positive size wholly inside a width x height area.
bool within(const PixelBox& b, int width, int height) {
    return b.x >= 0 && b.y >= 0 && b.width > 0 && b.height > 0 && b.x + b.width <= width &&
           b.y + b.height <= height;
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

// A 40-pixel taskbar at the bottom, or one at the top or left: the window is centred in what is
// left and its title bar stays on screen.
TEST(SizeClassRules, PlacementInTheWorkArea) {
    const struct {
        int left, top, right, bottom, width, height, x, y;
    } cases[] = {
        {0, 0, 1366, 728, 1024, 738, 171, 0},    // taller than the work area: the top stays
        {0, 0, 1920, 1040, 1280, 994, 320, 23},  // above a bottom taskbar
        {0, 40, 1920, 1080, 1280, 994, 320, 63}, // below a top taskbar
        {60, 0, 1366, 768, 1024, 738, 201, 15},  // right of a left taskbar
        {0, 0, 1024, 728, 1024, 738, 0, 0},      // no width to spare
    };
    for (const auto& c : cases) {
        const PixelPoint p =
            windowPlacementInWorkArea(c.left, c.top, c.right, c.bottom, c.width, c.height);
        EXPECT_EQ(p.x, c.x) << c.left << "," << c.top << " " << c.right << "x" << c.bottom;
        EXPECT_EQ(p.y, c.y) << c.left << "," << c.top << " " << c.right << "x" << c.bottom;
    }
}

TEST(SizeClassRules, EachClassIsTheScreenOfItsMenuItemAndGrowsFromTheLast) {
    for (int c = 1; c <= sizeClassCount; ++c) {
        const SizeClassInfo& info = *sizeClassInfo(c);
        EXPECT_EQ(sizeClassForMenuItem(info.menuItem), c);
        // The caption names the screen; the window leaves 30 pixels of its height.
        std::string screen = std::to_string(info.windowWidth);
        screen += 'x';
        screen += std::to_string(info.windowHeight + 30);
        EXPECT_EQ(info.menuCaption, screen) << c;
        if (c == 1) continue;
        const SizeClassInfo& last = *sizeClassInfo(c - 1);
        EXPECT_GE(info.windowWidth, last.windowWidth) << c;
        EXPECT_GT(info.windowHeight, last.windowHeight) << c;
        EXPECT_GE(info.scaleX, last.scaleX) << c;
        EXPECT_GT(info.scaleY, last.scaleY) << c;
        EXPECT_GT(info.lampDiameter, last.lampDiameter) << c;
        EXPECT_GE(info.pageValueFont.height, last.pageValueFont.height) << c;
        EXPECT_GE(info.pageLabelFont.height, last.pageLabelFont.height) << c;
    }
    EXPECT_EQ(sizeClassInfo(0), nullptr);
    EXPECT_EQ(sizeClassInfo(sizeClassCount + 1), nullptr);
    EXPECT_EQ(sizeClassForMenuItem(IDM_PAGE_READINGS), 0);
}

// The page is smaller than the window by its frame, caption and menu bar; the GUI tests see
// each control where the real page puts it.
TEST(SizeClassRules, EveryControlOfEveryClassLiesInItsWindow) {
    for (int c = 1; c <= sizeClassCount; ++c) {
        const SizeClassInfo& k = *sizeClassInfo(c);
        const int w = k.windowWidth, h = k.windowHeight;
        EXPECT_TRUE(within(k.learnButton, w, h)) << c;
        EXPECT_TRUE(within(k.reset.button, w, h)) << c;
        EXPECT_TRUE(within(k.scope.cursorBar, w, h)) << c;
        // The Reset statics have one width in every class and the cursor check box room for
        // its longest caption: they may run past the right edge, where the page clips them.
        std::vector<PixelBox> clippedRight = {
            {k.reset.title.x, k.reset.title.y, 1, resetStaticHeight},
            {k.reset.note.x, k.reset.note.y, 1, resetStaticHeight}};
        if (k.scope.checkMoved)
            clippedRight.push_back(
                {k.scope.cursorCheck.x, k.scope.cursorCheck.y, 1, k.scope.cursorCheck.height});
        for (const PixelBox& b : clippedRight)
            EXPECT_TRUE(within(b, w, h)) << c << ": " << b.x << "," << b.y;
        // The four fuel bars stand side by side.
        for (int i = 0; i < barCount; ++i) {
            const PixelBox bar = {k.barX[i] + k.barRect.left, k.barRect.top,
                                  k.barRect.right - k.barRect.left,
                                  k.barRect.bottom - k.barRect.top};
            EXPECT_TRUE(within(bar, w, h)) << c << ": bar " << i;
            if (i > 0) {
                EXPECT_GE(bar.x, k.barX[i - 1] + k.barRect.right) << c << ": bar " << i;
            }
        }
        // The Schema page shows the whole picture, centred, or a view onto it with a bar under
        // it and one beside it.
        const SchemaLayout s = schemaLayoutFor(c, w, h);
        if (!s.barsShown) {
            EXPECT_TRUE(within(s.view, w, h)) << c;
            EXPECT_LE(std::abs(s.view.x - (w - s.view.x - s.view.width)), 1) << c;
            EXPECT_LE(std::abs(s.view.y - (h - s.view.y - s.view.height)), 1) << c;
            continue;
        }
        for (const PixelBox& b : {s.view, s.hBar, s.vBar})
            EXPECT_TRUE(within(b, w, h)) << c;
        const PixelBox& v = s.view;
        const PixelBox under = {v.x, v.y + v.height, v.width, s.hBar.height},
                       beside = {v.x + v.width, v.y, s.vBar.width, v.height};
        EXPECT_EQ(std::memcmp(&s.hBar, &under, sizeof under), 0) << c;
        EXPECT_EQ(std::memcmp(&s.vBar, &beside, sizeof beside), 0) << c;
        // Scrolled to its limits, the view shows the picture's last column and row.
        EXPECT_EQ(s.maxX + s.view.width, schemaBitmapWidth) << c;
        EXPECT_EQ(s.maxY + s.view.height, schemaBitmapHeight) << c;
    }
    // A client area narrower than the picture: halves truncate toward zero.
    EXPECT_EQ(schemaLayoutFor(5, 950, 600).view.x, -5);
    EXPECT_EQ(schemaLayoutFor(5, 950, 600).view.y, -18);
}

TEST(SizeClassRules, SizeItemsEnabledUpToTheDesktopClass) {
    for (int d = 1; d <= sizeClassCount; ++d)
        for (int c = 1; c <= sizeClassCount; ++c)
            EXPECT_EQ(sizeItemEnabled(d, c), c <= d);
    EXPECT_FALSE(sizeItemEnabled(0, 1));
    EXPECT_FALSE(sizeItemEnabled(6, 1));
}

TEST_F(SizeClassState, ChoosingAClassTakesItsRow) {
    for (int c = 1; c <= sizeClassCount; ++c) {
        const SizeClassInfo& k = *sizeClassInfo(c);
        const int lamp = sizeState.lampDiameter;
        ASSERT_TRUE(selectSizeClass(c));
        ASSERT_TRUE(markSizeClassValues(c));
        EXPECT_EQ(sizeState.sizeClass, c);
        EXPECT_EQ(sizeState.windowWidth, k.windowWidth) << c;
        EXPECT_EQ(sizeState.windowHeight, k.windowHeight) << c;
        EXPECT_DOUBLE_EQ(sizeState.scaleX, k.scaleX) << c;
        EXPECT_DOUBLE_EQ(sizeState.scaleY, k.scaleY) << c;
        EXPECT_EQ(std::memcmp(&sizeState.barRect, &k.barRect, sizeof k.barRect), 0) << c;
        EXPECT_EQ(std::memcmp(sizeState.barX, k.barX, sizeof k.barX), 0) << c;
        EXPECT_EQ(sizeState.lampDiameter, lamp)
            << "the lamp goes with the fonts, when the page paints";
        ASSERT_TRUE(selectClassLamp(c));
        EXPECT_EQ(sizeState.lampDiameter, k.lampDiameter) << c;
    }
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
    EXPECT_EQ(sizeState.sizeClass, 1);
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
