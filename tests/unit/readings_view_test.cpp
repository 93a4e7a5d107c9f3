// What the Readings page decides to draw, from the device image and its own tracking state.
#include <gtest/gtest.h>

#include <string>

#include "link/device_link.h"
#include "link/encodings.h"
#include "link/params.h"
#include "pages/readings/dial.h"
#include "pages/readings/readings_view.h"
#include "shell/language.h"
#include "shell/size_classes.h"
#include "tests/unit/recording_canvas.h"
#include "tests/unit/slot_names.h"
#include "tests/unit/scripted_port.h"

using namespace kestos;

namespace {

class Readings : public ::testing::Test {
  public:
    RecordingCanvas canvas;
    ScriptedPort port;

    void SetUp() override {
        setSerialPort(&port);
        resetLink();
        resetReadingsState();
        resetSizeState();
        markSizeClassValues(2);
        selectClassLamp(2);
        buildDialTables();
        resetLanguageState();
        loadSlotNames("S");
    }
    void TearDown() override { setSerialPort(nullptr); }

    // Link up, firmware 1, engine running, full status reporting on.
    void fullStatusState(uint8_t b8) {
        linkState.linkDown = 0;
        deviceImage.statusAnswer[2] = 0x04;
        deviceImage.readingsBlock[7] = 0x08;
        deviceImage.settingsBlock1[5] = 0x80;
        deviceImage.readingsBlock[8] = b8;
    }
    void refresh() {
        canvas.clear();
        refreshReadings(canvas);
    }
    // Text on status line n, "" when nothing was drawn there; blanks come back as spaces.
    std::string line(int n) const {
        const DrawOp* op = canvas.lastTextAt(statusLineX, statusLineY(n));
        return op ? op->str : "";
    }
    bool lineRed(int n) const {
        const DrawOp* op = canvas.lastTextAt(statusLineX, statusLineY(n));
        return op && op->foreground == colour::red;
    }
    Brush fuelBoxBrush() const {
        for (auto it = canvas.ops.rbegin(); it != canvas.ops.rend(); ++it)
            if (it->kind == DrawOp::rectangle && it->a == 490 && it->b == 465) return it->brush;
        return Brush::count;
    }
    const DrawOp* lamp() const {
        auto e = canvas.all(DrawOp::ellipse);
        return e.empty() ? nullptr : e.back();
    }
};

std::string blank(int n) {
    return std::string(static_cast<size_t>(n), ' ');
}
} // namespace

TEST_F(Readings, StatusStatesDrawTheirSlotsOnTheirLines) {
    struct Case {
        const char* name;
        void (*setup)(Readings&);
        std::string lines[5];
        bool red[5];
        Brush box;
    };
    const Case cases[] = {
        {"link down",
         [](Readings&) {},
         {"S30", blank(55), "S31", blank(55), blank(55)},
         {true, false, false, false, false},
         Brush::green},
        // Line 4 names why, with the port as the menu shows it, cleared to the line's width.
        {"link down, port busy",
         [](Readings&) {
             linkState.portName = "COM7:";
             linkState.downReason = LinkDownReason::portBusy;
         },
         {"S30", blank(55), "S31", "COM7 in use elsewhere" + blank(34), blank(55)},
         {true, false, false, false, false},
         Brush::green},
        {"engine not running",
         [](Readings& t) {
             t.fullStatusState(0xC1);
             deviceImage.readingsBlock[7] = 0x00;
         },
         {"S12", blank(55), "S28", blank(55), blank(55)},
         {false, false, true, false, false},
         Brush::green},
        {"automatic switch-over off, on gas",
         [](Readings& t) {
             t.fullStatusState(0x01);
             deviceImage.settingsBlock1[5] = 0x00;
         },
         {"S13", blank(40), blank(60), blank(55), blank(65)},
         {},
         Brush::cyan},
        {"automatic switch-over off, on petrol",
         [](Readings& t) {
             t.fullStatusState(0x00);
             deviceImage.settingsBlock1[5] = 0x00;
         },
         {"S12", blank(40), "S27", blank(55), blank(65)},
         {false, false, true, false, false},
         Brush::green},
        {"LPG OFF above the switch-off speed, warm",
         [](Readings& t) { t.fullStatusState(0x84); },
         {"S12", "", "S21", blank(55), ""},
         {false, false, true, false, false},
         Brush::green},
        {"LPG OFF while cold",
         [](Readings& t) { t.fullStatusState(0x04); },
         {"S12", "", "S21", "S22", ""},
         {false, false, true, true, false},
         Brush::green},
        {"too cold",
         [](Readings& t) { t.fullStatusState(0x40); },
         {"S12", "", "S24", "S22", ""},
         {false, false, false, true, false},
         Brush::green},
        {"idle on gas",
         [](Readings& t) { t.fullStatusState(0xC1); },
         {"S13", blank(40), blank(73), blank(55), ""},
         {},
         Brush::cyan},
        {"idle with CUT-OFF",
         [](Readings& t) { t.fullStatusState(0xC9); },
         {"S13", blank(40), "", blank(55), "S23"},
         {false, false, false, false, true},
         Brush::cyan},
        {"warm, switching when the speed drops",
         [](Readings& t) { t.fullStatusState(0x80); },
         {"S12", "", "S24", "S25", ""},
         {false, false, false, true, false},
         Brush::green},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        linkState.portName = "COM1:";
        resetLink();
        resetReadingsState();
        c.setup(*this);
        refresh();
        for (int n = 1; n <= 5; ++n) {
            EXPECT_EQ(line(n), c.lines[n - 1]) << "line " << n;
            if (!c.lines[n - 1].empty() && c.lines[n - 1][0] == 'S') {
                EXPECT_EQ(lineRed(n), c.red[n - 1]) << "colour of line " << n;
            }
        }
        EXPECT_EQ(fuelBoxBrush(), c.box);
        EXPECT_EQ(readingsState.fuelStateGas, c.box == Brush::cyan);
    }
}

