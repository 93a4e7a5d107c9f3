#include "pages/readings/readings_view.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "link/device_link.h"
#include "link/encodings.h"
#include "link/image_fields.h"
#include "link/params.h"
#include "pages/readings/dial.h"
#include "shell/language.h"
#include "shell/link_reason.h"
#include "shell/texts.h"
#include "shell/size_classes.h"

namespace kestos {

ReadingsState readingsState;

void resetReadingsState() {
    readingsState = ReadingsState{};
}

namespace {

// Language slots of the page's texts.
constexpr int slotLambdaTitle = 0, slotLean = 1, slotRich = 2;
constexpr int slotTpsTitle = 3, slotDeadBand = 4;
constexpr int slotAttTitle = 5, slotAttInitMarker = 6;
constexpr int slotTemperatureTitle = 11;
constexpr int slotOnPetrol = 12, slotOnLpg = 13;
constexpr int slotFuelBoxPetrol = 14, slotFuelBoxLpg = 15;
constexpr int slotLearning = 16, slotLearnRaiseSpeed = 17, slotLearnDone = 18,
              slotLearnAborted = 19, slotLearnFailed = 20;
constexpr int slotLpgOffSpeedLimit = 21, slotReducerTooCold = 22, slotCutOffActive = 23;
constexpr int slotWaitingForLpg = 24, slotSpeedBelowSwitch = 25, slotSwitchWhenSpeedDrops = 26;
constexpr int slotAutoSwitchOff = 27, slotSwitchSetToPetrol = 28;
constexpr int slotFirmwareUnsupported = 29, slotLinkDown = 30, slotLinkDownHint = 31;
constexpr int slotLearnStoppedByUser = 32;

constexpr char degrees[] = "\xB0"
                           "C"; // the degree sign of code page 1250

// Shapes and texts in design coordinates. The shape helpers remember the last pen, which
// outlines the indicator lamp at the end of a refresh.
class Page {
  public:
    explicit Page(Canvas& c) : c_(c) {}
    void rect(Pen pen, Brush brush, int l, int t, int r, int b) {
        c_.rectangle(pen, brush, scaledX(l), scaledY(t), scaledX(r), scaledY(b));
        lastPen = pen;
    }
    void panel(Brush brush, int l, int t, int r, int b) {
        c_.roundRect(Pen::black, brush, scaledX(l), scaledY(t), scaledX(r), scaledY(b), 20);
        lastPen = Pen::black;
    }
    void text(Font f, Rgb fg, Rgb bg, int x, int y, const char* s, int length) {
        c_.text(f, fg, bg, scaledX(x), scaledY(y), s, length);
    }
    void text(Font f, Rgb fg, Rgb bg, int x, int y, const char* s) {
        text(f, fg, bg, x, y, s, static_cast<int>(std::strlen(s)));
    }
    Canvas& canvas() { return c_; }
    Pen lastPen = Pen::black;

