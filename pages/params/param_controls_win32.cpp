#include "pages/params/param_controls_win32.h"

#include "link/device_link.h"
#include "link/polling.h"
#include "shell/language.h"
#include "shell/page_registry_win32.h"
#include "shell/poll_timer_win32.h"
#include "shell/size_classes.h"
#include "shell/text_win32.h"

namespace kestos {

void fillList(HWND dialog, int id, const ListItems& items) {
    HWND list = GetDlgItem(dialog, id);
    if (!list) return;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    char text[64];
    wchar_t wide[64];
    for (int i = 0; i < items.count; ++i) {
        cp1250ToWide(itemText(items, i, text, sizeof text), -1, wide, 64);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void selectListPosition(HWND dialog, int id, int position) {
    HWND list = GetDlgItem(dialog, id);
    if (!list) return;
    // Setting what is already shown would only make the list flicker on every tick.
    if (SendMessageW(list, CB_GETCURSEL, 0, 0) == position) return;
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

void selectFromImage(HWND dialog, const ParamList& list) {
    selectListPosition(dialog, list.id, selectionFor(list));
}

void setLabels(HWND dialog, const LabelSlot* labels, int count) {
    for (int i = 0; i < count; ++i)
        setDlgItemTextCp1250(dialog, labels[i].id, slotText(labels[i].slot));
}

// Both run on every tick: a control already in the state asked for is left alone.
void showControls(HWND dialog, const int* ids, bool shown) {
    for (; *ids; ++ids) {
        HWND control = GetDlgItem(dialog, *ids);
        const bool visible = control && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
        if (control && visible != shown) ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
    }
}

void enableControls(HWND dialog, const int* ids, bool enabled) {
    for (; *ids; ++ids) {
        HWND control = GetDlgItem(dialog, *ids);
        if (control && (IsWindowEnabled(control) != 0) != enabled) EnableWindow(control, enabled);
    }
}

bool listSelection(HWND dialog, WPARAM wParam, int* position) {
    switch (HIWORD(wParam)) {
    case CBN_SELCHANGE:
        *position =
            static_cast<int>(SendDlgItemMessageW(dialog, LOWORD(wParam), CB_GETCURSEL, 0, 0));
        return true;
    case CBN_DROPDOWN: linkState.pollPaused = 1; return false;
    default: linkState.pollPaused = 0; return false;
    }
}

void centreOnScreen(HWND dialog) {
    RECT r{};
    GetWindowRect(dialog, &r);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {
void placeParamPage(HWND page) {
    MoveWindow(page, 0, 0, sizeState.windowWidth, sizeState.windowHeight, TRUE);
}
} // namespace

void startParamPage(HWND page) {
    placeParamPage(page);
}

void paintParamPage(HWND page) {
    armPollTimer(page, pagePollTimer);
    PAINTSTRUCT ps;
    BeginPaint(page, &ps);
    EndPaint(page, &ps);
    placeParamPage(page);
}

void paramPageTick(HWND page, bool blocked, void (*refresh)()) {
    if (blocked) return;
    if (pollCycle(PollSchedule::parameterPage, false).status) refresh();
    if (timerNeedsRearm()) armPollTimer(page, pagePollTimer);
}

void endParamPage(HWND page) {
    KillTimer(page, pagePollTimer);
    linkState.pollPaused = 0;
}

INT_PTR CALLBACK paramPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(page, DWLP_USER, lParam);
    const auto* kind = reinterpret_cast<const ParamPageKind*>(GetWindowLongPtrW(page, DWLP_USER));
    if (!kind) return FALSE; // messages before WM_INITDIALOG
    switch (message) {
    case WM_INITDIALOG: startParamPage(page); return TRUE;
    case WM_PAINT: paintParamPage(page); return TRUE;
    case WM_TIMER: paramPageTick(page, kind->blocked(), kind->refresh); return TRUE;
    case WM_COMMAND: kind->command(page, wParam); return TRUE;
    case WM_DESTROY: endParamPage(page); return FALSE;
    default: return FALSE;
    }
}

} // namespace kestos