TEST_F(Readings, OtherFirmwareKeepsTheBoxAndTheLampColours) {
    fullStatusState(0x03); // learning, no upper lamp: steady yellow
    refresh();
    ASSERT_TRUE(readingsState.learnActive);
    ASSERT_TRUE(readingsState.fuelStateGas);
    deviceImage.statusAnswer[2] = 0x24; // major 2
    refresh();
    EXPECT_EQ(line(1), "S29");
    EXPECT_TRUE(lineRed(1));
    for (int n = 2; n <= 5; ++n)
        EXPECT_EQ(line(n), blank(55));
    EXPECT_EQ(fuelBoxBrush(), Brush::count) << "no box drawn";
    EXPECT_TRUE(readingsState.fuelStateGas);
    ASSERT_NE(lamp(), nullptr);
    EXPECT_EQ(lamp()->brush, Brush::yellow);
    EXPECT_EQ(lamp()->pen, Pen::lightGray) << "outlined with the last clearing pen";
}

TEST_F(Readings, SwitchOnMessageDependsOnTheSpeedAndTheOption) {
    fullStatusState(0x81);
    const unsigned period = periodFromRpm(2000);
    deviceImage.settingsBlock2[5] = static_cast<uint8_t>(lowByte(period));
    deviceImage.settingsBlock2[6] = static_cast<uint8_t>(highByte(period));
    const struct {
        unsigned rpm;
        uint8_t options;
        const char* slot;
    } cases[] = {{2000, 0x00, "S25"}, {2050, 0x00, "S26"}, {2050, options::switchOnRise, "S25"}};
    for (const auto& c : cases) {
        const unsigned p = periodFromRpm(c.rpm);
        deviceImage.readingsBlock[5] = static_cast<uint8_t>(lowByte(p));
        deviceImage.readingsBlock[6] = static_cast<uint8_t>(highByte(p));
        deviceImage.settingsBlock1[1] = c.options;
        refresh();
        EXPECT_EQ(line(4), c.slot) << c.rpm;
    }
}

