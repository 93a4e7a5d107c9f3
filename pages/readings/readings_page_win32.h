// The Readings page: live readings of the controller, polled on the page's timer.
#pragma once

#include <windows.h>

namespace kestos {

INT_PTR CALLBACK readingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The static picture of the page.
void drawReadingsBackground();
// Redraws every live value from the device image.
void refreshReadings();

} // namespace kestos
