// The Oscilloscope page's window: its timer, its value cursor check box and scroll bar.
#pragma once

#include <windows.h>

namespace kestos {

INT_PTR CALLBACK scopePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The shell opens the page with empty traces, and repaints its fixed part and the traces.
void openScopePage();
void paintScopePage();

} // namespace kestos
