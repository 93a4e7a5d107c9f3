// The Oscilloscope page's picture and sweep: five controller signals drawn left to right, one
// sample per tick, on four plots; the readouts and the fuel-state box; the value cursor over
// the stored sweep. Portable: the Win32 page owns the window, its timer and its two controls.
#pragma once

#include <cstdint>

#include "shell/canvas.h"
#include "shell/scroll_code.h"

namespace kestos {

constexpr int traceCount = 5;    // traces 1..5 are elements 0..4
constexpr int tracePoints = 400; // element j: sweep position 200 + j, drawn at x = 201 + j
constexpr int tracePointsDrawn = 396;
constexpr int sweepStart = 202;
constexpr int sweepLast = 596;
constexpr int cursorFirst = 2;
constexpr int cursorLast = 395;
constexpr int scopeInterval = 20; // ms: the page's timer, whatever the link state

struct ScopeSegment {
    int x0, y0, x1, y1;
};

// What the sweep took at each position 200..599, for the value cursor.
struct SampleHistory {
    uint32_t lambda[tracePoints];  // readings byte 2
    uint32_t att[tracePoints];     // readings byte 3
    uint32_t attInit[tracePoints]; // readings byte 4
    uint32_t tps[tracePoints];     // readings byte 1
    uint32_t speed[tracePoints];   // rpm
    uint8_t lambdaType[tracePoints];
    uint8_t tpsSwitch[tracePoints]; // readings byte 7 & 0x10
    uint8_t state[tracePoints];     // readings byte 8; bit 0: on gas
};

// Program-wide: the mode and the sweep survive page switches (an opening resets the traces).
struct ScopeState {
    int sweepPos = sweepStart;
    bool cursorMode = false;
    int cursorPos = cursorFirst;
    int lastCursorPos = 0;
    ScopeSegment lastSegment[traceCount] = {};
    CanvasPoint traceBuffer[traceCount][tracePoints] = {};
    SampleHistory sampleHistory = {};
};
extern ScopeState scopeState;
void resetScopeState();

// The page's two controls, as the drawing needs them.
class ScopeControls {
  public:
    virtual ~ScopeControls() = default;
    virtual void setCursorCaption(const char* text) = 0;
    virtual void setCursorChecked(bool checked) = 0;
    virtual void showCursorBar(bool shown) = 0;
    virtual void setCursorBarRange(int low, int high) = 0;
    virtual int cursorBarPosition() const = 0;
};

// Flat baselines in every trace; the histories cleared but for the fuel state.
void resetTraces();
// Frames, labels, time axis and control states; polls settings block 1 for the labels.
void drawScopeFrame(Canvas& canvas, ScopeControls& controls);
// Blank plots and the five stored traces.
void redrawTraces(Canvas& canvas);
// What the shell does when it opens the page.
void openScope(Canvas& canvas, ScopeControls& controls);

// One tick of the page's timer. True when the timer must be re-armed with `pollInterval`.
bool scopeTimerStep(Canvas& canvas, ScopeControls& controls, bool aboutOpen);
// Parts of the tick, for tests.
void scopeTick(Canvas& canvas, ScopeControls& controls);
void cursorTick(Canvas& canvas, ScopeControls& controls);

// The value cursor's scroll bar: the new position for a scroll code.
int cursorScrollStep(int position, ScrollCode code, int trackPosition);

// Trace values v in design units above the plot's baseline.
int lambdaTraceValue(unsigned lambdaByte, unsigned lambdaType);
int tpsTraceValue(unsigned tpsByte, unsigned lambdaType);
int speedTraceValue(unsigned rpm);

} // namespace kestos
