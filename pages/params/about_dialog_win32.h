// The About dialog: the program's version and the controller's firmware version, which the
// dialog polls itself while every page timer idles.
#pragma once

#include <windows.h>

namespace kestos {

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over the current page.
void showAboutDialog();

} // namespace kestos
