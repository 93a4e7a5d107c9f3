// The Win32 objects of the program's pens and brushes: created during static initialisation,
// before WinMain, and never deleted.
#pragma once

#include <windows.h>

#include "shell/palette.h"

namespace kestos {

HPEN penHandle(Pen pen);
HBRUSH brushHandle(Brush brush);
constexpr COLORREF colorRef(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

} // namespace kestos
