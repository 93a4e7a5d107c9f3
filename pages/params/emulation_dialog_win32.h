// The emulation dialog: the four nibbles of EmulDO_TimeHi and EmulDO_TimeLo, modal over the
// Options page, with its own polling timer.
#pragma once

#include <windows.h>

namespace kestos {

INT_PTR CALLBACK emulationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally with `owner`; the Options page's own timer idles meanwhile.
void emulationDialog(HWND owner);

} // namespace kestos
