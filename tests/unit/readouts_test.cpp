// Each readout of the Readings and Oscilloscope pages shows the byte it is meant to: every case
// starts from the same image, sets one distinct value in one byte, and looks at one readout.
// A readout that reads another byte (or two bytes swapped) keeps the baseline's look.
#include <gtest/gtest.h>

#include <string>

#include "link/device_link.h"
#include "link/params.h"
#include "pages/readings/dial.h"
#include "pages/readings/readings_view.h"
#include "pages/scope/scope.h"
#include "shell/language.h"
#include "shell/size_classes.h"
#include "tests/gui/no_scope_controls.h"
#include "tests/unit/recording_canvas.h"
#include "tests/unit/scripted_port.h"
#include "tests/unit/slot_names.h"

using namespace kestos;

namespace {

enum class Page { readings, scope };

// What of the drawing a case looks at.
struct Look {
    enum Kind {
        text,       // the text drawn at (x, y)
        textColour, // its colour: "red", "black", "gray" or "other"
        range,      // "left-right" of the rectangle drawn with `pen` whose top is y
        markerX,    // x of the Att marker
        upperLamp,  // "1" when the TPS panel lights lamp 2, 3 or 4
        brushAt,    // the brush of the rectangle whose top-left is (x, y)
        slider,     // the brush of the lambda slider (40 wide, top 52)
    } kind;
    int x = 0, y = 0;
    Pen pen = Pen::black;
};

struct ByteCase {
    const char* readout;
    Page page;
    Block block;
    int byte;
    uint8_t value;
    Look look;
    const char* shown;
};

// Baseline: link up, firmware 1, engine running, full status, AttInit 100, all else 0.
const ByteCase cases[] = {
    {"lambda voltage", Page::readings, Block::readings, 2, 100, {Look::text, 40, 45}, "1.96"},
    {"TPS voltage", Page::readings, Block::readings, 1, 200, {Look::text, 40, 155}, "3.92"},
    {"TPS input type", Page::readings, Block::settings1, 2, 0x01, {Look::text, 40, 155}, "5.00"},
    {"TPS lamps", Page::readings, Block::readings, 7, 0x28, {Look::upperLamp}, "1"},
    {"slider colour", Page::readings, Block::readings, 7, 0x09, {Look::slider}, "darkGreen"},
    {"TPSInert", Page::readings, Block::settings1, 12, 10, {Look::text, 305, 196}, "0.22"},
    {"Att", Page::readings, Block::readings, 3, 7, {Look::text, 40, 265}, "007"},
    {"AttInit marker", Page::readings, Block::readings, 4, 50, {Look::markerX}, "207"},
    {"AttMin_BJ",
     Page::readings,
     Block::settings2,
     14,
     30,
     {Look::range, 0, 295, Pen::cyan},
     "231-261"},
    {"AttMax_BJ",
     Page::readings,
     Block::settings2,
     13,
     30,
     {Look::range, 0, 295, Pen::cyan},
     "261-291"},
    {"AttMin", Page::readings, Block::settings2, 2, 20, {Look::range, 0, 305, Pen::red}, "241-261"},
    {"AttMax", Page::readings, Block::settings2, 1, 20, {Look::range, 0, 305, Pen::red}, "261-281"},
    {"engine period low", Page::readings, Block::readings, 5, 200, {Look::text, 590, 210}, "7500"},
    {"engine period high", Page::readings, Block::readings, 6, 1, {Look::text, 590, 210}, "5860"},
    {"CutOffRPMLo", Page::readings, Block::settings2, 8, 200, {Look::text, 510, 265}, "7500"},
    {"CutOffRPMHi", Page::readings, Block::settings2, 9, 1, {Look::text, 510, 265}, "5860"},
    {"LPGOnRPMLo", Page::readings, Block::settings2, 5, 200, {Look::text, 605, 265}, "7500"},
    {"LPGOnRPMHi", Page::readings, Block::settings2, 6, 1, {Look::text, 605, 265}, "5860"},
    {"LPGOffRPMLo", Page::readings, Block::settings2, 11, 200, {Look::text, 705, 265}, "7500"},
    {"LPGOffRPMHi", Page::readings, Block::settings2, 12, 1, {Look::text, 705, 265}, "5860"},
    {"cut-off shown",
     Page::readings,
     Block::settings1,
     1,
     0x20,
     {Look::textColour, 510, 265},
     "black"},
    {"LPG OFF state",
     Page::readings,
     Block::readings,
     8,
     0x04,
     {Look::textColour, 685, 290},
     "red"},
    {"CUT-OFF state",
     Page::readings,
     Block::readings,
     8,
     0x08,
     {Look::textColour, 485, 290},
     "red"},
    {"reducer temperature", Page::readings, Block::readings, 9, 100, {Look::text, 490, 375}, "012"},
    {"LPGOnTemp", Page::readings, Block::settings1, 11, 100, {Look::text, 705, 385}, "12"},

    {"scope lambda", Page::scope, Block::readings, 2, 100, {Look::text, 630, 70}, "1.96"},
    {"scope Att", Page::scope, Block::readings, 3, 7, {Look::text, 630, 180}, "007"},
    {"scope period low", Page::scope, Block::readings, 5, 200, {Look::text, 630, 290}, "7500"},
    {"scope period high", Page::scope, Block::readings, 6, 1, {Look::text, 630, 290}, "5860"},
    {"scope TPS", Page::scope, Block::readings, 1, 200, {Look::text, 630, 400}, "3.92"},
    {"scope TPS input type",
     Page::scope,
     Block::settings1,
     2,
     0x01,
     {Look::text, 630, 400},
     "5.00"},
    {"scope fuel state", Page::scope, Block::readings, 8, 0x01, {Look::brushAt, 630, 465}, "cyan"},
};

std::string colourName(Rgb c) {
    return c == colour::red     ? "red"
           : c == colour::black ? "black"
           : c == colour::gray  ? "gray"
                                : "other";
}

std::string brushName(Brush b) {
    return b == Brush::darkGreen ? "darkGreen" : b == Brush::cyan ? "cyan" : "other";
}

std::string seen(const RecordingCanvas& c, const Look& l) {
    switch (l.kind) {
    case Look::text:
    case Look::textColour: {
        const DrawOp* op = c.lastTextAt(l.x, l.y);
        if (!op) return "(nothing)";
        return l.kind == Look::text ? op->str : colourName(op->foreground);
    }
    case Look::range:
        for (auto it = c.ops.rbegin(); it != c.ops.rend(); ++it)
            if (it->kind == DrawOp::rectangle && it->pen == l.pen && it->b == l.y)
                return std::to_string(it->a) + "-" + std::to_string(it->c);
        return "(nothing)";
    case Look::markerX:
        for (auto it = c.ops.rbegin(); it != c.ops.rend(); ++it)
            if (it->kind == DrawOp::text && it->b == 315 && it->str == "^")
                return std::to_string(it->a);
        return "(nothing)";
    case Look::upperLamp: return readingsState.upperLampLit ? "1" : "0";
    case Look::brushAt:
    case Look::slider:
        for (auto it = c.ops.rbegin(); it != c.ops.rend(); ++it) {
            if (it->kind != DrawOp::rectangle) continue;
            const bool at = l.kind == Look::brushAt ? it->a == l.x && it->b == l.y
                                                    : it->b == 52 && it->c - it->a == 40;
            if (at) return brushName(it->brush);
        }
        return "(nothing)";
    }
    return "";
}

uint8_t* blockBytes(Block b) {
    return b == Block::readings    ? deviceImage.readingsBlock
           : b == Block::settings1 ? deviceImage.settingsBlock1
                                   : deviceImage.settingsBlock2;
}

class Readouts : public ::testing::Test {
  protected:
    RecordingCanvas canvas;
    ScriptedPort port;
    test::NoScopeControls controls;

