#include "pages/params/config_page_win32.h"

#include "pages/params/param_controls_win32.h"
#include "pages/params/param_lists.h"
#include "res/resource.h"
#include "shell/page_registry_win32.h"
#include "shell/shell_win32.h"

namespace kestos {

namespace {

HWND configPageWindow() {
    return currentPageWindow(configPage);
}

bool blocked() {
    return shell.aboutOpen;
}

void onCommand(HWND page, WPARAM wParam) {
    const ParamList* list = configListById(LOWORD(wParam));
    int position = -1;
    if (list && listSelection(page, wParam, &position)) writeListPosition(*list, position);
}

} // namespace

void fillConfigLists() {
    HWND page = configPageWindow();
    if (!page) return;
    for (const ParamList& list : configLists)
        fillList(page, list.id, currentItems(list));
}

void setConfigLabels() {
    if (HWND page = configPageWindow()) setLabels(page, configLabels, configLabelCount);
}

void refreshConfigPage() {
    HWND page = configPageWindow();
    if (!page) return;
    const ParamList& sensorType = configLists[0];
    selectFromImage(page, sensorType);
    const int type = readBackPosition(sensorType);
    if (type != paramsState.shownLambdaType) {
        paramsState.shownLambdaType = type;
        fillList(page, IDC_CFG_LAMBDA_POINT, lambdaPointItems(type));
    }
    for (int i = 1; i < configListCount; ++i) {
        const ParamList& list = configLists[i];
        if (list.id == IDC_CFG_EMUL_BJ_TIME_HI)
            enableControls(page, emulTimeControls, emulTimesEnabled());
        if (list.id == IDC_CFG_TPS_INERT) enableControls(page, tpsInertControls, tpsInertEnabled());
        selectFromImage(page, list);
    }
}

const ParamPageKind configPageKind = {blocked, refreshConfigPage, onCommand};

namespace {

// The lists are filled first, then the labels.
void prepareConfigPage() {
    fillConfigLists();
    setConfigLabels();
}

} // namespace

const PageEntry configPage = {
    .commandId = IDM_PAGE_CONFIG,
    .titleSlot = 176,
    .classTemplate = &SizeClassInfo::configurationTemplate,
    .proc = paramPageProc,
    .param = &configPageKind,
    .schedule = PollSchedule::parameterPage,
    .afterCreate = prepareConfigPage,
};

} // namespace kestos
