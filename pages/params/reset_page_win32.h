// The Reset page: one button that restores the controller's factory settings.
#pragma once

#include <windows.h>

namespace kestos {

INT_PTR CALLBACK resetPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The page's three texts in the current language.
void setResetTexts(HWND page);

} // namespace kestos
