// The Oscilloscope page's sweep, trace values, readouts and value cursor, on a recording canvas.
#include <gtest/gtest.h>

#include "link/device_link.h"
#include "pages/readings/readings_view.h"
#include "pages/scope/scope.h"
#include "shell/size_classes.h"
#include "tests/unit/recording_canvas.h"
#include "tests/unit/slot_names.h"

using namespace kestos;

namespace {

class FakeControls : public ScopeControls {
  public:
    int barPosition = cursorFirst;
    bool barShown = false;
    void setCursorCaption(const char*) override {}
    void setCursorChecked(bool) override {}
    void showCursorBar(bool shown) override { barShown = shown; }
    void setCursorBarRange(int, int) override {}
    int cursorBarPosition() const override { return barPosition; }
};

class Scope : public ::testing::Test {
  protected:
    RecordingCanvas canvas;
    FakeControls controls;
    void SetUp() override {
        resetLink();
        linkState.linkDown = 0;
        resetScopeState();
        resetReadingsState();
        loadSlotNames("S");
        useClass(2);
        deviceImage.readingsBlock[0] = frameStart;
    }
    void useClass(int sizeClass) {
        resetSizeState();
        selectSizeClass(sizeClass);
        markSizeClassValues(sizeClass);
    }
    void open() {
        openScope(canvas, controls);
        canvas.clear();
    }
    void tick() {
        canvas.clear();
        scopeTick(canvas, controls);
    }
    // Segments drawn by the last tick, in drawing order.
    std::vector<const DrawOp*> segments() const { return canvas.all(DrawOp::line); }
    // Left edges of the white column clears of the last tick (one per band, the first band's).
    std::vector<std::pair<int, int>> clears() const {
        std::vector<std::pair<int, int>> out;
        for (const DrawOp* r : canvas.all(DrawOp::rectangle))
            if (r->pen == Pen::white && r->b == scaledY(43)) out.push_back({r->a, r->c});
        return out;
    }
    std::string readout(int y) const {
        const DrawOp* t = canvas.lastTextAt(scaledX(630), scaledY(y));
        return t ? t->str : "<none>";
    }
};

} // namespace

TEST_F(Scope, FirstTickWrapAndMargin) {
    deviceImage.readingsBlock[3] = 90; // Att: v = 30 on plot 2
    open();
    tick();
    EXPECT_EQ(scopeState.sweepPos, 203);
    ASSERT_EQ(segments().size(), 5u);
    const DrawOp* att = segments()[1];
    EXPECT_EQ(att->pen, Pen::green2);
    EXPECT_EQ(std::vector<int>({att->a, att->b, att->c, att->d}),
              std::vector<int>({202, 210, 203, 210}))
        << "flat, at the new value";
    EXPECT_EQ(clears(), (std::vector<std::pair<int, int>>{{203, 205}})) << "no margin yet";
    tick();
    EXPECT_EQ(clears().front(), std::make_pair(199, 204)) << "the margin from 204 on";

    scopeState.sweepPos = 595;
    deviceImage.readingsBlock[3] = 30;
    tick();
    EXPECT_EQ(segments()[1]->c, 596);
    EXPECT_EQ(scopeState.sweepPos, 201);
    EXPECT_EQ(scopeState.traceBuffer[1][396].y, 230);
    auto c = clears();
    using Columns = std::vector<std::pair<int, int>>;
    EXPECT_EQ(Columns(c.end() - 2, c.end()), (Columns{{598, 599}, {199, 203}}));
    deviceImage.readingsBlock[3] = 60;
    tick();
    const DrawOp* first = segments()[1];
    EXPECT_EQ(std::vector<int>({first->a, first->b, first->c, first->d}),
              std::vector<int>({201, 230, 202, 220}))
        << "from the value of 596";
    tick();
    EXPECT_EQ(segments()[1]->b, segments()[1]->d) << "flat again at 203";
}

TEST_F(Scope, ClassOneAddsItsPixelAndLinkDownStopsTheSweep) {
    useClass(1);
    open();
    scopeState.sweepPos = 210;
    tick();
    EXPECT_EQ(clears(), (std::vector<std::pair<int, int>>{{scaledX(198) + 1, scaledX(204)},
                                                          {scaledX(212), scaledX(213)}}));
    linkState.linkDown = 1;
    tick();
    EXPECT_EQ(scopeState.sweepPos, 211);
    EXPECT_TRUE(segments().empty());
    EXPECT_EQ(readout(70), "0.00") << "the readouts still run";
}

