#include "pages/params/emulation_dialog_win32.h"

#include "link/device_link.h"
#include "link/polling.h"
#include "pages/params/param_controls_win32.h"
#include "pages/params/param_lists.h"
#include "res/resource.h"
#include "shell/dialog_font_win32.h"
#include "shell/language.h"
#include "shell/poll_timer_win32.h"
#include "shell/shell_win32.h"
#include "shell/text_win32.h"

namespace kestos {

namespace {

constexpr UINT_PTR dialogTimer = 2;

void onInit(HWND dialog) {
    for (const NibbleList& list : nibbleLists)
        fillList(dialog, list.id, list.items);
    setWindowTextCp1250(dialog, slotText(emulationCaptionSlot));
    setLabels(dialog, emulationLabels, emulationLabelCount);
    centreOnScreen(dialog);
    fitDialogFont(dialog);
    armPollTimer(dialog, dialogTimer);
}

void onTimer(HWND dialog) {
    if (pollCycle(PollSchedule::emulationDialog, false).status)
        for (const NibbleList& list : nibbleLists)
            selectListPosition(dialog, list.id, nibblePosition(list));
    if (timerNeedsRearm()) armPollTimer(dialog, dialogTimer);
}

void onEnd(HWND dialog, int result) {
    KillTimer(dialog, dialogTimer);
    linkState.pollPaused = 0; // no list of a closed dialog is dropped down
    paramsState.subDialogOpen = false;
    EndDialog(dialog, result);
}

void onCommand(HWND dialog, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        onEnd(dialog, id);
        return;
    }
    const NibbleList* list = nibbleListById(id);
    int position = -1;
    if (list && listSelection(dialog, wParam, &position)) writeNibblePosition(*list, position);
}

} // namespace

INT_PTR CALLBACK emulationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: onInit(dialog); return TRUE;
    case WM_PAINT: armPollTimer(dialog, dialogTimer); return FALSE;
    case WM_TIMER: onTimer(dialog); return TRUE;
    case WM_COMMAND: onCommand(dialog, wParam); return TRUE;
    default: return FALSE;
    }
}

void emulationDialog(HWND owner) {
    paramsState.subDialogOpen = true;
    DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_EMULATION), owner, emulationDialogProc, 0);
    // Also when the dialog could not be created: the page must not stay idle for good.
    paramsState.subDialogOpen = false;
}

} // namespace kestos
