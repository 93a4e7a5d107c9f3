// Dialog fonts that can show the Polish letters wherever the program runs.
#pragma once

#include <windows.h>

namespace kestos {

// The templates ask for "MS Sans Serif" in the East European character set. Windows gives
// exactly that. Wine gives it only when its ANSI code page is 1250; in any other locale it
// falls back to a font without them, which draws the Polish letters as boxes. There, and only
// there (under Wine, when the chosen font lacks a Polish letter), the dialog's controls get
// Tahoma of the same height in that character set, which Wine always has. Call once the
// dialog's controls exist.
void fitDialogFont(HWND dialog);

} // namespace kestos
