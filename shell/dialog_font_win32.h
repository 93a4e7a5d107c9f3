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

// A page from its dialog template, laid out as at 96 DPI on any screen. Windows 7 at 125 %
// (and Wine) give a program that is not DPI-aware the screen's real DPI: the template's font,
// and with it every dialog unit, would grow by a quarter while the host places the pages and
// several controls in pixels. So the template's point size is scaled by 96 / DPI (rounded down:
// never larger than at 96 DPI). At 96 DPI this is CreateDialogParam itself.
HWND createPageDialog(HINSTANCE instance, int templateId, HWND parent, DLGPROC proc,
                      LPARAM param);

} // namespace kestos
