// The tachometer: 0 to 8000 rpm over 240 degrees, the needle in steps of 50 rpm. All end
// points come from integer tables computed once, so drawing needs no trigonometry.
#pragma once

#include "shell/canvas.h"

namespace kestos {

constexpr int arcPoints = 161;
constexpr int majorTicks = 9;
constexpr int minorTicks = 41;
constexpr int dialCentre = 130; // in the dial's own 260 x 260 box

struct PointTable161 {
    int x[arcPoints];
    int y[arcPoints];
};

struct DialTables {
    PointTable161 needleTip;                                      // radius 115
    PointTable161 tickOuter;                                      // radius 124
    int majorTickInnerX[majorTicks], majorTickInnerY[majorTicks]; // radius 110, every 20th
    int minorTickInnerX[minorTicks], minorTickInnerY[minorTicks]; // radius 115, every 4th
    PointTable161 needleHub;                                      // radius 20
    // Work area of computeArc.
    int arcRadius;
    PointTable161 arc;
};
extern DialTables dialTables;

// sqrt(arcRadius^2 - (130 - c)^2), the radicand in 32-bit integers.
double circleOffset(unsigned c);
// Fills dialTables.arc for dialTables.arcRadius.
void computeArc();
// Fills every table; once, at start-up.
void buildDialTables();

// Needle position of a speed: speed / 50, at most 160.
unsigned dialIndexFor(unsigned rpm);

// Draws the dial for `engineSpeed`, `lpgOffSpeed` and the Options byte; see readings_view.h.
void drawTachometer(Canvas& canvas);

} // namespace kestos
