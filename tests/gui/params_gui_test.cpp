// The Configuration and Options pages on screen: templates per size class, labels by language,
// lists and check boxes following the simulated controller, enabling, the drop-down pause, and
// no objects left behind by page switches. (The emulation dialog runs end to end.)
#include "tests/support/main_window_fixture.h"

#include <string>

#include "pages/params/param_lists.h"
#include "res/resource.h"

using namespace kestos;
using kestos::test::liveGdiObjects;
using kestos::test::liveUserObjects;
using kestos::test::MainWindow;

namespace {

class ParamPages : public MainWindow {
  protected:
    void open(int pageItem, int sizeItem = IDM_SIZE_800X600) {
        if (!shell.mainWindow) {
            ASSERT_TRUE(start());
        }
        command(sizeItem);
        command(pageItem);
    }
    HWND item(int id) const { return GetDlgItem(shell.pageWindow, id); }
    int selection(int id) const {
        return static_cast<int>(SendMessageW(item(id), CB_GETCURSEL, 0, 0));
    }
    std::wstring text(int id) const {
        wchar_t t[128] = {};
        GetWindowTextW(item(id), t, 127);
        return t;
    }
    bool visible(int id) const { return IsWindowVisible(item(id)) != 0; }
    bool enabled(int id) const { return IsWindowEnabled(item(id)) != 0; }
    // Top-left and bottom-right of a control in dialog units of the page's own font.
    RECT dialogUnits(int id) const {
        RECT r{}, unit{0, 0, 4, 8};
        GetWindowRect(item(id), &r);
        MapWindowPoints(nullptr, shell.pageWindow, reinterpret_cast<POINT*>(&r), 2);
        MapDialogRect(shell.pageWindow, &unit);
        return {r.left * 4 / unit.right, r.top * 8 / unit.bottom, r.right * 4 / unit.right,
                r.bottom * 8 / unit.bottom};
    }
    // Runs the page's ticks until the controller's values have reached it.
    bool waitForTicks() {
        const unsigned long before = controller.framesAnswered();
        return pumpUntil([&] { return controller.framesAnswered() >= before + 8; });
    }
    void choose(int id, int position) {
        SendMessageW(item(id), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessageW(shell.pageWindow, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(item(id)));
    }
};

} // namespace

TEST_F(ParamPages, EachSizeClassUsesItsTemplate) {
    // Per class: the template's font, the top of IDC_CFG_LPG_ON_RPM and IDC_OPT_EMULATION (left, top, right,
    // bottom in dialog units, from the templates' tables).
    const struct {
        int sizeItem, fontPoints, listTop;
        int button[4];
    } classes[5] = {
        {IDM_SIZE_640X480, 10, 100, {6, 31, 78, 62}},
        {IDM_SIZE_800X600, 12, 101, {5, 29, 68, 62}},
        {IDM_SIZE_1024X768, 14, 109, {9, 51, 100, 71}},
        {IDM_SIZE_1280X960, 17, 115, {7, 51, 103, 74}},
        {IDM_SIZE_1280X1024, 17, 119, {7, 51, 103, 74}},
    };
    // Truncated back to dialog units, a value may come out one less than the template's.
    auto within = [](long actual, int expected) {
        return actual == expected || actual == expected - 1;
    };
    for (const auto& k : classes) {
        SCOPED_TRACE(k.sizeItem);
        open(IDM_PAGE_CONFIG, k.sizeItem);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(shell.pageWindow, WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_EQ(-font.lfHeight, MulDiv(k.fontPoints, 96, 72));
        EXPECT_TRUE(within(dialogUnits(IDC_CFG_LPG_ON_RPM).top, k.listTop));
        EXPECT_EQ(item(IDC_CFG_INJECT_DELAY_UNIT) != nullptr, k.sizeItem != IDM_SIZE_1280X1024);
        RECT page{};
        GetWindowRect(shell.pageWindow, &page);
        EXPECT_EQ(page.right - page.left, sizeState.windowWidth);

        command(IDM_PAGE_OPTIONS);
        const RECT b = dialogUnits(IDC_OPT_EMULATION);
        EXPECT_TRUE(within(b.left, k.button[0]) && within(b.top, k.button[1]) &&
                    within(b.right, k.button[2]) && within(b.bottom, k.button[3]))
            << b.left << "," << b.top << "," << b.right << "," << b.bottom;
        command(IDM_PAGE_READINGS);
    }
}

TEST_F(ParamPages, LabelsComeFromTheLanguage) {
    open(IDM_PAGE_CONFIG);
    EXPECT_EQ(text(IDC_CFG_GROUP2), L"Prze\u0142\u0105czanie na gaz");
    EXPECT_EQ(text(IDC_CFG_LAMBDA_TYPE_LABEL), L"Typ sondy lambda");
    command(IDM_LANG_ENGLISH);
    EXPECT_EQ(text(IDC_CFG_LAMBDA_TYPE_LABEL), L"Lambda sensor type");
    command(IDM_PAGE_OPTIONS);
    EXPECT_EQ(text(IDC_OPT_JUMP_CHECK), L"Acceleration enrichment");
    wchar_t first[64] = {};
    SendMessageW(item(IDC_OPT_EMUL_TYPE_HI), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"Economy");
    command(IDM_LANG_POLISH);
    EXPECT_EQ(text(IDC_OPT_CUTOFF_CHECK), L"Aktywacja CUT-OFF") << "not template 125's caption";
}

TEST_F(ParamPages, ConfigurationFollowsTheControllerAndWritesTheChoice) {
    const struct {
        uint8_t emulType, lambdaType, lambdaPoint;
        bool emulEnabled, inertEnabled;
        int sensorPosition, pointItems, pointPosition;
    } cases[] = {
        {0x01, 0x51, 60, false, true, 5, 16, 10}, // 0,8-1,6 V: its own LambdaPoint list
        {0x04, 0x06, 22, true, false, 0, 11, 2},
        {0x02, 0x32, 103, false, false, 3, 51, 3},
    };
    open(IDM_PAGE_CONFIG);
    for (const auto& c : cases) {
        controller.setParameter(9, c.emulType);
        controller.setParameter(6, c.lambdaType);
        controller.setParameter(7, c.lambdaPoint);
        ASSERT_TRUE(waitForTicks());
        for (const int* id = emulTimeControls; *id; ++id)
            EXPECT_EQ(enabled(*id), c.emulEnabled) << *id << " " << int(c.emulType);
        for (const int* id = tpsInertControls; *id; ++id)
            EXPECT_EQ(enabled(*id), c.inertEnabled) << *id << " " << int(c.lambdaType);
        EXPECT_EQ(selection(IDC_CFG_LAMBDA_TYPE), c.sensorPosition);
        EXPECT_EQ(SendMessageW(item(IDC_CFG_LAMBDA_POINT), CB_GETCOUNT, 0, 0), c.pointItems);
        EXPECT_EQ(selection(IDC_CFG_LAMBDA_POINT), c.pointPosition);
    }
    choose(IDC_CFG_INJECT_DELAY, 19);
    EXPECT_EQ(controller.parameter(14), 20);
    controller.setParameter(14, 30);
    ASSERT_TRUE(waitForTicks());
    EXPECT_EQ(selection(IDC_CFG_INJECT_DELAY), 29) << "the controller's value wins";
}

TEST_F(ParamPages, CheckBoxesShowTheirListsAndWriteOptions) {
    controller.setParameter(5, 0x04); // AttInit list hidden, every other group closed
    controller.setParameter(16, 33);  // AttMax
    open(IDM_PAGE_OPTIONS);
    ASSERT_TRUE(waitForTicks());
    EXPECT_EQ(selection(IDC_OPT_ATT_MAX), 33);
    for (int id : {IDC_OPT_ATT_INIT, IDC_OPT_ATT_JUMP, IDC_OPT_TPS_JUMP_LABEL, IDC_OPT_CUTOFF_RPM,
                   IDC_OPT_LPG_OFF_RPM, IDC_OPT_LPG_ON_TEMP_UNIT})
        EXPECT_FALSE(visible(id)) << id;

    SendMessageW(item(IDC_OPT_ATT_INIT_CHECK), BM_CLICK, 0, 0);
    EXPECT_EQ(controller.parameter(5), 0x00);
    SendMessageW(item(IDC_OPT_JUMP_CHECK), BM_CLICK, 0, 0);
    EXPECT_EQ(controller.parameter(5), 0x08);
    ASSERT_TRUE(waitForTicks());
    for (int id :
         {IDC_OPT_ATT_INIT, IDC_OPT_ATT_INIT_UNIT, IDC_OPT_ATT_JUMP, IDC_OPT_TPS_JUMP_UNIT})
        EXPECT_TRUE(visible(id)) << id;

    controller.setParameter(5, 0x64); // the controller closes the jumps and opens three groups
    ASSERT_TRUE(waitForTicks());
    EXPECT_FALSE(visible(IDC_OPT_ATT_JUMP));
    EXPECT_FALSE(visible(IDC_OPT_ATT_INIT));
    for (int id : {IDC_OPT_CUTOFF_RPM, IDC_OPT_CUTOFF_STEPS_LABEL, IDC_OPT_LPG_OFF_RPM})
        EXPECT_TRUE(visible(id)) << id;
}

TEST_F(ParamPages, ADroppedDownListStopsPolling) {
    open(IDM_PAGE_CONFIG);
    ASSERT_TRUE(waitForTicks());
    SendMessageW(item(IDC_CFG_IGNITION_TYPE), CB_SHOWDROPDOWN, TRUE, 0);
    port.clearFrames();
    controller.setParameter(23, 9);
    pump(300);
    EXPECT_TRUE(port.frames().empty());
    SendMessageW(item(IDC_CFG_IGNITION_TYPE), CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_TRUE(waitForTicks());
    EXPECT_EQ(selection(IDC_CFG_IGNITION_TYPE), 8);

    // Leaving the page with a list open leaves no pause behind.
    SendMessageW(item(IDC_CFG_IGNITION_TYPE), CB_SHOWDROPDOWN, TRUE, 0);
    command(IDM_PAGE_READINGS);
    EXPECT_EQ(linkState.pollPaused, 0);
}

TEST_F(ParamPages, SwitchingPagesLeavesNoObjectsBehind) {
    auto cycle = [this](int times) {
        for (int i = 0; i < times; ++i)
            for (int page : {IDM_PAGE_CONFIG, IDM_PAGE_OPTIONS, IDM_PAGE_READINGS})
                command(page);
    };
    ASSERT_TRUE(start());
    cycle(2);
    unsigned gdiFloor = 0, userFloor = 0;
    const unsigned gdi = liveGdiObjects(gdiFloor), user = liveUserObjects(userFloor);
    cycle(30);
    const unsigned gdiAfter = liveGdiObjects(gdiFloor), userAfter = liveUserObjects(userFloor);
    EXPECT_LE(gdiAfter, gdi);
    EXPECT_LE(userAfter, user);
    // The counts do see objects and windows left behind.
    HGDIOBJ pens[5];
    HWND windows[5];
    for (int i = 0; i < 5; ++i) {
        pens[i] = CreatePen(PS_SOLID, 1, RGB(4, 5, i));
        windows[i] = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, shell.mainWindow, nullptr,
                                   nullptr, nullptr);
    }
    EXPECT_GE(liveGdiObjects(gdiFloor), gdiAfter + 5);
    EXPECT_GE(liveUserObjects(userFloor), userAfter + 5);
    for (int i = 0; i < 5; ++i) {
        DestroyWindow(windows[i]);
        DeleteObject(pens[i]);
    }
}