  private:
    Canvas& c_;
};

bool bit(unsigned byte, int n) {
    return (byte >> n) & 1u;
}

const Pen lampPens[barCount] = {Pen::cyan, Pen::darkGreen, Pen::yellow, Pen::red};
const Brush lampBrushes[barCount] = {Brush::cyan, Brush::darkGreen, Brush::yellow, Brush::red};

// The four TPS lamps are per-class pixel boxes, not scaled design coordinates.
void lamp(Canvas& c, int i, bool lit) {
    const SizeState& s = sizeState;
    c.rectangle(lampPens[i], lit ? lampBrushes[i] : Brush::lightGray, s.barX[i] + s.barRect.left,
                s.barRect.top, s.barX[i] + s.barRect.right, s.barRect.bottom);
}

void drawLambda(Page& p) {
    char buf[32];
    p.text(Font::pageValue, colour::black, colour::white, 40, 45,
           formatCut(buf, sizeof buf, 4, "%f", volts(image::lambdaCode())), 4);
    SliderLook s =
        lambdaSlider(image::lambdaCode(), image::setting("LambdaType"), image::indicatorBits());
    p.rect(s.pen, s.brush, 140 + s.position, 52, 180 + s.position, 73);
    p.rect(Pen::lightGray, Brush::lightGray, 140, 52, 140 + s.position, 73);
    p.rect(Pen::lightGray, Brush::lightGray, 180 + s.position, 52, 436, 73);
}

void drawTps(Page& p) {
    int lit = litTpsLamp(image::indicatorBits());
    readingsState.upperLampLit = lit >= 1;
    if (lit >= 0) lamp(p.canvas(), lit, true);
    for (int i = 0; i < barCount; ++i)
        if (i != lit) lamp(p.canvas(), i, false);

    char buf[32];
    const int inputType = image::setting("LambdaType") & 0x0F;
    TpsReadout tps =
        tpsReadout(inputType, image::tpsCode(), bit(image::indicatorBits(), 4), buf, sizeof buf);
    if (tps.kind == TpsReadout::onOff)
        p.rect(Pen::lightGray, Brush::lightGray, 30, 155, inputType == 6 ? 105 : 110, 195);
    p.text(Font::pageValue, colour::black, colour::white, 40, 155, tps.text, tps.length);

    p.text(Font::pageLabel, colour::black, colour::white, 305, 196,
           formatCut(buf, sizeof buf, 4, "%f", image::setting("TPSInert") / 50.0 + 0.02), 4);
}

void drawAtt(Page& p) {
    char buf[32];
    const int m3 = image::att();
    p.text(Font::pageValue, colour::black, colour::white, 40, 265,
           formatCut(buf, sizeof buf, 3, "%03dl", m3), 3);
    p.rect(Pen::navy, Brush::navy, 161, 270, 161 + m3, 290);
    p.rect(Pen::lightGray, Brush::lightGray, 161 + m3, 270, 417, 290);

    const int m = image::attInit();
    if (m != readingsState.lastMarkerPos)
        p.rect(Pen::lightGray, Brush::lightGray, 140, 316, 440, 360);
    p.text(Font::pageLabel, colour::black, colour::lightGray, 157 + m, 315, "^", 1);
    p.text(Font::pageLabel, colour::black, colour::lightGray, 144 + m, 345,
           slotText(slotAttInitMarker));
    p.text(Font::pageLabel, colour::black, colour::white, 147 + m, 326,
           formatCut(buf, sizeof buf, 3, "%03dl", m), 3);
    readingsState.lastMarkerPos = m;

    Range cyan = permittedRange(m, image::setting("AttMin_BJ"), image::setting("AttMax_BJ"));
    Range red = permittedRange(m, image::setting("AttMin"), image::setting("AttMax"));
    p.rect(Pen::cyan, Brush::cyan, cyan.left, 295, cyan.right, 300);
    p.rect(Pen::red, Brush::red, red.left, 305, red.right, 310);
    p.rect(Pen::lightGray, Brush::lightGray, 160, 295, cyan.left, 300);
    p.rect(Pen::lightGray, Brush::lightGray, cyan.right, 295, 418, 300);
    p.rect(Pen::lightGray, Brush::lightGray, 160, 305, red.left, 310);
    p.rect(Pen::lightGray, Brush::lightGray, red.right, 305, 418, 310);
}

void drawSpeeds(Page& p) {
    char buf[32];
    ReadingsState& s = readingsState;
    const uint8_t options = image::setting("Options");

    unsigned speed = image::engineSpeed();
    s.engineSpeed = speed;
    p.text(Font::pageValue, colour::black, colour::white, 590, 210,
           formatCut(buf, sizeof buf, 4, "%04dl", static_cast<int>(speed)), 4);
    if (speed != s.lastDrawnSpeed) {
        drawTachometer(p.canvas());
        s.lastDrawnSpeed = speed;
    }

    const unsigned cutOff = speedValue(cutOffSpeed);
    p.text(Font::pageLabel, bit(options, 5) ? colour::black : colour::gray, colour::white, 510, 265,
           formatCut(buf, sizeof buf, 4, "%04dl", static_cast<int>(cutOff)), 4);
    const unsigned lpgOn = speedValue(lpgOnSpeed);
    p.text(Font::pageLabel, colour::black, colour::white, 605, 265,
           formatCut(buf, sizeof buf, 4, "%04dl", static_cast<int>(lpgOn)), 4);
    const unsigned lpgOff = speedValue(lpgOffSpeed);
    if (lpgOff != s.lpgOffSpeed) {
        s.lpgOffSpeed = lpgOff;
        drawTachometer(p.canvas());
        s.lastDrawnSpeed = s.engineSpeed;
    }
    p.text(Font::pageLabel, bit(options, 6) ? colour::black : colour::gray, colour::white, 705, 265,
           formatCut(buf, sizeof buf, 4, "%04dl", static_cast<int>(lpgOff)), 4);
}

void drawStateWords(Page& p) {
    const uint8_t state = image::stateBits();
    p.text(Font::pageLabel, readingsState.fuelStateGas ? colour::darkGreen : colour::black,
           colour::lightGray, 590, 290, " LPG ON ", 8);
    p.text(Font::pageLabel, bit(state, 2) ? colour::red : colour::black, colour::lightGray, 685,
           290, " LPG OFF ", 9);
    p.text(Font::pageLabel, bit(state, 3) ? colour::red : colour::black, colour::lightGray, 485,
           290, " CUT-OFF ", 9);
}

void drawTemperatures(Page& p) {
    char buf[32];
    p.text(Font::pageValue, colour::black, colour::white, 490, 375,
           formatCut(buf, sizeof buf, 3, "%03dl", tempFromCode(image::reducerTemperatureCode())),
           3);
    tempText(image::setting("LPGOnTemp"));
    p.text(Font::pageLabel, bit(image::setting("Options"), 1) ? colour::black : colour::gray,
           colour::white, 705, 385, textBuffer);
}

// --- status area -------------------------------------------------------------------------

class StatusLines {
  public:
    explicit StatusLines(Page& p) : p_(p) {}
    void show(int line, int slot, bool red = false) {
        p_.text(Font::pageLabel, red ? colour::red : colour::black, colour::white, statusLineX,
                statusLineY(line), slotText(slot));
    }
    // A text of the program's own, with blanks after it to `width` characters so that no
    // letters of a longer text before it remain.
    void showPadded(int line, const char* text, int width) {
        char padded[namedTextSize + 80];
        std::snprintf(padded, sizeof padded, "%-*s", width, text);
        p_.text(Font::pageLabel, colour::black, colour::white, statusLineX, statusLineY(line),
                padded, static_cast<int>(std::strlen(padded)));
    }
    void blank(int line, int width) {
        static const char spaces[] = "                                                        "
                                     "                         ";
        static_assert(sizeof spaces > 73);
        p_.text(Font::pageLabel, colour::black, colour::white, statusLineX, statusLineY(line),
                spaces, width);
    }

