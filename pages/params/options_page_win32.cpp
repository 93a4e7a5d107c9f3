#include "pages/params/options_page_win32.h"

#include "pages/params/emulation_dialog_win32.h"
#include "pages/params/param_controls_win32.h"
#include "pages/params/param_lists.h"
#include "res/resource.h"
#include "shell/page_registry_win32.h"
#include "shell/shell_win32.h"

namespace kestos {

namespace {

HWND optionsPageWindow() {
    return currentPageWindow(optionsPage);
}

bool blocked() {
    return shell.aboutOpen || paramsState.subDialogOpen;
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
    HWND page = optionsPageWindow();
    if (!page) return;
    for (const ParamList& list : optionsLists)
        fillList(page, list.id, list.items);
}

void setOptionsLabels() {
    if (HWND page = optionsPageWindow()) setLabels(page, optionsLabels, optionsLabelCount);
}

void refreshOptionsPage() {
    HWND page = optionsPageWindow();
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

const ParamPageKind optionsPageKind = {blocked, refreshOptionsPage, onCommand};

namespace {

// The lists are filled first, then the labels.
void prepareOptionsPage() {
    fillOptionsLists();
    setOptionsLabels();
}

} // namespace

const PageEntry optionsPage = {
    .commandId = IDM_PAGE_OPTIONS,
    .titleSlot = 177,
    .classTemplate = &SizeClassInfo::optionsTemplate,
    .proc = paramPageProc,
    .param = &optionsPageKind,
    .schedule = PollSchedule::parameterPage,
    .afterCreate = prepareOptionsPage,
};

} // namespace kestos