    void SetUp() override {
        setSerialPort(&port);
        loadSlotNames("S");
        buildDialTables();
    }
    void TearDown() override { setSerialPort(nullptr); }

    void baseline() {
        resetLink();
        resetReadingsState();
        resetScopeState();
        resetSizeState();
        selectSizeClass(2);
        markSizeClassValues(2);
        selectClassLamp(2);
        linkState.linkDown = 0;
        deviceImage.statusAnswer[2] = 0x04; // firmware 1
        deviceImage.readingsBlock[0] = 0x65;
        deviceImage.readingsBlock[4] = 100;   // AttInit: the ranges lie inside the track
        deviceImage.readingsBlock[7] = 0x08;  // engine running
        deviceImage.settingsBlock1[5] = 0x80; // full status reporting
    }
    std::string draw(Page page, const Look& look) {
        canvas.clear();
        if (page == Page::readings) {
            refreshReadings(canvas);
        } else {
            openScope(canvas, controls);
            canvas.clear();
            scopeTick(canvas, controls);
        }
        return seen(canvas, look);
    }
};

} // namespace

TEST_F(Readouts, EachShowsItsOwnByte) {
    for (const ByteCase& c : cases) {
        SCOPED_TRACE(c.readout);
        baseline();
        const std::string before = draw(c.page, c.look);
        baseline();
        blockBytes(c.block)[c.byte] = c.value;
        const std::string after = draw(c.page, c.look);
        EXPECT_EQ(after, c.shown);
        EXPECT_NE(before, after) << "the baseline already shows it";
    }
}
