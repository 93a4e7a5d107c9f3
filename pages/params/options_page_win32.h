// The Options page (page 3): options check boxes, switch-over limits and emulation settings,
// with the emulation dialog behind button 1014.
#pragma once

#include <windows.h>

namespace kestos {

INT_PTR CALLBACK optionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// On the current page window; the page host runs the two fills after creating the page.
void fillOptionsLists();
void setOptionsLabels();
// Check boxes, what they show, and the selections from the device image.
void refreshOptionsPage();

} // namespace kestos
