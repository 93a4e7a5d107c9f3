// The Readings page on screen: pixels where the page decided to draw, in three size classes.
#include "tests/support/main_window_fixture.h"

#include <cmath>
#include <cstring>

#include "link/encodings.h"
#include "pages/readings/dial.h"
#include "pages/readings/readings_page_win32.h"
#include "pages/readings/readings_view.h"
#include "res/resource.h"

using namespace kestos;
using kestos::test::liveGdiObjects;
using kestos::test::MainWindow;

namespace {

constexpr COLORREF cyan = RGB(0, 255, 255), green = RGB(0, 255, 0), red = RGB(255, 0, 0),
                   yellow = RGB(255, 255, 0), olive = RGB(128, 128, 0), navy = RGB(0, 0, 128),
                   lightGray = RGB(192, 192, 192), darkGreen = RGB(0, 128, 0), black = RGB(0, 0, 0);

class ReadingsPage : public MainWindow {
  protected:
    // The page in a size class with the timer idle, so that only the test moves the image.
    void open(int sizeItem) {
        ASSERT_TRUE(start());
        command(sizeItem);
        shell.aboutOpen = true;
        pump(30);
        resetReadingsState();
        linkState.linkDown = 0;
        std::memset(&deviceImage, 0, sizeof deviceImage);
        deviceImage.statusAnswer[2] = 0x04;
        deviceImage.readingsBlock[7] = 0x08; // engine running
        deviceImage.settingsBlock1[5] = 0x80;
        drawReadingsBackground();
    }
    void refresh() { refreshReadings(); }
    // A point 60 % of the way from the dial's centre to table point n.
    COLORREF needlePixel(int n) const {
        const double s = sizeState.scaleX;
        const double cx = 495 * s + 130 * s, cy = 40 * s + 130 * s;
        const double tx = 495 * s + dialTables.needleTip.x[n] * s;
        const double ty = 40 * s + dialTables.needleTip.y[n] * s;
        return pixel(static_cast<int>(cx + 0.6 * (tx - cx)),
                     static_cast<int>(cy + 0.6 * (ty - cy)));
    }
    void setSpeed(unsigned rpm) {
        const unsigned p = periodFromRpm(rpm);
        deviceImage.readingsBlock[5] = static_cast<uint8_t>(lowByte(p));
        deviceImage.readingsBlock[6] = static_cast<uint8_t>(highByte(p));
    }
};

const int sizeItems[] = {IDM_SIZE_640X480, IDM_SIZE_800X600, IDM_SIZE_1280X1024};

} // namespace

TEST_F(ReadingsPage, FuelStateBoxAndLampColours) {
    for (int item : sizeItems) {
        SCOPED_TRACE(item);
        open(item);
        const int lampX = scaledX(635) + sizeState.lampDiameter / 2;
        const int lampY = scaledY(470) + sizeState.lampDiameter / 2;

        deviceImage.readingsBlock[8] = 0xC1; // idle on gas
        refresh();
        EXPECT_EQ(designPixel(495, 500), cyan);
        EXPECT_EQ(pixel(lampX, lampY), olive);

        deviceImage.readingsBlock[8] = 0xC0; // petrol
        refresh();
        EXPECT_EQ(designPixel(495, 500), green);

        deviceImage.readingsBlock[8] = 0x03; // learning, no upper lamp: steady yellow
        deviceImage.readingsBlock[7] = 0x18;
        refresh();
        EXPECT_EQ(pixel(lampX, lampY), yellow);
        EXPECT_EQ(designPixel(495, 500), cyan);
        TearDown();
        SetUp();
    }
}

TEST_F(ReadingsPage, LitTpsLampSliderAndAttBar) {
    for (int item : sizeItems) {
        SCOPED_TRACE(item);
        open(item);
        deviceImage.readingsBlock[7] = 0x48 | 0x04; // lamp 3, red slider
        deviceImage.readingsBlock[2] = 20;          // type 0: position 100
        deviceImage.readingsBlock[3] = 100;
        refresh();
        const BarRect& b = sizeState.barRect;
        const int midY = (b.top + b.bottom) / 2;
        const COLORREF lampColours[4] = {cyan, darkGreen, yellow, red};
        for (int i = 0; i < 4; ++i) {
            const int midX = sizeState.barX[i] + (b.left + b.right) / 2;
            EXPECT_EQ(pixel(midX, midY), i == 2 ? lampColours[i] : lightGray) << "lamp " << i;
        }
        EXPECT_EQ(designPixel(160 + 100, 62), red);
        EXPECT_EQ(designPixel(145, 62), lightGray);
        EXPECT_EQ(designPixel(161 + 100 - 3, 280), navy);
        EXPECT_EQ(designPixel(161 + 100 + 3, 280), lightGray);

        deviceImage.readingsBlock[7] = 0x08 | 0x01; // no lamp, dark green slider
        deviceImage.readingsBlock[2] = 0;
        deviceImage.readingsBlock[3] = 10;
        refresh();
        EXPECT_EQ(designPixel(160, 62), darkGreen);
        EXPECT_EQ(designPixel(161 + 100 - 3, 280), lightGray) << "the bar shrank";
        TearDown();
        SetUp();
    }
}

TEST_F(ReadingsPage, NeedleFollowsTheSpeed) {
    for (int item : sizeItems) {
        SCOPED_TRACE(item);
        open(item);
        const struct {
            unsigned rpm;
            int n;
        } speeds[] = {{0, 0}, {4000, 80}, {8000, 160}};
        setSpeed(100); // away from 0, so that 0 is a change
        refresh();
        for (const auto& s : speeds) {
            setSpeed(s.rpm);
            if (s.rpm == 0) deviceImage.readingsBlock[6] = 255;
            refresh();
            for (const auto& other : speeds)
                EXPECT_EQ(needlePixel(other.n), other.n == s.n ? red : black)
                    << s.rpm << " rpm, probe at " << other.rpm;
        }
        TearDown();
        SetUp();
    }
}

TEST_F(ReadingsPage, ButtonCaptionComesFromTheLanguage) {
    open(IDM_SIZE_800X600);
    wchar_t caption[64] = {};
    GetDlgItemTextW(shell.pageWindow, IDC_LEARN, caption, 63);
    EXPECT_STREQ(caption, L"NAUKA");
    command(IDM_LANG_ENGLISH);
    GetDlgItemTextW(shell.pageWindow, IDC_LEARN, caption, 63);
    EXPECT_STRNE(caption, L"NAUKA");
    EXPECT_STRNE(caption, L"");
}

TEST_F(ReadingsPage, ManyRefreshesLeaveNoGdiObjectsOrDcsBehind) {
    open(IDM_SIZE_800X600);
    refresh();
    unsigned floor = 0;
    const unsigned before = liveGdiObjects(floor); // device contexts are GDI objects too
    for (int i = 0; i < 10000; ++i) {
        deviceImage.readingsBlock[8] = (i & 64) ? 0xC1 : 0x03;
        setSpeed(static_cast<unsigned>(800 + (i % 100) * 50));
        refresh();
    }
    EXPECT_LE(liveGdiObjects(floor), before);

    // Every context went back with its original objects: a fresh one holds the stock ones.
    HDC dc = GetDC(shell.pageWindow);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    ReleaseDC(shell.pageWindow, dc);
}
