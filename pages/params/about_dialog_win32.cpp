#include "pages/params/about_dialog_win32.h"

#include "link/device_link.h"
#include "pages/params/firmware_text.h"
#include "pages/params/param_controls_win32.h"
#include "res/resource.h"
#include "shell/dialog_font_win32.h"
#include "shell/language.h"
#include "shell/shell_win32.h"
#include "shell/text_win32.h"

namespace kestos {

namespace {

constexpr UINT_PTR aboutTimer = 2;

struct AboutText {
    int id; // 0: the dialog's caption
    int slot;
};
constexpr AboutText aboutTexts[] = {
    {IDC_ABOUT_TITLE, 156},          {0, 157},    {IDC_ABOUT_VERSION_LABEL, 158},
    {IDC_ABOUT_FIRMWARE_LABEL, 159}, {IDOK, 160},
};

// The period stays the one of the start while the dialog is open.
void onInit(HWND dialog) {
    centreOnScreen(dialog);
    fitDialogFont(dialog);
    SetTimer(dialog, aboutTimer, static_cast<UINT>(linkState.pollInterval), nullptr);
}

void setTexts(HWND dialog) {
    for (const AboutText& t : aboutTexts) {
        if (t.id)
            setDlgItemTextCp1250(dialog, t.id, slotText(t.slot));
        else
            setWindowTextCp1250(dialog, slotText(t.slot));
    }
}

void onTimer(HWND dialog) {
    pollStatus();
    char text[firmwareTextSize];
    firmwareText(text);
    setDlgItemTextCp1250(dialog, IDC_ABOUT_FIRMWARE, text);
}

void onEnd(HWND dialog) {
    KillTimer(dialog, aboutTimer);
    shell.aboutOpen = false;
    EndDialog(dialog, IDOK);
}

} // namespace

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: onInit(dialog); return TRUE;
    case WM_PAINT: setTexts(dialog); return FALSE;
    case WM_TIMER: onTimer(dialog); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) onEnd(dialog);
        return TRUE;
    default: return FALSE;
    }
}

void showAboutDialog() {
    shell.aboutOpen = true;
    DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_ABOUT), shell.pageWindow, aboutDialogProc,
                    0);
    // Also when the dialog could not be created: the pages must not stay idle for good.
    shell.aboutOpen = false;
}

} // namespace kestos