TEST_F(Readings, LearningHandShakeFromButtonToOutcome) {
    fullStatusState(0xC1);
    refresh();
    ASSERT_TRUE(readingsState.fuelStateGas);

    EXPECT_TRUE(learnButtonPressed(canvas));
    ASSERT_EQ(port.written.size(), 1u);
    EXPECT_EQ(port.written[0], (Bytes{0x65, 0x1E, 0x32, 0xB5}));
    EXPECT_TRUE(readingsState.learnRequested);

    // Learning with lamp 2 lit: slot 16 in black, the lamp blinks every second refresh.
    deviceImage.readingsBlock[8] = 0x03;
    deviceImage.readingsBlock[7] = 0x28;
    Brush lamps[6];
    for (Brush& b : lamps) {
        refresh();
        EXPECT_EQ(line(5), "S16");
        EXPECT_FALSE(lineRed(5));
        b = lamp()->brush;
    }
    for (int i = 0; i + 2 < 6; ++i)
        EXPECT_NE(lamps[i], lamps[i + 2]) << i;
    for (int i = 0; i + 1 < 6; i += 2)
        EXPECT_EQ(lamps[i], lamps[i + 1]) << i;

    // Without an upper lamp: slot 17 in red, the lamp steady yellow.
    deviceImage.readingsBlock[7] = 0x18;
    for (int i = 0; i < 3; ++i) {
        refresh();
        EXPECT_EQ(line(5), "S17");
        EXPECT_TRUE(lineRed(5));
        EXPECT_EQ(lamp()->brush, Brush::yellow);
    }

    // Learning ends well: slot 18 once, then 60 idle refreshes later line 5 is blanked.
    deviceImage.readingsBlock[8] = 0xC1;
    refresh();
    EXPECT_EQ(line(5), "S18");
    EXPECT_TRUE(lineRed(5));
    EXPECT_FALSE(readingsState.learnRequested);
    EXPECT_EQ(lamp()->brush, Brush::olive);
    // The outcome's own refresh counts as the first idle one.
    for (int i = 1; i < 60; ++i) {
        refresh();
        EXPECT_EQ(line(5), "") << "refresh " << i;
    }
    refresh();
    EXPECT_EQ(line(5), blank(65));
    refresh();
    EXPECT_EQ(line(5), blank(65)) << "and on every later idle refresh";
}

TEST_F(Readings, LearningFailuresAreReported) {
    fullStatusState(0xC1);
    refresh();
    learnButtonPressed(canvas);
    deviceImage.readingsBlock[8] = 0xF1; // failed, cause still present
    for (int i = 0; i < 3; ++i) {
        refresh();
        EXPECT_EQ(line(5), "S19");
        EXPECT_TRUE(readingsState.learnRequested);
    }
    deviceImage.readingsBlock[8] = 0xD1; // cause gone
    refresh();
    EXPECT_EQ(line(5), "S20");
    EXPECT_FALSE(readingsState.learnRequested);
}

TEST_F(Readings, ButtonStopsLearningAndIsDeadOnPetrolOrWithoutLink) {
    fullStatusState(0x03);
    refresh();
    ASSERT_TRUE(readingsState.learnActive);
    readingsState.learnRequested = true;
    readingsState.messageAge = 30;
    canvas.clear();
    EXPECT_TRUE(learnButtonPressed(canvas));
    EXPECT_EQ(line(5), "S32");
    EXPECT_TRUE(lineRed(5));
    EXPECT_FALSE(readingsState.learnRequested);
    EXPECT_EQ(readingsState.messageAge, 0);

    port.written.clear();
    fullStatusState(0xC0); // petrol
    refresh();
    EXPECT_FALSE(learnButtonPressed(canvas));
    linkState.linkDown = 1;
    readingsState.fuelStateGas = true;
    EXPECT_FALSE(learnButtonPressed(canvas));
    EXPECT_TRUE(port.written.empty());
}

TEST_F(Readings, SliderPositionAndColour) {
    const struct {
        unsigned lambda, type, colourCode;
        int position;
        Brush brush;
    } cases[] = {{51, 0x00, 1, 255, Brush::darkGreen}, {51, 0x10, 4, 51, Brush::red},
                 {60, 0x00, 2, 255, Brush::yellow},    {0, 0x20, 0, 0, Brush::yellow},
                 {255, 0x50, 7, 255, Brush::yellow},   {20, 0x00, 3, 100, Brush::yellow}};
    for (const auto& c : cases) {
        SliderLook s = lambdaSlider(c.lambda, c.type, c.colourCode);
        EXPECT_EQ(s.position, c.position) << c.lambda;
        EXPECT_EQ(s.brush, c.brush) << c.colourCode;
    }
}

