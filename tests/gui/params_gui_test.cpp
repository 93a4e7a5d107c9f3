// The Configuration and Options pages and the emulation dialog on screen: templates per size
// class, labels by language, lists following the simulated controller, enabling, check boxes,
// the drop-down pause and the modal dialog.
#include "tests/gui/main_window_fixture.h"

#include <string>

#include "link/params.h"
#include "pages/params/param_lists.h"
#include "res/resource.h"

using namespace kestos;
using kestos::test::liveGdiObjects;
using kestos::test::liveUserObjects;
using kestos::test::MainWindow;

namespace {

constexpr int sizeItems[5] = {IDM_SIZE_640X480, IDM_SIZE_800X600, IDM_SIZE_1024X768,
                              IDM_SIZE_1280X960, IDM_SIZE_1280X1024};

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
    // A control's rectangle in dialog units of the page's own font, as the template gave it.
    RECT dialogUnits(int id) const {
        RECT r{};
        GetWindowRect(item(id), &r);
        MapWindowPoints(nullptr, shell.pageWindow, reinterpret_cast<POINT*>(&r), 2);
        RECT unit{0, 0, 4, 8};
        MapDialogRect(shell.pageWindow, &unit);
        return {r.left * 4 / unit.right, r.top * 8 / unit.bottom, r.right * 4 / unit.right,
                r.bottom * 8 / unit.bottom};
    }
    // Runs ticks until the controller's values reached the page.
    bool waitForTicks() {
        const unsigned long before = controller.framesAnswered();
        return pumpUntil([&] { return controller.framesAnswered() >= before + 8; });
    }
    // Choosing position `position` of list `id` as the user does.
    void choose(int id, int position) {
        SendMessageW(item(id), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessageW(shell.pageWindow, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(item(id)));
    }
};

// Dialog units of a rectangle, truncated, may be one less than the template's.
void expectNear(int actual, int expected, const char* what) {
    EXPECT_TRUE(actual == expected || actual == expected - 1)
        << what << ": " << actual << " for " << expected;
}

} // namespace

