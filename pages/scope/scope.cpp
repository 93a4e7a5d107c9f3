#include "pages/scope/scope.h"

#include <algorithm>
#include <cstring>

#include "link/device_link.h"
#include "link/encodings.h"
#include "link/image_fields.h"
#include "link/polling.h"
#include "link/params.h"
#include "pages/readings/readings_view.h"
#include "shell/language.h"
#include "shell/size_classes.h"

namespace kestos {

ScopeState scopeState;

void resetScopeState() {
    scopeState = ScopeState{};
}

namespace {

struct TraceInfo {
    int baseline; // design y of the value 0
    Pen pen;
};
// Traces 1..5: lambda, Att, engine speed, TPS, AttInit (which shares plot 2 with Att).
constexpr TraceInfo traces[traceCount] = {
    {130, Pen::olive2}, {240, Pen::green2},    {350, Pen::blue2},
    {460, Pen::navy2},  {240, Pen::darkGreen},
};
constexpr int liveOrder[traceCount] = {0, 1, 4, 2, 3};   // 1, 2, 5, 3, 4
constexpr int redrawOrder[traceCount] = {0, 4, 1, 2, 3}; // 1, 5, 2, 3, 4

constexpr int plotCount = 4;
constexpr int plotLeft = 198, plotRight = 600;
constexpr int frameTop[plotCount] = {40, 150, 260, 370};
constexpr int frameHeight = 100;
// The inner bands the sweep draws into, bottom exclusive.
constexpr int bandTop[plotCount] = {43, 153, 263, 373};
constexpr int bandBottom[plotCount] = {137, 247, 357, 467};

constexpr int readoutX = 630;
constexpr int slotCursor = 142, slotTimeAxis = 150;

// One pixel more in the smallest class, whose scale truncates the columns the most.
int classOneOffset() {
    return sizeState.sizeClass == 1 ? 1 : 0;
}

// Column [x0, x1) of device pixels blanked in every band.
void clearColumns(Canvas& c, int x0, int x1) {
    for (int p = 0; p < plotCount; ++p)
        c.rectangle(Pen::white, Brush::white, x0, scaledY(bandTop[p]), x1, scaledY(bandBottom[p]));
}

// A one-pixel vertical line at device x in every band.
void columnLine(Canvas& c, Pen pen, int x) {
    for (int p = 0; p < plotCount; ++p)
        c.rectangle(pen, Brush::white, x, scaledY(bandTop[p]), x + 1, scaledY(bandBottom[p]));
}

void drawFrames(Canvas& c) {
    for (int p = 0; p < plotCount; ++p)
        c.rectangle(Pen::black, Brush::white, scaledX(plotLeft), scaledY(frameTop[p]),
                    scaledX(plotRight), scaledY(frameTop[p] + frameHeight));
}

void text(Canvas& c, Font font, Rgb fg, Rgb bg, int x, int y, const char* s, int length) {
    c.text(font, fg, bg, scaledX(x), scaledY(y), s, length);
}
void text(Canvas& c, Font font, Rgb fg, Rgb bg, int x, int y, const char* s) {
    text(c, font, fg, bg, x, y, s, static_cast<int>(std::strlen(s)));
}

struct Sample {
    unsigned lambda, att, attInit, tps, speed;
    uint8_t lambdaType, tpsSwitch, state;
};

Sample liveSample() {
    return {image::lambdaCode(),
            image::att(),
            image::attInit(),
            image::tpsCode(),
            image::engineSpeed(),
            image::setting("LambdaType"),
            static_cast<uint8_t>(image::indicatorBits() & 0x10),
            image::stateBits()};
}

Sample storedSample(int position) {
    const SampleHistory& h = scopeState.sampleHistory;
    const int i = position - 200;
    return {h.lambda[i], h.att[i],        h.attInit[i],   h.tps[i],
            h.speed[i],  h.lambdaType[i], h.tpsSwitch[i], h.state[i]};
}

int traceValue(int trace, const Sample& s) {
    switch (trace) {
    case 0: return lambdaTraceValue(s.lambda, s.lambdaType);
    case 1: return static_cast<int>(s.att / 3);
    case 2: return speedTraceValue(s.speed);
    case 3: return tpsTraceValue(s.tps, s.lambdaType);
    default: return static_cast<int>(s.attInit / 3);
    }
}

void storeBytes(int position, const Sample& s) {
    SampleHistory& h = scopeState.sampleHistory;
    const int i = position - 200;
    h.lambda[i] = s.lambda;
    h.att[i] = s.att;
    h.attInit[i] = s.attInit;
    h.tps[i] = s.tps;
    h.lambdaType[i] = s.lambdaType;
    h.tpsSwitch[i] = s.tpsSwitch;
    h.state[i] = s.state;
}

// The four readouts and the fuel-state box, live or under the cursor.
void drawReadouts(Canvas& c, const Sample& s, bool underCursor) {
    char buf[32];
    text(c, Font::pageValue, colour::black, colour::white, readoutX, 70,
         formatCut(buf, sizeof buf, 4, "%f", volts(s.lambda)), 4);
    text(c, Font::pageValue, colour::black, colour::white, readoutX, 180,
         formatCut(buf, sizeof buf, 3, "%03dl", static_cast<int>(s.att)), 3);
    readingsState.engineSpeed = s.speed;
    text(c, Font::pageValue, colour::black, colour::white, readoutX, 290,
         formatCut(buf, sizeof buf, 4, "%04dl", static_cast<int>(s.speed)), 4);

    const int inputType = s.lambdaType & 0x0F;
    TpsReadout tps = tpsReadout(inputType, s.tps, s.tpsSwitch != 0, buf, sizeof buf);
    if (tps.kind == TpsReadout::volts)
        text(c, Font::pageValue, colour::black, c.buttonFace(), 700, 400, "V");
    if (tps.kind == TpsReadout::onOff) {
        const int left = underCursor ? 686 : 676, right = underCursor ? 695 : 698;
        c.rectangle(Pen::white, Brush::white, scaledX(left), scaledY(400), scaledX(right),
                    scaledY(436));
    }
    text(c, Font::pageValue, colour::black, colour::white, readoutX, 400, tps.text, tps.length);

    drawFuelBox(c, 630, (s.state & 0x01) != 0);
}

// Exactly 14 characters of these are drawn; sensor types 6 to 15 show nothing.
constexpr const char* lambdaTypeTexts[] = {
    "0 - 1 V       ",    "0 - 5 V  '-'     ", "0 - 5 V  '+'     ",
    "5 - 0 V  '-'     ", "5 - 0 V  '+'     ", "0,8 - 1,6 V   ",
};
constexpr int lambdaTypeTextLength = 14;

// The Configuration page's slot for a TPS input type.
int tpsLabelSlot(int inputType) {
    switch (inputType) {
    case 0: return 84;
    case 1: return 85;
    case 2:
    case 3:
    case 4:
    case 5: return 86;
    case 6: return 87;
    case 7: return 88;
    default: return 89;
    }
}

struct FrameLabel {
    int slot; // -1: the lambda-type text, -2: the TPS input type label
    int x, y;
    Font font;
    Rgb colour;
};
constexpr FrameLabel frameLabels[] = {
    {143, 50, 60, Font::pageLabel, colour::olive},
    {-1, 50, 90, Font::pageLabel, colour::black},
    {-2, 50, 420, Font::pageLabel, colour::black},
    {145, 50, 190, Font::pageLabel, colour::black},
    {148, 50, 320, Font::pageLabel, colour::black},
    {151, 700, 70, Font::pageValue, colour::black},
    {152, 710, 190, Font::pageLabel, colour::black},
    {153, 710, 300, Font::pageLabel, colour::black},
    {144, 50, 170, Font::pageLabel, colour::green},
    {146, 50, 210, Font::pageLabel, colour::darkGreen},
    {147, 50, 300, Font::pageLabel, colour::blue},
    {149, 50, 400, Font::pageLabel, colour::navy},
};

void drawLabel(Canvas& c, const FrameLabel& l, unsigned lambdaType) {
    const Rgb face = c.buttonFace();
    if (l.slot == -1) {
        unsigned sensor = lambdaSensorType(static_cast<uint8_t>(lambdaType));
        if (sensor < sizeof lambdaTypeTexts / sizeof *lambdaTypeTexts)
            text(c, l.font, l.colour, face, l.x, l.y, lambdaTypeTexts[sensor],
                 lambdaTypeTextLength);
        return;
    }
    const int slot = l.slot == -2 ? tpsLabelSlot(lambdaType & 0x0F) : l.slot;
    text(c, l.font, l.colour, face, l.x, l.y, slotText(slot));
}

} // namespace

int lambdaTraceValue(unsigned lambdaByte, unsigned lambdaType) {
    int v = static_cast<int>(lambdaByte * 15 / 10);
    if (lambdaSensorType(static_cast<uint8_t>(lambdaType)) != 0) v /= 5;
    return v > 80 ? 80 : v;
}

int tpsTraceValue(unsigned tpsByte, unsigned lambdaType) {
    const unsigned inputType = lambdaType & 0x0F;
    const bool inverted = (inputType & 0x01) && (inputType & 0x07) != 0x07;
    const unsigned u = inverted ? 255 - tpsByte : tpsByte;
    return roundNearest(u / 3.1);
}

int speedTraceValue(unsigned rpm) {
    const unsigned v = rpm / 100;
    return v > 80 ? 80 : static_cast<int>(v);
}

void resetTraces() {
    SampleHistory& h = scopeState.sampleHistory;
    for (int j = 0; j < tracePoints; ++j) {
        h.lambda[j] = h.att[j] = h.attInit[j] = h.tps[j] = h.speed[j] = 0;
        h.lambdaType[j] = h.tpsSwitch[j] = 0; // the fuel state keeps its old samples
        for (int t = 0; t < traceCount; ++t)
            scopeState.traceBuffer[t][j] = {scaledX(201 + j), scaledY(traces[t].baseline)};
    }
}

void drawScopeFrame(Canvas& c, ScopeControls& controls) {
    controls.setCursorCaption(slotText(slotCursor));
    pollSettings1(); // the labels follow LambdaType, even with the link down
    drawFrames(c);
    const unsigned lambdaType = deviceImage.settingsBlock1[2];
    for (const FrameLabel& l : frameLabels)
        drawLabel(c, l, lambdaType);
    controls.setCursorChecked(scopeState.cursorMode);
    controls.showCursorBar(scopeState.cursorMode);
    controls.setCursorBarRange(cursorFirst, cursorLast);
    const Rgb face = c.buttonFace();
    text(c, Font::pageLabel, colour::black, face, 130, 490, slotText(slotTimeAxis));
    for (int i = 0; i <= 8; ++i) {
        char buf[8];
        text(c, Font::pageLabel, colour::black, face, 203 + 46 * i, 470, ".", 1);
        text(c, Font::pageLabel, colour::black, face, 196 + 46 * i, 490,
             formatCut(buf, sizeof buf, 2, "%02ld", 2L * i), 2);
    }
}

void redrawTraces(Canvas& c) {
    drawFrames(c);
    for (int t = 0; t < traceCount; ++t) {
        CanvasPoint* points = scopeState.traceBuffer[t];
        points[0] = points[1] = points[2] = points[3];
    }
    for (int t : redrawOrder)
        c.polyline(traces[t].pen, scopeState.traceBuffer[t], tracePointsDrawn);
}

void openScope(Canvas& c, ScopeControls& controls) {
    resetTraces();
    drawScopeFrame(c, controls);
    redrawTraces(c);
    scopeState.sweepPos = sweepStart;
}

void scopeTick(Canvas& c, ScopeControls& controls) {
    ScopeState& s = scopeState;
    const Sample live = liveSample();
    if (!s.cursorMode && !linkState.linkDown) {
        const int q = classOneOffset();
        ++s.sweepPos;
        if (s.sweepPos > 203) clearColumns(c, scaledX(199 - q) + q, scaledX(204));
        columnLine(c, Pen::red, scaledX(s.sweepPos + 2));
        clearColumns(c, scaledX(s.sweepPos + q), scaledX(s.sweepPos + 2));
        for (int t : liveOrder) {
            const int y1 = scaledY(traces[t].baseline - traceValue(t, live));
            ScopeSegment& seg = s.lastSegment[t];
            seg = {scaledX(s.sweepPos - 1), s.sweepPos == 203 ? y1 : seg.y1, scaledX(s.sweepPos),
                   y1};
            c.line(traces[t].pen, seg.x0, seg.y0, seg.x1, seg.y1);
            s.traceBuffer[t][s.sweepPos - 200].y = y1;
            if (t == 2) s.sampleHistory.speed[s.sweepPos - 200] = live.speed;
        }
        if (s.sweepPos > sweepLast - 1) {
            s.sweepPos = 201;
            clearColumns(c, scaledX(598), scaledX(599));
            clearColumns(c, scaledX(199) + q, scaledX(203));
        }
        storeBytes(s.sweepPos, live);
    }
    drawReadouts(c, live, false);
    controls.showCursorBar(s.cursorMode);
}

void cursorTick(Canvas& c, ScopeControls& controls) {
    ScopeState& s = scopeState;
    // Kept inside the stored sweep whatever the bar reports.
    s.cursorPos = std::clamp(controls.cursorBarPosition(), cursorFirst, cursorLast);
    columnLine(c, Pen::black, scaledX(s.cursorPos + 201));
    if (s.lastCursorPos != s.cursorPos) {
        columnLine(c, Pen::white, scaledX(s.lastCursorPos + 201));
        const int last = s.lastCursorPos;
        for (int t : redrawOrder) {
            const CanvasPoint* b = s.traceBuffer[t];
            const CanvasPoint repair[3] = {b[last == 0 ? 0 : last - 1], b[last], b[last + 1]};
            c.polyline(traces[t].pen, repair, 3);
        }
        s.lastCursorPos = s.cursorPos;
    }
    columnLine(c, Pen::red, scaledX(s.sweepPos + 2));
    drawReadouts(c, storedSample(200 + s.cursorPos), true);
}

bool scopeTimerStep(Canvas& c, ScopeControls& controls, bool aboutOpen) {
    if (aboutOpen) return false;
    if (scopeState.cursorMode) {
        cursorTick(c, controls);
    } else {
        pollCycle(PollSchedule::scopePage, aboutOpen);
        scopeTick(c, controls);
    }
    linkState.pollInterval = scopeInterval;
    return timerNeedsRearm();
}

int cursorScrollStep(int position, ScrollCode code, int trackPosition) {
    switch (code) {
    case ScrollCode::thumbTrack: return trackPosition;
    case ScrollCode::pageRight: return position + 10 > cursorLast ? cursorLast : position + 10;
    case ScrollCode::pageLeft: return position - 10 < cursorFirst ? cursorFirst : position - 10;
    case ScrollCode::lineRight: return position + 1 > cursorLast ? cursorLast : position + 1;
    case ScrollCode::lineLeft: return position - 1 < cursorFirst ? cursorFirst : position - 1;
    default: return position;
    }
}

} // namespace kestos