TEST_F(Readings, RangesAroundTheMarkerStayInTheTrack) {
    const struct {
        int attInit;
        unsigned below, above;
        int left, right;
    } cases[] = {{0, 20, 10, 161, 171},
                 {250, 5, 20, 406, 418},
                 {100, 30, 30, 231, 291},
                 {255, 255, 255, 161, 418}};
    for (const auto& c : cases) {
        Range r = permittedRange(c.attInit, c.below, c.above);
        EXPECT_EQ(r.left, c.left);
        EXPECT_EQ(r.right, c.right);
    }
}

TEST_F(Readings, ReadoutsAreCutNotRounded) {
    fullStatusState(0xC1);
    deviceImage.readingsBlock[2] = 255; // 4.998 V
    deviceImage.readingsBlock[3] = 7;
    deviceImage.readingsBlock[6] = 255; // stopped, whatever byte 5 holds
    deviceImage.readingsBlock[5] = 17;
    deviceImage.readingsBlock[7] = 0x18;
    deviceImage.settingsBlock1[2] = 0x06; // TPS as a switch
    refresh();
    EXPECT_EQ(canvas.lastTextAt(40, 45)->str, "4.99");
    EXPECT_EQ(canvas.lastTextAt(40, 265)->str, "007");
    EXPECT_EQ(canvas.lastTextAt(590, 210)->str, "0000");
    EXPECT_EQ(canvas.lastTextAt(40, 155)->str, "OFF");
    EXPECT_EQ(readingsState.engineSpeed, 0u);
    char buf[16];
    EXPECT_STREQ(formatCut(buf, sizeof buf, 3, "%03dl", 1234), "123");
}

