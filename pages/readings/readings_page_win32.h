// The Readings page window: its timer, its button and the canvas it draws on.
#pragma once

#include <windows.h>

namespace kestos {

INT_PTR CALLBACK readingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Draw on the current page window (the shell calls these after creating or painting it).
void drawReadingsBackground();
void refreshReadings();

} // namespace kestos
