#include "shell/compare_dialog_win32.h"

#include <cstdio>

#include "res/resource.h"
#include "shell/dialog_font_win32.h"
#include "shell/shell_win32.h"
#include "shell/text_win32.h"
#include "shell/texts.h"

namespace kestos {

namespace {

struct CompareDialog {
    CompareMode mode;
    const ShownRow* rows;
    int count;
};

// The list's tab stops fall under the column heads.
void setColumns(HWND dialog) {
    RECT list{}, head{}, fourUnits{0, 0, 4, 8};
    GetWindowRect(GetDlgItem(dialog, IDC_COMPARE_LIST), &list);
    MapDialogRect(dialog, &fourUnits); // tab stops are in the dialog's units
    int stops[2];
    const int heads[2] = {IDC_COMPARE_CONTROLLER, IDC_COMPARE_FILE};
    for (int i = 0; i < 2; ++i) {
        GetWindowRect(GetDlgItem(dialog, heads[i]), &head);
        stops[i] = (head.left - list.left) * 4 / (fourUnits.right ? fourUnits.right : 4);
    }
    SendDlgItemMessageW(dialog, IDC_COMPARE_LIST, LB_SETTABSTOPS, 2,
                        reinterpret_cast<LPARAM>(stops));
}

void centreOnMainWindow(HWND dialog) {
    RECT main{}, own{};
    GetWindowRect(shell.mainWindow, &main);
    GetWindowRect(dialog, &own);
    const int w = own.right - own.left, h = own.bottom - own.top;
    int x = (main.left + main.right - w) / 2, y = (main.top + main.bottom - h) / 2;
    RECT desk{};
    GetWindowRect(GetDesktopWindow(), &desk);
    if (x + w > desk.right) x = desk.right - w;
    if (y + h > desk.bottom) y = desk.bottom - h;
    SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void onInit(HWND dialog, const CompareDialog& d) {
    const bool sending = d.mode == CompareMode::beforeSending;
    setWindowTextCp1250(dialog, text(sending ? Text::compareCaption : Text::compareViewCaption));
    setDlgItemTextCp1250(dialog, IDC_COMPARE_INTRO,
                         text(sending ? Text::compareIntro : Text::compareViewIntro));
    setDlgItemTextCp1250(dialog, IDC_COMPARE_SETTING, text(Text::compareSetting));
    setDlgItemTextCp1250(dialog, IDC_COMPARE_CONTROLLER, text(Text::compareController));
    setDlgItemTextCp1250(dialog, IDC_COMPARE_FILE, text(Text::compareFile));
    setDlgItemTextCp1250(dialog, IDOK, text(sending ? Text::compareSend : Text::compareClose));
    setDlgItemTextCp1250(dialog, IDCANCEL, text(Text::compareCancel));
    if (!sending) {
        // Close alone, where Cancel stands when there is a choice.
        RECT cancel{};
        GetWindowRect(GetDlgItem(dialog, IDCANCEL), &cancel);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&cancel), 2);
        ShowWindow(GetDlgItem(dialog, IDCANCEL), SW_HIDE);
        SetWindowPos(GetDlgItem(dialog, IDOK), nullptr, cancel.left, cancel.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
    setColumns(dialog);
    for (int i = 0; i < d.count; ++i) {
        const ShownRow& r = d.rows[i];
        char line[sizeof r.a + sizeof r.b + 160];
        std::snprintf(line, sizeof line, "%s\t%s\t%s", r.name, r.a, r.b);
        wchar_t wide[sizeof line];
        cp1250ToWide(line, -1, wide, static_cast<int>(sizeof line));
        SendDlgItemMessageW(dialog, IDC_COMPARE_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(wide));
    }
    fitDialogFont(dialog);
    centreOnMainWindow(dialog);
}

INT_PTR CALLBACK compareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInit(dialog, *reinterpret_cast<const CompareDialog*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

} // namespace

bool showCompareDialog(HWND owner, CompareMode mode, const ShownRow* rows, int count) {
    CompareDialog d{mode, rows, count};
    return DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_COMPARE), owner, compareDialogProc,
                           reinterpret_cast<LPARAM>(&d)) == IDOK &&
           mode == CompareMode::beforeSending;
}

} // namespace kestos
