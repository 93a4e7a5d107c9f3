#include "pages/readings/readings_page_win32.h"

#include "link/device_link.h"
#include "link/polling.h"
#include "pages/readings/readings_view.h"
#include "res/resource.h"
#include "shell/canvas_win32.h"
#include "shell/poll_timer_win32.h"
#include "shell/language.h"
#include "shell/page_registry_win32.h"
#include "shell/shell_win32.h"
#include "shell/size_classes.h"
#include "shell/text_win32.h"

namespace kestos {

namespace {

constexpr int slotLearnButton = 33;

void placePage(HWND page) {
    SetWindowPos(page, HWND_TOP, -5, -10, sizeState.windowWidth, sizeState.windowHeight, 0);
}

void onPaint(HWND page) {
    placePage(page);
    armPollTimer(page, pagePollTimer);
}

void onTimer(HWND page) {
    // While the About dialog or a drop-down list is open the tick does nothing at all.
    if (!pollCycle(PollSchedule::readingsPage, shell.aboutOpen).status) return;
    refreshReadings();
    if (timerNeedsRearm()) armPollTimer(page, pagePollTimer);
}

void onLearn(HWND page) {
    WindowCanvas canvas(page);
    learnButtonPressed(canvas);
}

void openReadingsPage() {
    placePage(shell.pageWindow);
    drawReadingsBackground();
}

void placeLearnButton() {
    const SizeClassInfo* info = sizeClassInfo(sizeState.sizeClass);
    HWND button = GetDlgItem(shell.pageWindow, IDC_LEARN);
    if (!info || !button) return;
    const PixelBox& b = info->learnButton;
    MoveWindow(button, b.x, b.y, b.width, b.height, TRUE);
}

// The button repaints over the freshly drawn page.
void repaintLearnButton() {
    if (HWND button = GetDlgItem(shell.pageWindow, IDC_LEARN)) {
        EnableWindow(button, FALSE);
        EnableWindow(button, TRUE);
    }
}

void paintFromMainWindow() {
    drawReadingsBackground();
    refreshReadings();
    highlightPageItem();
    repaintLearnButton();
}

} // namespace

void drawReadingsBackground() {
    HWND page = currentPageWindow(readingsPage);
    if (!page) return;
    {
        WindowCanvas canvas(page);
        drawReadingsBackground(canvas);
    }
    setDlgItemTextCp1250(page, IDC_LEARN, slotText(slotLearnButton));
}

void refreshReadings() {
    HWND page = currentPageWindow(readingsPage);
    if (!page) return;
    SetDlgItemInt(page, IDC_TEMP_CODE, deviceImage.readingsBlock[9], FALSE);
    WindowCanvas canvas(page);
    refreshReadings(canvas);
}

INT_PTR CALLBACK readingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_PAINT: onPaint(page); return FALSE;
    case WM_TIMER: onTimer(page); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_LEARN) onLearn(page);
        return FALSE;
    default: return FALSE;
    }
}

const PageEntry readingsPage = {
    .commandId = IDM_PAGE_READINGS,
    .titleSlot = 175,
    .templateId = IDD_READINGS,
    .proc = readingsPageProc,
    .schedule = PollSchedule::readingsPage,
    .afterCreate = openReadingsPage,
    .placeForClass = placeLearnButton,
    .paint = paintFromMainWindow,
};

} // namespace kestos
