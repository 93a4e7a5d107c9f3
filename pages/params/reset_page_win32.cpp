#include "pages/params/reset_page_win32.h"

#include "pages/params/factory_reset.h"
#include "res/resource.h"
#include "shell/language.h"
#include "shell/page_registry_win32.h"
#include "shell/replay_win32.h"
#include "shell/shell_win32.h"
#include "shell/size_classes.h"
#include "shell/text_win32.h"

namespace kestos {

namespace {

constexpr int slotResetTitle = 134;
constexpr int slotResetNote = 135;
constexpr int slotResetButton = 136;
constexpr int slotResetCaption = 137;
constexpr int slotResetDone = 138;
constexpr int slotResetFailed = 139;

// The page fills the window; its controls sit where the size class puts them.
void layoutResetPage() {
    const SizeClassInfo* info = sizeClassInfo(sizeState.sizeClass);
    if (!shell.pageWindow || !info) return;
    MoveWindow(shell.pageWindow, 0, 0, sizeState.windowWidth, sizeState.windowHeight, TRUE);
    const ResetLayout& r = info->reset;
    auto place = [](int id, int x, int y, int w, int h) {
        if (HWND control = GetDlgItem(shell.pageWindow, id)) MoveWindow(control, x, y, w, h, TRUE);
    };
    place(IDC_RESET_TITLE, r.title.x, r.title.y, resetStaticWidth, resetStaticHeight);
    place(IDC_RESET_NOTE, r.note.x, r.note.y, resetStaticWidth, resetStaticHeight);
    place(IDC_RESET_BUTTON, r.button.x, r.button.y, r.button.width, r.button.height);
}

void setResetTexts(HWND page) {
    setDlgItemTextCp1250(page, IDC_RESET_TITLE, slotText(slotResetTitle));
    setDlgItemTextCp1250(page, IDC_RESET_NOTE, slotText(slotResetNote));
    setDlgItemTextCp1250(page, IDC_RESET_BUTTON, slotText(slotResetButton));
}

// A new language keeps the window; only its texts change.
void retextResetPage() {
    setResetTexts(shell.pageWindow);
}

// The default paint that follows clears the page's ground.
void onPaint(HWND page) {
    setResetTexts(page);
    layoutResetPage();
}

// No confirmation step: the button is the fitter's decision. The controller's set goes to
// the backup folder first.
void onResetButton(HWND page) {
    if (refusedDuringReplay(page, Text::replayRefusesReset)) return;
    bool confirmed = factoryReset(programFiles());
    messageBoxCp1250(page, slotText(confirmed ? slotResetDone : slotResetFailed),
                     slotText(slotResetCaption), confirmed ? MB_ICONINFORMATION : MB_ICONWARNING);
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

} // namespace

// The page keeps its window for a new size and language: the main window's paint lays it out.
const PageEntry resetPage = {
    .commandId = IDM_PAGE_RESET,
    .titleSlot = 179,
    .templateId = IDD_RESET,
    .proc = resetPageProc,
    .paint = layoutResetPage,
    .retext = retextResetPage,
};

} // namespace kestos
