#include <gtest/gtest.h>

#include <cmath>

#include "link/device_link.h"
#include "link/params.h"
#include "pages/readings/dial.h"
#include "pages/readings/readings_view.h"
#include "shell/size_classes.h"
#include "tests/unit/recording_canvas.h"

using namespace kestos;

namespace {

struct DialFixture : ::testing::Test {
    void SetUp() override {
        resetLink();
        resetReadingsState();
        resetSizeState();
        markSizeClassValues(2);
        buildDialTables();
    }
};

using Dial = DialFixture;

} // namespace

TEST_F(Dial, NeedleTableHoldsTheListedPoints) {
    const struct {
        int n, x, y;
    } points[] = {{0, 30, 187}, {20, 15, 130}, {80, 130, 15}, {140, 245, 130}, {160, 230, 187}};
    for (const auto& p : points) {
        EXPECT_EQ(dialTables.needleTip.x[p.n], p.x) << p.n;
        EXPECT_EQ(dialTables.needleTip.y[p.n], p.y) << p.n;
    }
}

TEST_F(Dial, EveryTableIsMirroredAboutTheVerticalAndLiesOnItsCircle) {
    const struct {
        const PointTable161* table;
        int radius;
    } tables[] = {
        {&dialTables.needleTip, 115}, {&dialTables.tickOuter, 124}, {&dialTables.needleHub, 20}};
    for (const auto& t : tables) {
        for (int n = 0; n < arcPoints; ++n) {
            EXPECT_EQ(t.table->x[n] + t.table->x[160 - n], 260) << t.radius << " " << n;
            EXPECT_EQ(t.table->y[n], t.table->y[160 - n]) << t.radius << " " << n;
            const int dx = t.table->x[n] - 130, dy = t.table->y[n] - 130;
            EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), t.radius, 1.0) << t.radius << " " << n;
        }
    }
    // The inner tick ends are every 20th and every 4th point of their own circles.
    EXPECT_EQ(dialTables.majorTickInnerX[4], 130);
    EXPECT_EQ(dialTables.majorTickInnerY[4], 20);
    EXPECT_EQ(dialTables.minorTickInnerX[0], dialTables.needleTip.x[0]);
    EXPECT_EQ(dialTables.minorTickInnerY[40], dialTables.needleTip.y[160]);
}

TEST_F(Dial, SpeedPicksItsNeedlePosition) {
    const struct {
        unsigned rpm, index;
    } cases[] = {{0, 0}, {49, 0}, {50, 1}, {4000, 80}, {7999, 159}, {8000, 160}, {15000, 160}};
    for (const auto& c : cases)
        EXPECT_EQ(dialIndexFor(c.rpm), c.index) << c.rpm;
}

TEST_F(Dial, NeedleIsErasedWhereItWasAndDrawnWhereItIs) {
    RecordingCanvas c;
    readingsState.dialIndex = 80;
    readingsState.engineSpeed = 8000;
    drawTachometer(c);
    auto lines = c.all(DrawOp::line);
    ASSERT_GE(lines.size(), 3u);
    // Erasing: black from the hub to the tip at position 80 (straight up), dial at (495, 40).
    EXPECT_EQ(lines[0]->pen, Pen::black4);
    EXPECT_EQ(lines[0]->c, 495 + 130);
    EXPECT_EQ(lines[0]->d, 40 + 15);
    EXPECT_EQ(lines[1]->pen, Pen::red4);
    EXPECT_EQ(lines[1]->c, 495 + 230);
    EXPECT_EQ(lines[1]->d, 40 + 187);
    EXPECT_EQ(lines.back()->pen, Pen::red4) << "the needle ends on top";
    EXPECT_EQ(readingsState.dialIndex, 160u);
}

TEST_F(Dial, TicksAboveTheSwitchOffSpeedTurnRedOnlyWithItsOption) {
    readingsState.lpgOffSpeed = 4500;
    for (bool option : {true, false}) {
        deviceImage.settingsBlock1[1] = option ? options::lpgOffSpeed : 0;
        RecordingCanvas c;
        drawTachometer(c);
        auto lines = c.all(DrawOp::line);
        ASSERT_EQ(lines.size(), 2u + majorTicks + minorTicks + 1);
        for (int i = 0; i < majorTicks; ++i)
            EXPECT_EQ(lines[2 + i]->pen, option && i >= 5 ? Pen::red2 : Pen::pale2) << i;
        for (int i = 0; i < minorTicks; ++i)
            EXPECT_EQ(lines[2 + majorTicks + i]->pen, option && i >= 23 ? Pen::red2 : Pen::pale2)
                << i;
    }
}

TEST_F(Dial, ScalesBothAxesByScaleX) {
    resetSizeState();
    markSizeClassValues(5); // 1.6 x 1.81: the dial must stay a circle
    RecordingCanvas c;
    drawTachometer(c);
    auto hubs = c.all(DrawOp::ellipse);
    ASSERT_FALSE(hubs.empty());
    EXPECT_EQ(hubs[0]->a, 968); // 605 * 1.6
    EXPECT_EQ(hubs[0]->b, 240); // 150 * 1.6, not 1.81
    EXPECT_EQ(hubs[0]->c - hubs[0]->a, hubs[0]->d - hubs[0]->b);
    // The outer end of tick 0 lies 124 * 1.6 from the centre at (1000, 272).
    auto lines = c.all(DrawOp::line);
    const double dx = lines[2]->a - 1000.0, dy = lines[2]->b - 272.0;
    EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 124 * 1.6, 2.0);
}
