// The scroll codes of WM_HSCROLL and WM_VSCROLL (SB_LINEUP is SB_LINELEFT, and so on).
#pragma once

#include <windows.h>

#include "shell/scroll_code.h"

namespace kestos {

inline ScrollCode scrollCodeFrom(WORD code) {
    switch (code) {
    case SB_THUMBTRACK: return ScrollCode::thumbTrack;
    case SB_PAGERIGHT: return ScrollCode::pageRight;
    case SB_PAGELEFT: return ScrollCode::pageLeft;
    case SB_LINERIGHT: return ScrollCode::lineRight;
    case SB_LINELEFT: return ScrollCode::lineLeft;
    default: return ScrollCode::other;
    }
}

} // namespace kestos
