#include "pages/readings/readings_page_win32.h"

#include "link/device_link.h"
#include "pages/readings/readings_poll.h"
#include "pages/readings/readings_view.h"
#include "res/resource.h"
#include "shell/canvas_win32.h"
#include "shell/language.h"
#include "shell/shell_win32.h"
#include "shell/size_classes.h"
#include "shell/text_win32.h"

namespace kestos {

namespace {

constexpr UINT_PTR pollTimer = 1;

// What is armed is recorded: a tick compares with it to know whether to arm again.
void armTimer(HWND page) {
    SetTimer(page, pollTimer, static_cast<UINT>(linkState.pollInterval), nullptr);
    linkState.armedInterval = linkState.pollInterval;
}

void onPaint(HWND page) {
    SetWindowPos(page, HWND_TOP, -5, -10, sizeState.windowWidth, sizeState.windowHeight, 0);
    armTimer(page);
}

void onTimer(HWND page) {
    // While the About dialog or a drop-down list is open the tick does nothing at all.
    if (!readingsPollCycle(shell.aboutOpen).status) return;
    refreshReadings();
    if (linkState.pollInterval != linkState.armedInterval) armTimer(page);
}

void onLearn(HWND page) {
    WindowCanvas canvas(page);
    learnButtonPressed(canvas);
}

} // namespace

void drawReadingsBackground() {
    HWND page = shell.pageWindow;
    if (!page) return;
    {
        WindowCanvas canvas(page);
        drawReadingsBackground(canvas);
    }
    setDlgItemTextCp1250(page, IDC_LEARN, slotText(33));
}

void refreshReadings() {
    HWND page = shell.pageWindow;
    if (!page || shell.pageNumber != 1) return;
    SetDlgItemInt(page, IDC_TEMP_CODE, deviceImage.readingsBlock[9], FALSE);
    WindowCanvas canvas(page);
    refreshReadings(canvas);
}

INT_PTR CALLBACK readingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // The main window's paint validates the page, which may then never see a paint of
        // its own: the timer starts with the page.
        armTimer(page);
        return TRUE;
    case WM_PAINT: onPaint(page); return FALSE;
    case WM_TIMER: onTimer(page); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_LEARN) onLearn(page);
        return FALSE;
    default: return FALSE;
    }
}

} // namespace kestos
