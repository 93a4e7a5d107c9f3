#include "pages/readings/dial.h"

#include <cmath>

#include "link/device_link.h"
#include "link/encodings.h"
#include "link/params.h"
#include "pages/readings/readings_view.h"
#include "shell/size_classes.h"

namespace kestos {

DialTables dialTables;

namespace {

constexpr double pi = 3.14159; // as the tables have always been built
double angle(int k) {
    return k * 1.5 * pi / 180.0;
}

// Where the dial box's top-left corner lies, in design coordinates.
constexpr int boxLeft = 495;
constexpr int boxTop = 40;

// The dial keeps its shape in every class: both axes scale by scaleX.
int dialX(int x) {
    return static_cast<int>(boxLeft * sizeState.scaleX + x * sizeState.scaleX);
}
int dialY(int y) {
    return static_cast<int>(boxTop * sizeState.scaleX + y * sizeState.scaleX);
}
int fixed(int v) {
    return static_cast<int>(v * sizeState.scaleX);
}

void copyArc(PointTable161& to) {
    to = dialTables.arc;
}

void lineBetween(Canvas& c, Pen pen, const int* x1, const int* y1, int i, const int* x2,
                 const int* y2, int j) {
    c.line(pen, dialX(x1[i]), dialY(y1[i]), dialX(x2[j]), dialY(y2[j]));
}

void needle(Canvas& c, Pen pen, unsigned idx) {
    const DialTables& t = dialTables;
    lineBetween(c, pen, t.needleHub.x, t.needleHub.y, static_cast<int>(idx), t.needleTip.x,
                t.needleTip.y, static_cast<int>(idx));
}

void hub(Canvas& c) {
    c.ellipse(Pen::red4, Brush::red, fixed(605), fixed(150), fixed(645), fixed(190));
}

struct Numeral {
    char text[2];
    int x, y;
};
constexpr Numeral numerals[majorTicks] = {
    {"0", 540, 205}, {"1", 525, 155}, {"2", 540, 110}, {"3", 570, 80},  {"4", 617, 65},
    {"5", 664, 80},  {"6", 699, 110}, {"7", 714, 155}, {"8", 699, 205},
};

} // namespace

double circleOffset(unsigned c) {
    const int32_t r = dialTables.arcRadius;
    const int32_t d = dialCentre - static_cast<int32_t>(c);
    return std::sqrt(static_cast<double>(r * r - d * d));
}

void computeArc() {
    const double r = dialTables.arcRadius;
    int* x = dialTables.arc.x;
    int* y = dialTables.arc.y;
    int n = 0;
    auto fromY = [&](int yy, int side) {
        y[n] = yy;
        x[n] = dialCentre + side * roundNearest(circleOffset(static_cast<unsigned>(yy)));
        ++n;
    };
    auto fromX = [&](int xx) {
        x[n] = xx;
        y[n] = dialCentre - roundNearest(circleOffset(static_cast<unsigned>(xx)));
        ++n;
    };
    for (int k = 20; k >= 0; --k)
        fromY(roundNearest(std::sin(angle(k)) * r) + dialCentre, -1);
    for (int k = 1; k <= 29; ++k)
        fromY(dialCentre - roundNearest(std::sin(angle(k)) * r), -1);
    for (int k = 30; k <= 60; ++k)
        fromX(dialCentre - roundNearest(std::cos(angle(k)) * r));
    for (int k = 59; k >= 30; --k)
        fromX(roundNearest(std::cos(angle(k)) * r) + dialCentre);
    for (int k = 29; k >= 0; --k)
        fromY(dialCentre - roundNearest(std::sin(angle(k)) * r), 1);
    for (int k = 1; k <= 20; ++k)
        fromY(roundNearest(std::sin(angle(k)) * r) + dialCentre, 1);
}

void buildDialTables() {
    DialTables& t = dialTables;
    t.arcRadius = 115;
    computeArc();
    copyArc(t.needleTip);
    t.arcRadius = 124;
    computeArc();
    copyArc(t.tickOuter);
    t.arcRadius = 110;
    computeArc();
    for (int i = 0; i < majorTicks; ++i) {
        t.majorTickInnerX[i] = t.arc.x[20 * i];
        t.majorTickInnerY[i] = t.arc.y[20 * i];
    }
    t.arcRadius = 115;
    computeArc();
    for (int i = 0; i < minorTicks; ++i) {
        t.minorTickInnerX[i] = t.arc.x[4 * i];
        t.minorTickInnerY[i] = t.arc.y[4 * i];
    }
    t.arcRadius = 20;
    computeArc();
    copyArc(t.needleHub);
}

unsigned dialIndexFor(unsigned rpm) {
    unsigned idx = rpm / 50;
    return idx > arcPoints - 1 ? arcPoints - 1 : idx;
}

void drawTachometer(Canvas& c) {
    ReadingsState& s = readingsState;
    const DialTables& t = dialTables;
    const unsigned idx = dialIndexFor(s.engineSpeed);

    needle(c, Pen::black4, s.dialIndex); // the face is black
    needle(c, Pen::red4, idx);
    hub(c);

    const bool redZone = (deviceImage.settingsBlock1[1] & options::lpgOffSpeed) != 0;
    for (int i = 0; i < majorTicks; ++i) {
        Pen pen =
            redZone && s.lpgOffSpeed / 1000 < static_cast<unsigned>(i) ? Pen::red2 : Pen::pale2;
        lineBetween(c, pen, t.tickOuter.x, t.tickOuter.y, 20 * i, t.majorTickInnerX,
                    t.majorTickInnerY, i);
    }
    for (int i = 0; i < minorTicks; ++i) {
        Pen pen =
            redZone && s.lpgOffSpeed / 200 < static_cast<unsigned>(i) ? Pen::red2 : Pen::pale2;
        lineBetween(c, pen, t.tickOuter.x, t.tickOuter.y, 4 * i, t.minorTickInnerX,
                    t.minorTickInnerY, i);
    }
    for (const Numeral& n : numerals)
        c.text(Font::pageLabel, colour::white, colour::black, fixed(n.x), fixed(n.y), n.text, 1);
    c.text(Font::pageLabel, colour::pale, colour::black, fixed(575), fixed(115), "RPM x 1000", 10);

    // On top of the ticks and numerals that erasing the old needle may have cut.
    hub(c);
    needle(c, Pen::red4, idx);
    s.dialIndex = idx;
}

} // namespace kestos