  private:
    Page& p_;
};

void fuelBox(Page& p, bool gas) {
    drawFuelBox(p.canvas(), 490, gas);
    readingsState.fuelStateGas = gas;
}

void fullStatus(Page& p, StatusLines& lines) {
    ReadingsState& s = readingsState;
    const unsigned b = image::stateBits();
    if (bit(b, 0)) {
        lines.show(1, slotOnLpg);
        fuelBox(p, true);
    } else {
        lines.show(1, slotOnPetrol);
        fuelBox(p, false);
    }
    if (bit(b, 1)) {
        s.learnActive = true;
        if (s.upperLampLit)
            lines.show(5, slotLearning);
        else
            lines.show(5, slotLearnRaiseSpeed, true);
        return;
    }
    s.learnActive = false;
    if (s.learnRequested) {
        s.messageAge = 0;
        if (!bit(b, 4)) {
            lines.show(5, slotLearnDone, true);
            s.learnRequested = false;
        } else if (bit(b, 5)) {
            lines.show(5, slotLearnAborted, true); // reported again until the cause clears
        } else {
            lines.show(5, slotLearnFailed, true);
            s.learnRequested = false;
        }
    }
    if (bit(b, 2)) {
        lines.show(3, slotLpgOffSpeedLimit, true);
        if (bit(b, 7))
            lines.blank(4, 55);
        else
            lines.show(4, slotReducerTooCold, true);
        return;
    }
    lines.blank(4, 55);
    if (!bit(b, 7)) {
        lines.show(3, slotWaitingForLpg);
        lines.show(4, slotReducerTooCold, true);
    } else if (bit(b, 6)) {
        lines.blank(2, 40);
        if (bit(b, 3)) {
            lines.show(5, slotCutOffActive, true);
        } else if (++s.messageAge > 60) {
            lines.blank(5, 65);
            s.messageAge = 60;
        }
        if (!bit(b, 3)) lines.blank(3, 73);
    } else {
        lines.show(3, slotWaitingForLpg);
        const bool onAtOnce = bit(image::setting("Options"), 4);
        const unsigned lpgOn = speedValue(lpgOnSpeed);
        lines.show(
            4, !onAtOnce && s.engineSpeed > lpgOn ? slotSwitchWhenSpeedDrops : slotSpeedBelowSwitch,
            true);
    }
}

// Lines 1 and 3 say why the controller is on petrol, and line 4 `line4` where it is given;
// the other lines are blanked.
void petrolBecause(Page& p, StatusLines& lines, int slot1, bool red1, int slot3, bool red3,
                   const char* line4 = "") {
    lines.show(1, slot1, red1);
    lines.show(3, slot3, red3);
    for (int n : {2, 4, 5}) {
        if (n == 4 && line4[0])
            lines.showPadded(4, line4, 55);
        else
            lines.blank(n, 55);
    }
    fuelBox(p, false);
}

void statusSection(Page& p) {
    StatusLines lines(p);
    if (linkState.linkDown) {
        // Line 4 names the reason: a missing or busy port, one that will not take its
        // settings, or a controller that does not answer.
        char reason[namedTextSize + 64];
        linkDownReasonText(reason, sizeof reason);
        petrolBecause(p, lines, slotLinkDown, true, slotLinkDownHint, false, reason);
    } else if (firmwareVersion() != 1) {
        lines.show(1, slotFirmwareUnsupported, true);
        for (int n = 2; n <= 5; ++n)
            lines.blank(n, 55);
    } else if (!bit(image::indicatorBits(), 3)) {
        petrolBecause(p, lines, slotOnPetrol, false, slotSwitchSetToPetrol, true);
    } else if (!bit(image::setting("EmulType"), 7)) {
        const bool gas = bit(image::stateBits(), 0);
        if (gas) {
            lines.show(1, slotOnLpg);
            lines.blank(2, 40);
            lines.blank(3, 60);
        } else {
            lines.show(3, slotAutoSwitchOff, true);
            lines.show(1, slotOnPetrol);
            lines.blank(2, 40);
        }
        lines.blank(4, 55);
        lines.blank(5, 65);
        fuelBox(p, gas);
    } else {
        fullStatus(p, lines);
    }
}

void indicatorLamp(Page& p, Pen outline) {
    ReadingsState& s = readingsState;
    if (++s.blinkCounter > 1) {
        s.blinkPhase = !s.blinkPhase;
        s.blinkCounter = 0;
    }
    Brush fill = Brush::olive;
    if (s.learnActive) fill = s.upperLampLit && !s.blinkPhase ? Brush::olive : Brush::yellow;
    const int left = scaledX(635);
    const int top = scaledY(470);
    p.canvas().ellipse(outline, fill, left, top, left + sizeState.lampDiameter,
                       top + sizeState.lampDiameter);
}

} // namespace

const char* formatCut(char* buffer, int size, int cut, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, static_cast<size_t>(size), format, args);
    va_end(args);
    if (cut >= 0 && cut < size) buffer[cut] = 0;
    return buffer;
}