TEST_F(Scope, TraceValues) {
    EXPECT_EQ(lambdaTraceValue(51, 0x00), 76);
    EXPECT_EQ(lambdaTraceValue(54, 0x00), 80) << "clamped";
    EXPECT_EQ(lambdaTraceValue(255, 0x30), 76) << "382 div 5 for any other sensor type";
    const struct {
        unsigned type;
        bool inverted;
    } tps[] = {{0, false}, {1, true},  {2, false}, {3, true},  {5, true},
               {6, false}, {7, false}, {9, true},  {15, false}};
    for (const auto& t : tps)
        EXPECT_EQ(tpsTraceValue(255, t.type), t.inverted ? 0 : 82) << t.type;
    EXPECT_EQ(speedTraceValue(7950), 79);
    EXPECT_EQ(speedTraceValue(12000), 80);
}

TEST_F(Scope, ReadoutsByTpsInputType) {
    uint8_t* rb = deviceImage.readingsBlock;
    rb[1] = 51; // 0.9996 V
    rb[2] = 100;
    rb[3] = 7;
    rb[5] = 0x70, rb[6] = 0x05; // period 1392: 10750 rpm
    const struct {
        uint8_t type;
        uint8_t byte7;
        const char* shown;
        bool unit;
    } cases[] = {{0, 0, "0.99", true}, {1, 0, "4.00", true},    {2, 0, "_.__", false},
                 {6, 0, " ON", false}, {7, 0x10, "OFF", false}, {8, 0, "0.99", true}};
    for (const auto& c : cases) {
        deviceImage.settingsBlock1[2] = c.type;
        rb[7] = c.byte7;
        tick();
        EXPECT_EQ(readout(400), c.shown) << int(c.type);
        EXPECT_EQ(canvas.lastTextAt(scaledX(700), scaledY(400)) != nullptr, c.unit) << int(c.type);
    }
    EXPECT_EQ(readout(70), "1.96");
    EXPECT_EQ(readout(180), "007");
    EXPECT_EQ(readout(290), "1075") << "a five-digit speed shows its first four digits";
    EXPECT_EQ(readingsState.engineSpeed, 10750u);
    const DrawOp* petrol = canvas.lastTextAt(scaledX(655), scaledY(475));
    ASSERT_NE(petrol, nullptr);
    EXPECT_EQ(petrol->str, "S14");
}

TEST_F(Scope, CursorShowsTheStoredSampleAndStopsAtItsLimits) {
    open();
    scopeState.cursorMode = true;
    controls.barPosition = 2;
    for (int i : {0, 1, 2})
        scopeState.traceBuffer[0][i].y = 100 + i;
    canvas.clear();
    cursorTick(canvas, controls);
    const auto polylines = canvas.all(DrawOp::polyline);
    ASSERT_EQ(polylines.size(), 5u);
    const CanvasPoint* b = scopeState.traceBuffer[0];
    for (int i : {0, 1, 2}) {
        const CanvasPoint& expected = b[i == 2 ? 1 : 0]; // elements 0, 0 and 1
        EXPECT_EQ(polylines[0]->points[i].x, expected.x);
        EXPECT_EQ(polylines[0]->points[i].y, expected.y);
    }
    const auto rects = canvas.all(DrawOp::rectangle);
    bool erased201 = false;
    for (const DrawOp* r : rects)
        erased201 |= r->pen == Pen::white && r->a == 201 && r->c == 202;
    EXPECT_TRUE(erased201) << "the first tick erases a line at x 201";

    scopeState.sampleHistory.att[40] = 123;
    scopeState.sampleHistory.state[40] = 1;
    controls.barPosition = 40;
    canvas.clear();
    cursorTick(canvas, controls);
    EXPECT_EQ(readout(180), "123");
    EXPECT_NE(canvas.lastTextAt(675, 475), nullptr) << "gas under the cursor";

    const struct {
        int from;
        ScrollCode code;
        int to;
    } steps[] = {{3, ScrollCode::lineLeft, 2},      {2, ScrollCode::lineLeft, 2},
                 {394, ScrollCode::lineRight, 395}, {395, ScrollCode::lineRight, 395},
                 {7, ScrollCode::pageLeft, 2},      {390, ScrollCode::pageRight, 395},
                 {100, ScrollCode::pageRight, 110}, {100, ScrollCode::thumbTrack, 250},
                 {100, ScrollCode::other, 100}};
    for (const auto& s : steps)
        EXPECT_EQ(cursorScrollStep(s.from, s.code, 250), s.to) << s.from;
}
