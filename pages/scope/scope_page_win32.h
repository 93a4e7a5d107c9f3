// The Oscilloscope page's window: its timer, its value cursor check box and scroll bar.
#pragma once

#include <windows.h>

namespace kestos {

struct PageEntry;
// Opened with empty traces; the main window's paint repaints its fixed part and the traces.
extern const PageEntry scopePage;

INT_PTR CALLBACK scopePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace kestos