double volts(unsigned v) {
    return v * 196 / 10000.0;
}

TpsReadout tpsReadout(int inputType, unsigned tpsByte, bool switchOff, char* buffer, int size) {
    const double v = volts(tpsByte);
    switch (inputType) {
    case 1: return {formatCut(buffer, size, 4, "%f", 5.0 - v), 4, TpsReadout::volts};
    case 2:
    case 3: return {"_.__", 4, TpsReadout::none};
    case 6:
    case 7: return {switchOff ? "OFF" : " ON", 3, TpsReadout::onOff};
    default: return {formatCut(buffer, size, 4, "%f", v), 4, TpsReadout::volts};
    }
}

SliderLook lambdaSlider(unsigned lambdaByte, unsigned lambdaTypeByte, unsigned colourByte) {
    int p = static_cast<int>(lambdaByte);
    if (lambdaSensorType(static_cast<uint8_t>(lambdaTypeByte)) == 0) p *= 5;
    if (p > 255) p = 255;
    switch (colourByte & 7) {
    case 1: return {p, Pen::darkGreen, Brush::darkGreen};
    case 4: return {p, Pen::red, Brush::red};
    default: return {p, Pen::yellow, Brush::yellow};
    }
}

int litTpsLamp(unsigned lampByte) {
    switch (lampByte & 0xF0) {
    case 0x10: return 0;
    case 0x20: return 1;
    case 0x40: return 2;
    case 0x80: return 3;
    default: return -1;
    }
}

