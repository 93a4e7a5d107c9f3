#include "pages/scope/scope_page_win32.h"

#include "link/device_link.h"
#include "pages/scope/scope.h"
#include "res/resource.h"
#include "shell/canvas_win32.h"
#include "shell/page_registry_win32.h"
#include "shell/poll_timer_win32.h"
#include "shell/scroll_code_win32.h"
#include "shell/shell_win32.h"
#include "shell/size_classes.h"
#include "shell/text_win32.h"

namespace kestos {

namespace {

class PageControls final : public ScopeControls {
  public:
    explicit PageControls(HWND page)
        : check_(GetDlgItem(page, IDC_SCOPE_CURSOR)), bar_(GetDlgItem(page, IDC_SCOPE_CURSOR_BAR)) {
    }
    void setCursorCaption(const char* text) override { setWindowTextCp1250(check_, text); }
    void setCursorChecked(bool checked) override {
        SendMessageW(check_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void showCursorBar(bool shown) override {
        // Only a change: showing an already visible bar would repaint it on every tick.
        if ((IsWindowVisible(bar_) != 0) != shown) ShowWindow(bar_, shown ? SW_SHOW : SW_HIDE);
    }
    void setCursorBarRange(int low, int high) override {
        SetScrollRange(bar_, SB_CTL, low, high, TRUE);
    }
    int cursorBarPosition() const override { return GetScrollPos(bar_, SB_CTL); }

  private:
    HWND check_;
    HWND bar_;
};

void placeControls(HWND page) {
    const SizeClassInfo* info = sizeClassInfo(sizeState.sizeClass);
    if (!info) return;
    const ScopeControlsLayout& l = info->scope;
    MoveWindow(GetDlgItem(page, IDC_SCOPE_CURSOR_BAR), l.cursorBar.x, l.cursorBar.y,
               l.cursorBar.width, l.cursorBar.height, TRUE);
    if (l.checkMoved)
        MoveWindow(GetDlgItem(page, IDC_SCOPE_CURSOR), l.cursorCheck.x, l.cursorCheck.y,
                   l.cursorCheck.width, l.cursorCheck.height, TRUE);
}

// The default paint would clear the page after our drawing: the page paints itself.
void onPaint(HWND page) {
    PAINTSTRUCT ps;
    BeginPaint(page, &ps);
    EndPaint(page, &ps);
    armPollTimer(page, pagePollTimer);
    {
        WindowCanvas canvas(page);
        redrawTraces(canvas);
    }
    placeControls(page);
}

void onTimer(HWND page) {
    PageControls controls(page);
    WindowCanvas canvas(page);
    if (scopeTimerStep(canvas, controls, shell.aboutOpen)) armPollTimer(page, pagePollTimer);
}

void onCursorCheck(HWND page, HWND check) {
    scopeState.cursorMode = SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
    PageControls(page).showCursorBar(scopeState.cursorMode);
    WindowCanvas canvas(page);
    redrawTraces(canvas);
}

void onScroll(WPARAM wParam, HWND bar) {
    if (GetDlgCtrlID(bar) != IDC_SCOPE_CURSOR_BAR) return;
    scopeState.cursorPos = cursorScrollStep(scopeState.cursorPos, scrollCodeFrom(LOWORD(wParam)),
                                            static_cast<short>(HIWORD(wParam)));
    SetScrollPos(bar, SB_CTL, scopeState.cursorPos, TRUE);
}

} // namespace

INT_PTR CALLBACK scopePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_PAINT: onPaint(page); return TRUE;
    case WM_TIMER: onTimer(page); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SCOPE_CURSOR && HIWORD(wParam) == BN_CLICKED)
            onCursorCheck(page, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_HSCROLL: onScroll(wParam, reinterpret_cast<HWND>(lParam)); return TRUE;
    default: return FALSE;
    }
}

namespace {

void openScopePage() {
    HWND page = shell.pageWindow;
    if (!page) return;
    placeControls(page);
    PageControls controls(page);
    WindowCanvas canvas(page);
    openScope(canvas, controls);
}

void paintScopePage() {
    HWND page = shell.pageWindow;
    if (!page) return;
    placeControls(page); // the main window's paint validates the page before it paints
    PageControls controls(page);
    WindowCanvas canvas(page);
    drawScopeFrame(canvas, controls);
    redrawTraces(canvas);
}

} // namespace

const PageEntry scopePage = {
    .commandId = IDM_PAGE_SCOPE,
    .titleSlot = 180,
    .templateId = IDD_SCOPE,
    .proc = scopePageProc,
    .schedule = PollSchedule::scopePage,
    .afterCreate = openScopePage,
    .paint = paintScopePage,
};

} // namespace kestos