TEST_F(Readings, LitTpsLampFollowsTheLampCode) {
    const struct {
        unsigned byte;
        int lamp;
        bool upper;
    } cases[] = {{0x10, 0, false}, {0x28, 1, true},   {0x4F, 2, true},
                 {0x80, 3, true},  {0x30, -1, false}, {0x00, -1, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(litTpsLamp(c.byte), c.lamp);
        fullStatusState(0xC1);
        deviceImage.readingsBlock[7] = static_cast<uint8_t>(c.byte | 0x08);
        refresh();
        EXPECT_EQ(readingsState.upperLampLit, c.upper) << c.byte;
    }
}

TEST_F(Readings, DialIsRedrawnOnlyWhenASpeedChanges) {
    fullStatusState(0xC1);
    refresh(); // switch-off speed 0 -> 0, speed 0 -> 0: nothing to redraw
    EXPECT_TRUE(canvas.all(DrawOp::line).empty());
    const unsigned p = periodFromRpm(6000);
    deviceImage.settingsBlock2[11] = static_cast<uint8_t>(lowByte(p));
    deviceImage.settingsBlock2[12] = static_cast<uint8_t>(highByte(p));
    refresh();
    EXPECT_EQ(readingsState.lpgOffSpeed, 6000u);
    EXPECT_EQ(canvas.all(DrawOp::line).size(), 2u + majorTicks + minorTicks + 1);
    refresh();
    EXPECT_TRUE(canvas.all(DrawOp::line).empty());
}

// Each readout shows its own byte: every case starts from the same image (full status,
// AttInit 100, the rest 0), sets one distinct value in one byte and looks at one readout. One
// that reads another byte, or two bytes swapped, keeps the baseline's look. (The Oscilloscope's
// readouts are pinned by distinct bytes in scope_test.)
TEST_F(Readings, EachReadoutShowsItsOwnByte) {
    // look: 't' the text at (x, y), 'k' its colour, 'c' / 'r' the cyan / red range, 'm' the
    // Att marker's x, 'l' an upper TPS lamp lit, 's' the lambda slider's brush.
    const struct {
        const char* readout;
        Block block;
        int byte;
        uint8_t value;
        char look;
        int x, y;
        const char* shown;
    } cases[] = {
        {"lambda", Block::readings, 2, 100, 't', 40, 45, "1.96"},
        {"TPS", Block::readings, 1, 200, 't', 40, 155, "3.92"},
        {"TPS input type", Block::settings1, 2, 0x01, 't', 40, 155, "5.00"},
        {"TPS lamps", Block::readings, 7, 0x28, 'l', 0, 0, "1"},
        {"slider colour", Block::readings, 7, 0x09, 's', 0, 0, "darkGreen"},
        {"TPSInert", Block::settings1, 12, 10, 't', 305, 196, "0.22"},
        {"Att", Block::readings, 3, 7, 't', 40, 265, "007"},
        {"AttInit", Block::readings, 4, 50, 'm', 0, 0, "207"},
        {"AttMin_BJ", Block::settings2, 14, 30, 'c', 0, 0, "231-261"},
        {"AttMax_BJ", Block::settings2, 13, 30, 'c', 0, 0, "261-291"},
        {"AttMin", Block::settings2, 2, 20, 'r', 0, 0, "241-261"},
        {"AttMax", Block::settings2, 1, 20, 'r', 0, 0, "261-281"},
        {"period low", Block::readings, 5, 200, 't', 590, 210, "7500"},
        {"period high", Block::readings, 6, 1, 't', 590, 210, "5860"},
        {"CutOffRPMLo", Block::settings2, 8, 200, 't', 510, 265, "7500"},
        {"CutOffRPMHi", Block::settings2, 9, 1, 't', 510, 265, "5860"},
        {"LPGOnRPMLo", Block::settings2, 5, 200, 't', 605, 265, "7500"},
        {"LPGOnRPMHi", Block::settings2, 6, 1, 't', 605, 265, "5860"},
        {"LPGOffRPMLo", Block::settings2, 11, 200, 't', 705, 265, "7500"},
        {"LPGOffRPMHi", Block::settings2, 12, 1, 't', 705, 265, "5860"},
        {"cut-off shown", Block::settings1, 1, 0x20, 'k', 510, 265, "black"},
        {"LPG OFF", Block::readings, 8, 0x04, 'k', 685, 290, "red"},
        {"CUT-OFF", Block::readings, 8, 0x08, 'k', 485, 290, "red"},
        {"temperature", Block::readings, 9, 100, 't', 490, 375, "012"},
        {"LPGOnTemp", Block::settings1, 11, 100, 't', 705, 385, "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.readout);
        auto last = [&](auto match) -> const DrawOp* {
            for (auto it = canvas.ops.rbegin(); it != canvas.ops.rend(); ++it)
                if (match(*it)) return &*it;
            return nullptr;
        };
        auto seen = [&]() -> std::string {
            const bool cyan = c.look == 'c';
            const DrawOp* op = nullptr;
            switch (c.look) {
            case 't': op = canvas.lastTextAt(c.x, c.y); return op ? op->str : "-";
            case 'k':
                op = canvas.lastTextAt(c.x, c.y);
                return !op                               ? "-"
                       : op->foreground == colour::red   ? "red"
                       : op->foreground == colour::black ? "black"
                                                         : "other";
            case 'c':
            case 'r':
                op = last([&](const DrawOp& o) {
                    return o.kind == DrawOp::rectangle && o.pen == (cyan ? Pen::cyan : Pen::red) &&
                           o.b == (cyan ? 295 : 305);
                });
                return op ? std::to_string(op->a) + "-" + std::to_string(op->c) : "-";
            case 'm':
                op = last([](const DrawOp& o) { return o.kind == DrawOp::text && o.str == "^"; });
                return op ? std::to_string(op->a) : "-";
            case 'l': return readingsState.upperLampLit ? "1" : "0";
            default:
                op = last([](const DrawOp& o) {
                    return o.kind == DrawOp::rectangle && o.b == 52 && o.c - o.a == 40;
                });
                return op && op->brush == Brush::darkGreen ? "darkGreen" : "other";
            }
        };
        auto look = [&](bool set) {
            resetLink();
            resetReadingsState();
            fullStatusState(0);
            deviceImage.readingsBlock[4] = 100;
            uint8_t* block = c.block == Block::readings    ? deviceImage.readingsBlock
                             : c.block == Block::settings1 ? deviceImage.settingsBlock1
                                                           : deviceImage.settingsBlock2;
            if (set) block[c.byte] = c.value;
            refresh();
            return seen();
        };
        const std::string before = look(false), after = look(true);
        EXPECT_EQ(after, c.shown);
        EXPECT_NE(before, after) << "the baseline already shows it";
    }
}
