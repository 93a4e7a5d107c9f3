#include "pages/params/reset_page_win32.h"

#include "pages/params/reset_about.h"
#include "res/resource.h"
#include "shell/language.h"
#include "shell/shell_win32.h"
#include "shell/text_win32.h"

namespace kestos {

namespace {

constexpr int slotResetCaption = 137;
constexpr int slotResetDone = 138;
constexpr int slotResetFailed = 139;

// The default paint that follows clears the page's ground.
void onPaint(HWND page) {
    setResetTexts(page);
    layoutResetPage();
}

// No confirmation step: the button is the fitter's decision. The controller's set goes to
// the backup folder first.
void onResetButton(HWND page) {
    bool confirmed = factoryReset(programFiles());
    messageBoxCp1250(page, slotText(confirmed ? slotResetDone : slotResetFailed),
                     slotText(slotResetCaption), confirmed ? MB_ICONINFORMATION : MB_ICONWARNING);
}

} // namespace

void setResetTexts(HWND page) {
    setDlgItemTextCp1250(page, IDC_RESET_TITLE, slotText(134));
    setDlgItemTextCp1250(page, IDC_RESET_NOTE, slotText(135));
    setDlgItemTextCp1250(page, IDC_RESET_BUTTON, slotText(136));
}

INT_PTR CALLBACK resetPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_PAINT: onPaint(page); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_RESET_BUTTON) onResetButton(page);
        return TRUE;
    default: return FALSE;
    }
}

} // namespace kestos
