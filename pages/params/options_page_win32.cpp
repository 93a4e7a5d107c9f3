#include "pages/params/options_page_win32.h"

#include "pages/params/emulation_dialog_win32.h"
#include "pages/params/param_controls_win32.h"
#include "pages/params/param_lists.h"
#include "res/resource.h"
#include "shell/shell_win32.h"

namespace kestos {

namespace {

HWND optionsPage() {
    return shell.pageNumber == 3 ? shell.pageWindow : nullptr;
}

void onTimer(HWND page) {
    paramPageTick(page, shell.aboutOpen || paramsState.subDialogOpen, refreshOptionsPage);
}

void onCommand(HWND page, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (const ParamList* list = optionsListById(id)) {
        int position = -1;
        if (listSelection(page, wParam, &position)) writeListPosition(*list, position);
        return;
    }
    if (HIWORD(wParam) != BN_CLICKED) return;
    if (const OptionCheck* check = optionCheckById(id)) {
        writeCheck(*check, IsDlgButtonChecked(page, id) == BST_CHECKED);
    } else if (id == IDC_OPT_EMULATION) {
        emulationDialog(page);
    }
}

} // namespace

void fillOptionsLists() {
    HWND page = optionsPage();
    if (!page) return;
    for (const ParamList& list : optionsLists)
        fillList(page, list.id, list.items);
}

void setOptionsLabels() {
    if (HWND page = optionsPage()) setLabels(page, optionsLabels, optionsLabelCount);
}

void refreshOptionsPage() {
    HWND page = optionsPage();
    if (!page) return;
    int next = 0;
    for (const OptionCheck& check : optionChecks) {
        const UINT state = checkStateFromImage(check) ? BST_CHECKED : BST_UNCHECKED;
        if (IsDlgButtonChecked(page, check.id) != state) CheckDlgButton(page, check.id, state);
        // What the box shows follows the state it reports, not the one asked for.
        showControls(page, check.dependants, IsDlgButtonChecked(page, check.id) == BST_CHECKED);
        for (int k = 0; k < check.listsAfter && next < optionsListCount; ++k)
            selectFromImage(page, optionsLists[next++]);
    }
}

INT_PTR CALLBACK optionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: startParamPage(page); return TRUE;
    case WM_PAINT: paintParamPage(page); return TRUE;
    case WM_TIMER: onTimer(page); return TRUE;
    case WM_COMMAND: onCommand(page, wParam); return TRUE;
    case WM_DESTROY: endParamPage(page); return FALSE;
    default: return FALSE;
    }
}

} // namespace kestos