Range permittedRange(int attInit, unsigned below, unsigned above) {
    const int b = 161 + attInit;
    Range r{b - static_cast<int>(below), b + static_cast<int>(above)};
    if (r.left < 161) r.left = 161;
    if (r.right > 418) r.right = 418;
    return r;
}

void drawFuelBox(Canvas& c, int left, bool gas) {
    Page p(c);
    p.rect(Pen::black, gas ? Brush::cyan : Brush::green, left, 465, left + 125, 505);
    if (gas)
        p.text(Font::pageLabel, colour::black, colour::cyan, left + 45, 475,
               slotText(slotFuelBoxLpg));
    else
        p.text(Font::pageLabel, colour::black, colour::green, left + 25, 475,
               slotText(slotFuelBoxPetrol));
}

void drawReadingsBackground(Canvas& canvas) {
    Page p(canvas);
    p.rect(Pen::gray, Brush::gray, 0, 0, 800, 570);
    const int panels[6][4] = {{20, 20, 450, 110},  {20, 130, 450, 220},  {20, 240, 450, 370},
                              {20, 390, 450, 520}, {470, 340, 780, 430}, {470, 450, 780, 520}};
    for (const auto& r : panels)
        p.panel(Brush::lightGray, r[0], r[1], r[2], r[3]);
    p.panel(Brush::black, 470, 20, 780, 320);

    p.rect(Pen::black, Brush::lightGray, 135, 45, 440, 80);
    p.rect(Pen::black, Brush::lightGray, 135, 155, 440, 190);
    p.rect(Pen::black, Brush::lightGray, 135, 265, 440, 315);
    p.rect(Pen::gray, Brush::lightGray, 159, 268, 419, 292);
    p.rect(Pen::black, Brush::white, 30, 400, 440, 510);
    for (int i = 0; i < barCount; ++i)
        lamp(canvas, i, false);

    const Rgb ink = colour::black, ground = colour::lightGray;
    p.text(Font::pageLabel, ink, ground, 240, 25, slotText(slotLambdaTitle));
    p.text(Font::pageLabel, ink, ground, 270, 135, slotText(slotTpsTitle));
    p.text(Font::pageLabel, ink, ground, 245, 245, slotText(slotAttTitle));
    p.text(Font::pageLabel, ink, ground, 150, 196, slotText(slotDeadBand));
    p.text(Font::pageLabel, ink, ground, 345, 196, "V", 1);
    p.text(Font::pageLabel, ink, ground, 630, 385, "LPG ON:", 7);
    p.text(Font::pageLabel, ink, ground, 730, 385, degrees, 2);
    p.text(Font::pageLabel, ink, ground, 520, 345, slotText(slotTemperatureTitle));
    p.text(Font::pageLabel, ink, ground, 150, 86, slotText(slotLean));
    p.text(Font::pageLabel, ink, ground, 360, 86, slotText(slotRich));
    p.text(Font::pageValue, ink, ground, 110, 45, "V", 1);
    p.text(Font::pageValue, ink, ground, 110, 155, "V", 1);
    p.text(Font::pageValue, ink, ground, 550, 375, degrees, 2);

    drawTachometer(canvas);
}

void refreshReadings(Canvas& canvas) {
    Page p(canvas);
    drawLambda(p);
    drawTps(p);
    drawAtt(p);
    drawSpeeds(p);
    drawStateWords(p);
    drawTemperatures(p);
    drawStatusArea(canvas, p.lastPen);
}

void drawStatusArea(Canvas& canvas, Pen shapePen) {
    Page p(canvas);
    p.lastPen = shapePen;
    statusSection(p);
    indicatorLamp(p, p.lastPen);
}

bool learnButtonPressed(Canvas& canvas) {
    ReadingsState& s = readingsState;
    if (linkState.linkDown || firmwareVersion() != 1 || !s.fuelStateGas) return false;
    if (s.learnActive) {
        Page p(canvas);
        p.text(Font::pageLabel, colour::red, colour::white, statusLineX, statusLineY(5),
               slotText(slotLearnStoppedByUser));
        s.messageAge = 0;
        s.learnRequested = false;
    } else {
        s.learnRequested = true;
    }
    sendLearnAction();
    return true;
}

} // namespace kestos
