// The Readings page's picture: what is drawn where, in which colour, from the device image.
// Portable: the Win32 page hands it a canvas on its window.
#pragma once

#include "shell/canvas.h"

namespace kestos {

// Program-wide: survives page switches.
struct ReadingsState {
    unsigned engineSpeed = 0;    // rpm shown; the Oscilloscope page writes it too
    unsigned lastDrawnSpeed = 0; // speed at which the dial was last redrawn from a refresh
    unsigned lpgOffSpeed = 0;    // switch-off speed last computed; the dial reddens above it
    int lastMarkerPos = 0;       // AttInit at which the marker was last drawn
    bool upperLampLit = false;   // TPS lamp 2, 3 or 4 lit
    bool fuelStateGas = false;   // the fuel-state box last showed gas
    bool learnActive = false;    // the controller reported learning in progress
    bool learnRequested = false; // the button started learning; report its outcome
    int messageAge = 0;          // idle refreshes since the last outcome message
    int blinkCounter = 0;
    bool blinkPhase = false;
    unsigned dialIndex = 0; // needle position last drawn
};
extern ReadingsState readingsState;
void resetReadingsState();

// Status line n (1..5): where it starts, in design coordinates.
constexpr int statusLineX = 40;
constexpr int statusLineY(int n) {
    return 385 + 20 * n;
}

void drawReadingsBackground(Canvas& canvas);
// The fuel-state box, its left edge at design x `left` (the Readings and Oscilloscope pages):
// cyan with slot 15 on gas, green with slot 14 on petrol.
void drawFuelBox(Canvas& c, int left, bool gas);
// Every live value, then the status area and the indicator lamp.
void refreshReadings(Canvas& canvas);
// The status lines, the fuel-state box and the lamp; the last part of a refresh. `shapePen`
// is the pen the refresh last drew a shape with, which outlines the lamp when no box is drawn.
void drawStatusArea(Canvas& canvas, Pen shapePen);
// NAUKA: starts learning, or stops it while the controller learns. Only while the link is
// usable and the fuel-state box shows gas. True when the learning action was sent.
bool learnButtonPressed(Canvas& canvas);

// Decisions the page draws from, exposed for tests.
struct SliderLook {
    int position; // 0..255, added to the track's left end
    Pen pen;
    Brush brush;
};
SliderLook lambdaSlider(unsigned lambdaByte, unsigned lambdaTypeByte, unsigned colourByte);
// Lit TPS lamp 0..3, or -1 for none.
int litTpsLamp(unsigned lampByte);
struct Range {
    int left, right;
};
Range permittedRange(int attInit, unsigned below, unsigned above);
// A lambda or TPS input byte in volts, as the readouts show it.
double volts(unsigned v);
// The TPS readout by input type (low nibble of LambdaType): type 1 shows 5 minus the voltage,
// 2 and 3 "_.__", 6 and 7 the throttle switch, the others the voltage. `buffer` holds the
// text when it is formatted.
struct TpsReadout {
    const char* text;
    int length;
    enum Kind { volts, none, onOff } kind;
};
TpsReadout tpsReadout(int inputType, unsigned tpsByte, bool switchOff, char* buffer, int size);
// printf of `format` cut to `cut` characters, as the readouts are drawn.
const char* formatCut(char* buffer, int size, int cut, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

} // namespace kestos
