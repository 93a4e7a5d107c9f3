// The Oscilloscope page on screen: frames, a trace segment, the sweep bar and the fuel box at
// their scaled places in three size classes; the controls per class; the value cursor.
#include "tests/support/main_window_fixture.h"

#include <cstring>

#include "link/encodings.h"
#include "pages/readings/readings_view.h"
#include "pages/scope/scope.h"
#include "res/resource.h"
#include "shell/canvas_win32.h"
#include "tests/support/no_scope_controls.h"

using namespace kestos;
using namespace kestos::test;

namespace {

constexpr COLORREF black = RGB(0, 0, 0), red = RGB(255, 0, 0), blue = RGB(0, 0, 255),
                   cyan = RGB(0, 255, 255), green = RGB(0, 255, 0);

class ScopePage : public MainWindow {
  protected:
    // The page in a size class with its timer idle, so that only the test moves the sweep.
    void open(int sizeItem) {
        if (!shell.mainWindow) {
            ASSERT_TRUE(start());
        }
        shell.aboutOpen = true;
        command(IDM_PAGE_READINGS);
        command(sizeItem);
        command(IDM_PAGE_SCOPE);
        pump(30);
        std::memset(&deviceImage, 0, sizeof deviceImage);
        linkState.linkDown = 0;
        deviceImage.statusAnswer[2] = 0x04;
    }
    void setSpeed(unsigned rpm) {
        const unsigned p = periodFromRpm(rpm);
        deviceImage.readingsBlock[5] = static_cast<uint8_t>(lowByte(p));
        deviceImage.readingsBlock[6] = static_cast<uint8_t>(highByte(p));
    }
    void tick() {
        NoScopeControls controls;
        WindowCanvas canvas(shell.pageWindow);
        scopeTick(canvas, controls);
    }
};

} // namespace

TEST_F(ScopePage, TracesBarsBoxAndControlsPerClass) {
    for (int item : {IDM_SIZE_640X480, IDM_SIZE_800X600, IDM_SIZE_1280X1024}) {
        SCOPED_TRACE(item);
        open(item);
        setSpeed(3000); // v = 30 on plot 3
        deviceImage.readingsBlock[8] = 0x01;
        tick();
        tick(); // sweep at 204: the segment 203..204 and the bar at 206
        EXPECT_EQ(designPixel(198, 90), black) << "frame of plot 1";
        const int segmentX = (scaledX(203) + scaledX(204)) / 2;
        EXPECT_EQ(pixel(segmentX, scaledY(350 - 30)), blue) << "engine speed trace";
        EXPECT_EQ(designPixel(206, 300), red) << "sweep bar";
        EXPECT_EQ(designPixel(700, 495), cyan) << "fuel box on gas";

        InvalidateRect(shell.mainWindow, nullptr, TRUE);
        pump(50);
        const ScopeControlsLayout& l = sizeClassInfo(sizeState.sizeClass)->scope;
        EXPECT_EQ(placed(IDC_SCOPE_CURSOR_BAR), box(l.cursorBar));
        if (l.checkMoved) {
            EXPECT_EQ(placed(IDC_SCOPE_CURSOR), box(l.cursorCheck));
        }
        EXPECT_EQ(pixel(segmentX, scaledY(350 - 30)), blue) << "the paint redraws the traces";
    }
}

TEST_F(ScopePage, CursorShowsTheStoredSampleAndSendsNothing) {
    open(IDM_SIZE_800X600);
    scopeState.sampleHistory.speed[50] = 4000;
    scopeState.sampleHistory.state[50] = 0x01; // gas when sampled, petrol now
    HWND check = GetDlgItem(shell.pageWindow, IDC_SCOPE_CURSOR);
    HWND bar = GetDlgItem(shell.pageWindow, IDC_SCOPE_CURSOR_BAR);
    SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(scopeState.cursorMode);
    EXPECT_TRUE(IsWindowVisible(bar));
    SendMessageW(shell.pageWindow, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50),
                 reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 50);

    port.clearFrames();
    shell.aboutOpen = false;
    EXPECT_TRUE(pumpUntil([] { return readingsState.engineSpeed == 4000; }, 1000));
    pump(60);
    EXPECT_TRUE(port.frames().empty()) << "no request in cursor mode";
    EXPECT_EQ(designPixel(251, 45), black) << "the cursor line at element 50";
    EXPECT_EQ(designPixel(700, 495), cyan) << "the fuel state of the stored sample";

    SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_TRUE(pumpUntil([&] { return !port.frames().empty(); }, 1000)) << "live again";
    EXPECT_EQ(designPixel(700, 495), green);
}
