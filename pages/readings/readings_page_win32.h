// The Readings page window: its timer, its button and the canvas it draws on.
#pragma once

#include <windows.h>

namespace kestos {

struct PageEntry;
extern const PageEntry readingsPage;

INT_PTR CALLBACK readingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Draw on the page window while the Readings page is the current page.
void drawReadingsBackground();
void refreshReadings();

} // namespace kestos