TEST_F(ParamPages, EachSizeClassUsesItsTemplate) {
    // Per class: font size, list 1022 (x range, y, width), check 1041 (x range, y),
    // button 1014.
    const struct {
        int fontPoints;
        int listX0, listX1, listY;
        int checkX0, checkX1, checkY;
        RECT button;
    } classes[5] = {
        {10, 231, 231, 100, 86, 88, 147, {6, 31, 78, 62}},
        {12, 231, 231, 101, 86, 88, 151, {5, 29, 68, 62}},
        {14, 279, 280, 109, 132, 134, 161, {9, 51, 100, 71}},
        {17, 258, 259, 115, 123, 125, 173, {7, 51, 103, 74}},
        {17, 259, 259, 119, 123, 125, 180, {7, 51, 103, 74}},
    };
    ASSERT_TRUE(start());
    for (int c = 0; c < 5; ++c) {
        SCOPED_TRACE(c + 1);
        const auto& k = classes[c];
        open(IDM_PAGE_CONFIG, sizeItems[c]);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(shell.pageWindow, WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_EQ(-font.lfHeight, MulDiv(k.fontPoints, 96, 72));
        RECT list = dialogUnits(IDC_CFG_LPG_ON_RPM);
        EXPECT_GE(list.left, k.listX0 - 1);
        EXPECT_LE(list.left, k.listX1);
        expectNear(list.top, k.listY, "list top");
        expectNear(list.right - list.left, 48, "list width");
        EXPECT_EQ(item(IDC_CFG_INJECT_DELAY_UNIT) != nullptr, c != 4);
        RECT page{};
        GetWindowRect(shell.pageWindow, &page);
        EXPECT_EQ(page.right - page.left, sizeState.windowWidth);

        command(IDM_PAGE_OPTIONS);
        RECT check = dialogUnits(IDC_OPT_LPG_OFF_CHECK);
        EXPECT_GE(check.left, k.checkX0 - 1);
        EXPECT_LE(check.left, k.checkX1);
        expectNear(check.top, k.checkY, "check top");
        RECT button = dialogUnits(IDC_OPT_EMULATION);
        expectNear(button.left, k.button.left, "button left");
        expectNear(button.top, k.button.top, "button top");
        expectNear(button.right, k.button.right, "button right");
        expectNear(button.bottom, k.button.bottom, "button bottom");
        command(IDM_PAGE_READINGS);
    }
}

TEST_F(ParamPages, LabelsComeFromTheLanguage) {
    open(IDM_PAGE_CONFIG);
    EXPECT_EQ(text(IDC_CFG_GROUP1), L"Sonda lambda");
    EXPECT_EQ(text(IDC_CFG_GROUP2), L"Prze\u0142\u0105czanie na gaz");
    EXPECT_EQ(text(IDC_CFG_LAMBDA_TYPE_LABEL), L"Typ sondy lambda");
    EXPECT_NE(text(IDC_CFG_LAMBDA_POINT_UNIT), L"") << "the template's text is replaced";
    command(IDM_LANG_ENGLISH);
    EXPECT_EQ(text(IDC_CFG_GROUP1), L"Lambda sensor");
    EXPECT_EQ(text(IDC_CFG_LAMBDA_TYPE_LABEL), L"Lambda sensor type");

    command(IDM_PAGE_OPTIONS);
    EXPECT_EQ(text(IDC_OPT_EMULATION), L"Emulation settings...");
    EXPECT_EQ(text(IDC_OPT_JUMP_CHECK), L"Acceleration enrichment");
    wchar_t first[64] = {};
    SendMessageW(item(IDC_OPT_EMUL_TYPE_HI), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"Economy");
    command(IDM_LANG_POLISH);
    EXPECT_EQ(text(IDC_OPT_EMULATION), L"Ustawienia emulacji...");
    EXPECT_EQ(text(IDC_OPT_CUTOFF_CHECK), L"Aktywacja CUT-OFF") << "not template 125's caption";
}

TEST_F(ParamPages, ListsFollowTheControllerAndWriteTheChoice) {
    controller.setParameter(8, 13);   // LambdaDelay: 1:05, position 12
    controller.setParameter(23, 5);   // IgnitionType 5: position 4
    controller.setParameter(6, 0x51); // the 0,8-1,6 V sensor, TPS code 1
    controller.setParameter(7, 60);   // 1,20: position 10 of its list
    open(IDM_PAGE_CONFIG);
    ASSERT_TRUE(waitForTicks());
    EXPECT_EQ(selection(IDC_CFG_LAMBDA_DELAY), 12);
    EXPECT_EQ(selection(IDC_CFG_IGNITION_TYPE), 4);
    EXPECT_EQ(selection(IDC_CFG_LAMBDA_TYPE), 5);
    EXPECT_EQ(paramsState.shownLambdaType, 5);
    EXPECT_EQ(SendMessageW(item(IDC_CFG_LAMBDA_POINT), CB_GETCOUNT, 0, 0), 16);
    EXPECT_EQ(selection(IDC_CFG_LAMBDA_POINT), 10);

    choose(IDC_CFG_INJECT_DELAY, 19);
    EXPECT_EQ(controller.parameter(14), 20);
    controller.setParameter(14, 30);
    ASSERT_TRUE(waitForTicks());
    EXPECT_EQ(selection(IDC_CFG_INJECT_DELAY), 29) << "the controller's value wins";

    controller.setParameter(16, 33); // AttMax
    command(IDM_PAGE_OPTIONS);
    ASSERT_TRUE(waitForTicks());
    EXPECT_EQ(selection(IDC_OPT_ATT_MAX), 33);
    choose(IDC_OPT_LPG_ON_TEMP, 25);
    EXPECT_EQ(controller.parameter(15), 208);
}

TEST_F(ParamPages, EnablingFollowsEmulTypeAndLambdaType) {
    const int emulIds[] = {IDC_CFG_EMUL_BJ_TIME_HI, IDC_CFG_EMUL_BJ_TIME_LO,
                           IDC_CFG_EMUL_BJ_TIME_HI_LABEL, IDC_CFG_EMUL_BJ_TIME_LO_UNIT};
    const struct {
        uint8_t emulType, lambdaType;
        bool emulEnabled, inertEnabled;
    } cases[] = {{0x01, 0x06, false, false}, {0x04, 0x08, true, true}, {0x02, 0x02, false, false}};
    open(IDM_PAGE_CONFIG);
    for (const auto& c : cases) {
        controller.setParameter(9, c.emulType);
        controller.setParameter(6, c.lambdaType);
        ASSERT_TRUE(waitForTicks());
        for (int id : emulIds)
            EXPECT_EQ(enabled(id), c.emulEnabled) << id << " with EmulType " << int(c.emulType);
        EXPECT_EQ(enabled(IDC_CFG_TPS_INERT), c.inertEnabled) << int(c.lambdaType);
        EXPECT_EQ(enabled(IDC_CFG_TPS_INERT_LABEL), c.inertEnabled);
        EXPECT_TRUE(enabled(IDC_CFG_LAMBDA_DELAY));
    }
}

TEST_F(ParamPages, CheckBoxesShowTheirListsAndWriteOptions) {
    controller.setParameter(5, 0x04); // AttInit list hidden, every other group closed
    open(IDM_PAGE_OPTIONS);
    ASSERT_TRUE(waitForTicks());
    EXPECT_FALSE(IsDlgButtonChecked(shell.pageWindow, IDC_OPT_ATT_INIT_CHECK));
    for (int id : {IDC_OPT_ATT_INIT, IDC_OPT_ATT_JUMP, IDC_OPT_TPS_JUMP_LABEL, IDC_OPT_CUTOFF_RPM,
                   IDC_OPT_LPG_OFF_RPM, IDC_OPT_LPG_ON_TEMP_UNIT})
        EXPECT_FALSE(visible(id)) << id;

    SendMessageW(item(IDC_OPT_ATT_INIT_CHECK), BM_CLICK, 0, 0);
    EXPECT_EQ(controller.parameter(5), 0x00);
    SendMessageW(item(IDC_OPT_JUMP_CHECK), BM_CLICK, 0, 0);
    EXPECT_EQ(controller.parameter(5), 0x08);
    ASSERT_TRUE(waitForTicks());
    for (int id : {IDC_OPT_ATT_INIT, IDC_OPT_ATT_INIT_UNIT, IDC_OPT_ATT_JUMP, IDC_OPT_TPS_JUMP,
                   IDC_OPT_ATT_JUMP_LABEL, IDC_OPT_TPS_JUMP_UNIT})
        EXPECT_TRUE(visible(id)) << id;
    EXPECT_FALSE(visible(IDC_OPT_CUTOFF_RPM));

    controller.setParameter(5, 0x64); // the controller closes the jumps and opens three groups
    ASSERT_TRUE(waitForTicks());
    EXPECT_FALSE(visible(IDC_OPT_ATT_JUMP));
    EXPECT_FALSE(visible(IDC_OPT_ATT_INIT));
    for (int id : {IDC_OPT_CUTOFF_RPM, IDC_OPT_CUTOFF_STEPS_LABEL, IDC_OPT_LPG_OFF_RPM})
        EXPECT_TRUE(visible(id)) << id;
    EXPECT_FALSE(visible(IDC_OPT_LPG_ON_TEMP));
}

TEST_F(ParamPages, ADroppedDownListStopsPolling) {
    open(IDM_PAGE_CONFIG);
    ASSERT_TRUE(waitForTicks());
    SendMessageW(item(IDC_CFG_IGNITION_TYPE), CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(linkState.pollPaused, 1);
    port.clearFrames();
    controller.setParameter(23, 9);
    pump(300);
    EXPECT_TRUE(port.frames().empty());
    SendMessageW(item(IDC_CFG_IGNITION_TYPE), CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(linkState.pollPaused, 0);
    ASSERT_TRUE(waitForTicks());
    EXPECT_EQ(selection(IDC_CFG_IGNITION_TYPE), 8);

    // Leaving the page with a list open leaves no pause behind.
    SendMessageW(item(IDC_CFG_IGNITION_TYPE), CB_SHOWDROPDOWN, TRUE, 0);
    command(IDM_PAGE_READINGS);
    EXPECT_EQ(linkState.pollPaused, 0);
}

namespace {

// What the test does inside the emulation dialog's own message loop, one step per timer tick.
struct DialogScript {
    sim::Controller* controller = nullptr;
    sim::SimSerialPort* port = nullptr;
    int step = 0;
    HWND dialog = nullptr;
    bool centred = false;
    std::wstring caption;
    int count = 0;
    int shown = -2;
    std::vector<int> requestsWhileOpen;
    bool subDialogWhileOpen = false;
};
DialogScript script;

// The modal dialog is the thread's active window while it runs.
HWND findDialog() {
    HWND w = GetActiveWindow();
    return w && w != shell.mainWindow ? w : nullptr;
}

void CALLBACK dialogStep(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript& s = script;
    if (!s.dialog) s.dialog = findDialog();
    if (!s.dialog) return;
    switch (s.step++) {
    case 0: {
        RECT r{};
        GetWindowRect(s.dialog, &r);
        const int dx = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2 - r.left;
        const int dy = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2 - r.top;
        s.centred = dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
        wchar_t t[64] = {};
        GetWindowTextW(s.dialog, t, 63);
        s.caption = t;
        s.count =
            static_cast<int>(SendDlgItemMessageW(s.dialog, IDC_EMU_DO_HI_LOW, CB_GETCOUNT, 0, 0));
        s.controller->setParameter(12, 0x3A);
        s.port->clearFrames();
        break;
    }
    case 6: {
        s.shown =
            static_cast<int>(SendDlgItemMessageW(s.dialog, IDC_EMU_DO_HI_LOW, CB_GETCURSEL, 0, 0));
        for (const auto& f : s.port->frames())
            s.requestsWhileOpen.push_back(f[1]);
        s.subDialogWhileOpen = paramsState.subDialogOpen;
        HWND list = GetDlgItem(s.dialog, IDC_EMU_DO_HI_LOW);
        SendMessageW(list, CB_SETCURSEL, 0, 0);
        SendMessageW(s.dialog, WM_COMMAND, MAKEWPARAM(IDC_EMU_DO_HI_LOW, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        break;
    }
    case 7: SendMessageW(s.dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); break;
    default: break;
    }
}

} // namespace

TEST_F(ParamPages, EmulationDialogEditsTheNibblesAndHoldsThePageStill) {
    open(IDM_PAGE_OPTIONS);
    ASSERT_TRUE(waitForTicks());
    script = DialogScript{};
    script.controller = &controller;
    script.port = &port;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, dialogStep);
    SendMessageW(item(IDC_OPT_EMULATION), BM_CLICK, 0, 0); // returns when the dialog ends
    KillTimer(nullptr, timer);

    EXPECT_GE(script.step, 8);
    EXPECT_TRUE(script.centred);
    EXPECT_EQ(script.caption, L"Ustawienia emulacji");
    EXPECT_EQ(script.count, 16);
    EXPECT_EQ(script.shown, 5) << "low nibble 10 of 0x3A";
    EXPECT_TRUE(script.subDialogWhileOpen);
    ASSERT_FALSE(script.requestsWhileOpen.empty());
    for (int r : script.requestsWhileOpen)
        EXPECT_TRUE(r == 1 || r == 3) << "the page polled " << r << " with the dialog open";
    EXPECT_EQ(controller.parameter(12), 0x3F);
    EXPECT_FALSE(paramsState.subDialogOpen);
    port.clearFrames();
    ASSERT_TRUE(waitForTicks()) << "the page polls again";
}

TEST_F(ParamPages, SwitchingPagesLeavesNoObjectsBehind) {
    auto cycle = [this](int times) {
        for (int i = 0; i < times; ++i) {
            command(IDM_PAGE_CONFIG);
            command(IDM_PAGE_OPTIONS);
            command(IDM_PAGE_READINGS);
        }
    };
    ASSERT_TRUE(start());
    cycle(2);
    unsigned gdiFloor = 0, userFloor = 0;
    const unsigned gdi = liveGdiObjects(gdiFloor), user = liveUserObjects(userFloor);
    cycle(30);
    const unsigned gdiAfter = liveGdiObjects(gdiFloor), userAfter = liveUserObjects(userFloor);
    EXPECT_LE(gdiAfter, gdi);
    EXPECT_LE(userAfter, user);
    // The counts see objects and windows left behind.
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
